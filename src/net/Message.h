// SPDX-License-Identifier: GPL-3.0-or-later
// What the machines of a network game say to each other, as values, and their
// bytes on the wire. A message is one ENet packet: a kind byte, then its
// fields, integers big-endian, texts as a 16-bit length and their bytes, a
// game command as its replay line. Decoding trusts nothing: every length,
// count, kind and number is bounded before it is used, and a packet that is
// short, long, unknown or out of range is refused with the reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "game/GameCommand.h"

// The version of the messages below; machines of different versions refuse
// each other at the first exchange.
constexpr int PROTOCOL_VERSION = 1;
// The server's UDP port unless told another.
constexpr std::uint16_t DEFAULT_PORT = 27415;
// Machines a server takes at once, players and watchers together.
constexpr int MAX_MACHINES = 16;
// The largest message a client may send, and the largest a server sends (a
// whole state of the largest battlefield, compressed, fits with room to spare).
constexpr std::size_t MAX_CLIENT_MESSAGE = 2048;
constexpr std::size_t MAX_SERVER_MESSAGE = 1 << 20;
// Texts: a chat line, a name, a token, a password, a refusal or notice.
constexpr std::size_t MAX_CHAT_TEXT = 200; // characters
constexpr std::size_t MAX_CHAT_BYTES = 4 * MAX_CHAT_TEXT; // the same in UTF-8 at worst
constexpr std::size_t MAX_NAME_TEXT = 20;
constexpr std::size_t TOKEN_TEXT = 32; // hexadecimal digits
constexpr std::size_t MAX_PASSWORD_TEXT = 64;
constexpr std::size_t MAX_NOTICE_TEXT = 400;
// Seats a game has at most (as many as the model's players).
constexpr int MAX_SEATS = 64;

namespace Net {

// Client to server, first: who it is. token: "" at a first join, else the one
// the server gave this name before.
struct Hello {
    int version = PROTOCOL_VERSION;
    std::string name;
    std::string token;
    std::string password;
};
// Server to client, the answer to Hello: the machine's number, its token and
// its seats (none for a watcher).
struct Welcome {
    int version = PROTOCOL_VERSION;
    int machine = 0;
    std::string token;
    std::vector<int> seats;
};
// Server to client: the join is refused (version, password, full, name taken
// by someone else); the server disconnects after it.
struct Refusal {
    std::string reason;
};
// Client to server: a command of play for one of its seats (aim, spell, cast,
// pass).
struct Request {
    GameCommand command;
};
// Server to clients: a command the server applied, numbered from 1 in the
// order applied; every machine applies them in that order.
struct Applied {
    std::uint32_t sequence = 0;
    GameCommand command;
};
// Client to server: the digest of the battlefield and players after a shot.
struct ShotDigest {
    int shot = 0;
    std::uint64_t digest = 0;
};
// Server to client: the whole state after the command numbered sequence,
// compressed; shot: the battlefield's shot count then.
struct State {
    std::uint32_t sequence = 0;
    int shot = 0;
    std::vector<std::uint8_t> compressed;
};
// Who holds each seat.
enum class SeatHolder : std::uint8_t {
    open,     // waiting for a player to join
    player,   // a connected machine
    away,     // its machine went silent: a computer plays it until it comes back
    computer, // a computer player of the set-up
};
struct Seat {
    SeatHolder holder = SeatHolder::open;
    std::string name; // the holder's name; "" when open or computer
};
// Server to clients: every seat, whenever one changes; waiting: the open
// seats still to fill before the battlefield begins (0 once it has).
struct Seats {
    std::vector<Seat> seats;
    int waiting = 0;
};
// Client to server: a line to say (name ignored); server to clients: a line
// said, with its speaker's name.
struct Chat {
    std::string name;
    std::string text;
};
// Server to clients: one line for everyone ("Ada has gone; a computer plays
// her seat").
struct Notice {
    std::string text;
};
// Server to clients at every turn's start: the player and the turn's time
// left in milliseconds (0: no turn clock).
struct TurnClock {
    int player = 0;
    std::uint32_t milliseconds = 0;
};

using Message = std::variant<Hello, Welcome, Refusal, Request, Applied, ShotDigest, State, Seats, Chat, Notice,
                             TurnClock>;

// The message's bytes: the kind is the message's index in Message, so new
// kinds go at its end. Empty (no message is) for one that decode would refuse:
// a text, count or number past its bounds, a command a game never tells (its
// replay line is empty, as for NewBattlefield), or more than MAX_SERVER_MESSAGE
// bytes in all.
std::vector<std::uint8_t> encode(const Message& message);
// The message in these bytes, or nothing with the reason in problem. limit:
// the largest message accepted (MAX_CLIENT_MESSAGE from a client). A command
// is taken only in the very words its encoding writes, so that what decodes
// encodes back to the same bytes.
std::optional<Message> decode(const std::uint8_t* data, std::size_t size, std::size_t limit, std::string& problem);

} // namespace Net

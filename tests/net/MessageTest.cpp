// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "net/ByteWriter.h"
#include "net/Message.h"

namespace {

const std::string TOKEN = "0123456789abcdef0123456789ABCDEF";

// Hand-made bytes: a kind, then texts (u16 length and bytes) and 32-bit ints.
struct Bytes {
    ByteWriter out;
    explicit Bytes(std::uint8_t kind) { out.writeU8(kind); }
    Bytes& text(const std::string& value)
    {
        out.writeU16(static_cast<std::uint16_t>(value.size()));
        out.writeBytes(reinterpret_cast<const std::uint8_t*>(value.data()), value.size());
        return *this;
    }
    Bytes& number(std::uint32_t value)
    {
        out.writeU32(value);
        return *this;
    }
    Bytes& u16(std::uint16_t value)
    {
        out.writeU16(value);
        return *this;
    }
    std::vector<std::uint8_t> bytes() const { return out.bytes(); }
};

std::vector<std::uint8_t> without(std::vector<std::uint8_t> bytes, std::size_t last)
{
    bytes.resize(bytes.size() - last);
    return bytes;
}

} // namespace

// One message of every kind, and the commands of play, come back from their
// bytes as they were sent.
TEST(NetMessage, EveryKindDecodesToWhatWasEncoded)
{
    BattlefieldSetup setup;
    setup.players = 2;
    setup.names = {"Ada", ""};
    setup.kinds = {std::nullopt, ComputerLevel::hard};
    const std::vector<Net::Message> messages = {
        Net::Hello{1, "Ada", "", "secret"},
        Net::Hello{-7, std::string(MAX_NAME_TEXT, 'n'), TOKEN, std::string(MAX_PASSWORD_TEXT, '\xff')},
        Net::Welcome{1, 3, TOKEN, {0, 5, MAX_SEATS - 1}},
        Net::Refusal{"the game is full"},
        Net::Request{Command::Aim{2, -30.5, 1e-300, 99.99999999999999}},
        Net::Request{Command::Spell{"fireball"}},
        Net::Request{Command::Cast{1}},
        Net::Request{Command::Pass{63}},
        Net::Applied{4000000000u, Command::Battlefield{setup, 77u}},
        Net::Applied{1, Command::Kind{std::nullopt, ComputerLevel::easy}},
        Net::ShotDigest{12, 0x9f2c4a1b00e3d571ull},
        Net::State{9, 3, {0x78, 0x9c, 0, 0xff}},
        Net::Seats{{{Net::SeatHolder::player, "Ada"}, {Net::SeatHolder::computer, ""}, {Net::SeatHolder::away, "Bo"}},
                   1},
        Net::Chat{"Bo", std::string("hi\0\x01 ", 5) + std::string(MAX_CHAT_TEXT - 5, 'x')},
        Net::Notice{"Ada has gone; a computer plays her seat"},
        Net::TurnClock{5, 30000},
    };
    for (const Net::Message& message : messages) {
        const std::vector<std::uint8_t> bytes = Net::encode(message);
        ASSERT_FALSE(bytes.empty()) << "kind " << message.index();
        EXPECT_EQ(bytes[0], message.index());
        std::string problem;
        const std::optional<Net::Message> decoded = Net::decode(bytes.data(), bytes.size(), MAX_SERVER_MESSAGE, problem);
        ASSERT_TRUE(decoded) << "kind " << message.index() << ": " << problem;
        EXPECT_EQ(decoded->index(), message.index());
        EXPECT_EQ(Net::encode(*decoded), bytes) << "kind " << message.index();
    }
    // A command no game tells cannot be sent.
    EXPECT_TRUE(Net::encode(Net::Request{Command::NewBattlefield{}}).empty());
    EXPECT_TRUE(Net::encode(Net::Chat{"Bo", std::string(MAX_CHAT_BYTES + 1, 'x')}).empty());
}

// Short, long, unknown and out-of-range bytes are refused with their reason.
TEST(NetMessage, HostileBytesAreRefusedWithTheirReason)
{
    const std::vector<std::uint8_t> hello = Net::encode(Net::Hello{1, "Ada", TOKEN, "pw"});
    std::vector<std::uint8_t> trailing = hello;
    trailing.push_back(0);
    struct Case {
        std::vector<std::uint8_t> bytes;
        std::size_t limit;
        const char* problem;
    };
    const std::vector<Case> cases = {
        {{}, MAX_CLIENT_MESSAGE, "empty message"},
        {without(hello, 1), MAX_CLIENT_MESSAGE, "truncated at the password"},
        {without(hello, 36), MAX_CLIENT_MESSAGE, "truncated at the token"},
        {trailing, MAX_CLIENT_MESSAGE, "1 byte past the message's end"},
        {std::vector<std::uint8_t>(3000, 8), MAX_CLIENT_MESSAGE, "message of 3000 bytes, larger than 2048"},
        {{11}, MAX_CLIENT_MESSAGE, "unknown message kind 11"},
        {Bytes(0).number(1).text("Ada").text(TOKEN.substr(1) + "g").text("").bytes(), MAX_CLIENT_MESSAGE,
         "token not 32 hexadecimal digits"},
        {Bytes(0).number(1).text("Ada").text(TOKEN + "0").text("").bytes(), MAX_CLIENT_MESSAGE, "token longer than 32"},
        {Bytes(8).text("Bo").text(std::string(801, 'x')).bytes(), MAX_CLIENT_MESSAGE, "chat text longer than 800 bytes"},
        {Bytes(7).u16(65).bytes(), MAX_SERVER_MESSAGE, "seat count 65 larger than 64"},
        {Bytes(7).u16(1).bytes(), MAX_SERVER_MESSAGE, "truncated at the seat holder"},
        {Bytes(1).number(1).number(0).text("").u16(1).number(64).bytes(), MAX_SERVER_MESSAGE, "seat 64 out of 0 to 63"},
        {Bytes(5).number(0xffffffff).bytes(), MAX_CLIENT_MESSAGE, "negative shot"},
        {Bytes(10).number(64).number(0).bytes(), MAX_SERVER_MESSAGE, "player 64 out of 0 to 63"},
        {Bytes(6).number(1).number(1).number(MAX_SERVER_MESSAGE + 1).bytes(), MAX_SERVER_MESSAGE,
         "compressed state of 1048577 bytes, larger than 1048576"},
        {Bytes(3).text("0 aim 0 nan 15 4.5").bytes(), MAX_CLIENT_MESSAGE,
         "bad command (aim: a player id and three finite numbers)"},
        {Bytes(3).text("5 cast 0").bytes(), MAX_CLIENT_MESSAGE, "command at tick 5, not 0"},
        {Bytes(3).text("0 aim 0 30.0 15 4.5").bytes(), MAX_CLIENT_MESSAGE, "command not in the words this game writes"},
    };
    for (const Case& c : cases) {
        std::string problem;
        EXPECT_FALSE(Net::decode(c.bytes.data(), c.bytes.size(), c.limit, problem)) << c.problem;
        EXPECT_NE(problem.find(c.problem), std::string::npos) << problem << " / " << c.problem;
    }
}

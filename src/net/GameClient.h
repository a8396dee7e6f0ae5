// SPDX-License-Identifier: GPL-3.0-or-later
// A machine's side of a network game: it joins a server over ENet, hands the
// requests of its own seats to the server, and applies the commands the
// server sends, in the server's order, to its own game, which shows them as a
// local game would. After each shot it sends its digest; the whole state the
// server sends back to a machine out of step is adopted. If the server goes,
// the game plays on here from where it was, the other machines' seats played
// by computers. The caller says when the game is busy showing a shot: what
// the server sent waits until then.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "game/CommandSink.h"
#include "game/GameListener.h"
#include "net/Message.h"

struct _ENetHost;
struct _ENetPeer;
class Game;

struct ClientSettings {
    std::string host = "127.0.0.1";
    std::uint16_t port = DEFAULT_PORT;
    std::string name;
    std::string password;
    std::string token; // the server's from an earlier join under this name, or ""
    // The server not heard from for this long has gone (milliseconds).
    long silentAfter = 10000;
};

class GameClient : public CommandSink, public GameListener {
public:
    enum class Status {
        connecting, // until the server's welcome
        joined,     // the server's commands move the game
        refused,    // the server would not have us: a local game
        unreachable, // no server answered: a local game
        local,      // the server went: the game goes on here
    };

    // game: not owned, outlives the client; the client listens to it. err:
    // the client's lines (not owned).
    GameClient(Game& game, ClientSettings settings, std::ostream& err);
    ~GameClient() override;
    GameClient(const GameClient&) = delete;
    GameClient& operator=(const GameClient&) = delete;

    // Starts joining; false with the reason when the server's name cannot be
    // resolved or ENet fails (the game is then a local one).
    bool connect(std::string& problem);
    // One round: waits up to waitMilliseconds for the network, takes what
    // came, and unless busy applies what the server sent, up to the next cast.
    void service(bool busy, int waitMilliseconds = 0);
    // Leaves the server politely (when quitting).
    void leave();

    // A command of this machine's player: sent to the server (an aim is also
    // applied here at once, so that the cannon follows the keys). Refused for
    // another machine's seat or a change of the rules. Once the game is local,
    // applied here.
    std::string submit(const GameCommand& command) override;
    // Sends a chat line; false when not joined.
    bool say(const std::string& text);

    Status getStatus() const;
    // The server moves this game: connecting or joined.
    bool isNetworked() const;
    bool ownsSeat(int id) const;
    const std::vector<int>& getSeats() const;
    // Seats still open before the battlefield begins (0 once it has).
    int getWaiting() const;
    const std::vector<Net::Seat>& getSeatList() const;
    // The token the server gave, to come back with.
    const std::string& getToken() const;
    // "host:port"
    std::string describeServer() const;
    // Whole states adopted after falling out of step.
    int getResyncs() const;
    // Everything the server sent so far has been applied.
    bool isCaughtUp() const;
    // The server's battlefield is here: its whole state or its start.
    bool hasBattlefield() const;
    // Bytes this machine has sent and received on the wire, and the round
    // trip to the server in milliseconds, as ENet measures them.
    long getBytesSent() const;
    long getBytesReceived() const;
    long getRoundTrip() const;

    // What the server says, told as it comes: a chat line, a notice, a turn's
    // clock (player, milliseconds left), the token of this join.
    std::function<void(const std::string& name, const std::string& text)> onChat;
    std::function<void(const std::string& text)> onNotice;
    std::function<void(int player, long milliseconds)> onTurnClock;
    std::function<void(const std::string& token)> onToken;

    void onShot(int shot, std::uint64_t digest) override;
    void onCurrentPlayer(int id) override;

private:
    void received(const std::uint8_t* data, std::size_t size);
    void disconnected();
    void applyInbox(bool busy);
    void applyCommand(const Net::Applied& applied);
    void adoptState(const Net::State& state);
    void goLocal();
    void send(const Net::Message& message);
    void sendPendingAim(bool now);
    void tell(const std::string& text);
    long clock() const;

    Game& game; // not owned
    ClientSettings settings;
    std::ostream& err; // not owned
    _ENetHost* host = nullptr;
    _ENetPeer* peer = nullptr;
    Status status = Status::connecting;
    std::vector<int> seats;
    std::vector<Net::Seat> seatList;
    int waiting = -1;
    std::string token;
    std::deque<Net::Message> inbox; // Applied, State and TurnClock, in the server's order
    std::uint32_t appliedSequence = 0;
    bool statesAdopted = false; // the first is the join's
    bool battlefield = false;   // the server's battlefield has come
    bool localPending = false;  // the server went: local once the inbox is empty
    int resyncs = 0;
    std::optional<Command::Aim> pendingAim; // applied here, not yet sent
    long lastAimSent = 0;
    int ownAimsInFlight = 0; // sent, not yet heard back
    bool applyingServerCommand = false;
};

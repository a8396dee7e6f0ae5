// SPDX-License-Identifier: GPL-3.0-or-later
// The server of a network game: it owns the game, takes machines over ENet,
// seats the players who join, checks every request against the rules and the
// seat, applies what it accepts and sends every applied command to every
// machine, which apply them in the same order. It compares the digests the
// machines send after each shot and sends the whole state to one that
// disagrees; plays the computer seats, and the seats of a machine gone silent
// until it comes back with its token; passes a turn whose time has run out;
// relays chat. Nothing a machine sends is trusted: a message that is
// malformed, oversized, over the rate, out of turn or for another's seat is
// dropped and counted. Used headless (kestrune-server) and inside a hosting
// game's process alike.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "game/GameCommand.h"
#include "game/GameListener.h"
#include "model/ArenaModelListener.h"
#include "net/Message.h"

struct _ENetHost;
struct _ENetPeer;
class ArenaModel;
class Game;
class GameLines;
class ReplayRecorder;
class ServerComputer;

struct ServerSettings {
    std::uint16_t port = DEFAULT_PORT; // 0: any free port (see getPort)
    bool loopbackOnly = false;         // listen on 127.0.0.1 alone
    // The battlefield: its seats are the players; a seat with a computer
    // level is a computer's, the others wait for players.
    BattlefieldSetup setup;
    std::optional<std::uint32_t> seed;
    double turnTime = 60.0; // seconds; 0: no turn clock
    std::string password;   // "": anyone may join
    std::string recordFile; // "": not recorded
    // A machine not heard from for this long has gone (milliseconds).
    long silentAfter = 10000;
    // After the last one standing, a new battlefield starts this much later.
    long nextBattlefieldAfter = 5000;
    // How long the machines are given to show a shot, as a share of the time
    // a window takes (0: none, for games without windows).
    double shotShowing = 1.0;
};

class GameServer : public GameListener, public ArenaModelListener {
public:
    // out: the game's lines (each battlefield and shot, as a window prints
    // them); err: the server's own. Not owned; both outlive the server.
    GameServer(ServerSettings settings, std::ostream& out, std::ostream& err);
    ~GameServer() override;
    GameServer(const GameServer&) = delete;
    GameServer& operator=(const GameServer&) = delete;

    // Opens the port, says so on out ("Listening on UDP port P") and draws
    // the waiting battlefield; false with the reason when the port cannot be
    // had.
    bool start(std::string& problem);
    // The UDP port listened on, once started.
    std::uint16_t getPort() const;
    // One round: waits up to waitMilliseconds for the network, takes what
    // came, then the clock's work (computer turns, the turn clock, a new
    // battlefield).
    void service(int waitMilliseconds);
    // Says goodbye to every machine and closes the port.
    void stop();

    // 0 means none.
    void setTurnTime(double seconds);
    double getTurnTime() const;

    Game& getGame();
    // Open seats still to fill; 0 once the battlefield has begun.
    int getWaiting() const;
    bool hasBegun() const;
    int getMachineCount() const;
    // Messages dropped since the start, and whole states sent to machines
    // out of step.
    long getDropped() const;
    int getStatesSent() const;

    void onCommand(const GameCommand& command) override;
    void onCurrentPlayer(int id) override;
    void onLastManStanding(int id) override;
    void onShot(int shot, std::uint64_t digest) override;
    void onNewMap(int width, int depth, int height, bool*** terrain, const Vector& wind) override;
    void onPlayer(int id, Player& player) override;
    void onProjectile(int playerId, Projectile* projectile, std::list<Vector>& trajectory,
                      std::set<Vector>& removedBlocks, std::map<Vector, int>& fallingBlocks,
                      std::map<int, int>& playerFalls, std::map<int, double>& damages,
                      std::set<int>& killedPlayers) override;

private:
    struct Machine {
        _ENetPeer* peer = nullptr;
        int id = 0;
        bool welcomed = false;
        std::string name;
        long connectedAt = 0;
        // The rate limit: messages it may still send now, refilled with time.
        double allowance = 0.0;
        long allowanceAt = 0;
        long dropped = 0;
    };
    struct SeatState {
        Net::SeatHolder holder = Net::SeatHolder::open;
        std::string name;
        std::string token;
        int machine = -1; // while a machine plays it
    };

    long now() const;
    Machine* findMachine(_ENetPeer* peer);
    void connected(_ENetPeer* peer);
    void disconnected(_ENetPeer* peer);
    void received(Machine& machine, const std::uint8_t* data, std::size_t size);
    void drop(Machine& machine, const std::string& why);
    void hello(Machine& machine, const Net::Hello& hello);
    void refuse(Machine& machine, const std::string& reason);
    void request(Machine& machine, const GameCommand& command);
    void digest(Machine& machine, const Net::ShotDigest& digest);
    void chat(Machine& machine, const std::string& text);
    // Why machine may not ask for this now, or empty.
    std::string requestProblem(const Machine& machine, const GameCommand& command) const;
    // The seats machine plays.
    std::vector<int> seatsOf(int machine) const;
    // Applies a command of the server's own (a computer's, a pass, a seat's
    // new kind); what it says when refused goes to the error stream.
    void applyOwn(const GameCommand& command);
    void sendTo(Machine& machine, const Net::Message& message);
    void broadcast(const Net::Message& message);
    void sendState(Machine& machine);
    void sendSeats();
    void notice(const std::string& text);
    void beginIfFull();
    void startTurnClock();
    void runTurnClock();
    std::string newToken();

    ServerSettings settings;
    std::ostream& out; // not owned
    std::ostream& err; // not owned
    std::unique_ptr<ArenaModel> model;
    std::unique_ptr<Game> game;
    std::unique_ptr<GameLines> lines;
    std::unique_ptr<ServerComputer> computer;
    std::unique_ptr<ReplayRecorder> recorder;
    _ENetHost* host = nullptr;
    std::uint16_t port = 0;
    long startedAt = 0;
    std::map<_ENetPeer*, Machine> machines;
    int nextMachine = 1;
    std::vector<SeatState> seats;
    bool begun = false;
    std::uint32_t sequence = 0; // of the last command applied
    std::map<int, std::uint64_t> digests; // of this battlefield's shots
    long busyUntil = 0;          // the last shot is shown until then
    bool turnPending = false;    // a turn began; its clock starts once the shot is shown
    long turnDeadline = 0;       // 0: no clock runs
    long nextBattlefieldAt = 0;  // 0: none due
    long dropped = 0;
    int statesSent = 0;
    std::mt19937_64 tokens;
};

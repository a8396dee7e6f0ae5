// SPDX-License-Identifier: GPL-3.0-or-later
// The server: machines in and out, their messages checked and answered, the
// game's commands sent to all, and the clock's work between.
#include "net/GameServer.h"

#include <enet/enet.h>

#include <chrono>
#include <algorithm>
#include <cmath>
#include <iomanip>
#include <ostream>
#include <random>
#include <sstream>

#include "game/Game.h"
#include "model/ArenaModel.h"
#include "net/ChatText.h"
#include "net/EnetLibrary.h"
#include "net/GameLines.h"
#include "net/GameSnapshot.h"
#include "net/ServerComputer.h"
#include "replay/ReplayRecorder.h"
#include "settings/GameSetup.h"

namespace {

// Every machine may send this many messages at once, and this many more each
// second: far above a player's aiming (20 a second) and chat.
constexpr double RATE_BURST = 80.0;
constexpr double RATE_PER_SECOND = 40.0;
// A machine that has not said hello by then is let go (milliseconds).
constexpr long HELLO_TIME = 5000;
// The dropped messages of one machine that each get a line on the error stream.
constexpr long DROPS_SAID = 5;
// A shot is shown at 150 ms per cell of its path, at most 6 s, then its end.
constexpr double SHOT_MS_PER_CELL = 150.0;
constexpr long LONGEST_FLIGHT = 6000;
constexpr long SHOT_END = 1000;
// What a machine's messages may take of the server's memory while they wait
// to be read: many times the largest a client sends.
constexpr std::size_t INCOMING_BUFFER = 64 * 1024;

template <class... Ts>
struct Visitor : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Visitor(Ts...) -> Visitor<Ts...>;

// The player a command of play names, or -1 for the spell (the current one's).
int commandPlayer(const GameCommand& command)
{
    if (const auto* aim = std::get_if<Command::Aim>(&command)) {
        return aim->player;
    }
    if (const auto* cast = std::get_if<Command::Cast>(&command)) {
        return cast->player;
    }
    if (const auto* pass = std::get_if<Command::Pass>(&command)) {
        return pass->player;
    }
    return -1;
}

} // namespace

GameServer::GameServer(ServerSettings settings, std::ostream& out, std::ostream& err)
    : settings(std::move(settings)), out(out), err(err), tokens(std::random_device{}())
{
    const BattlefieldSetup& setup = this->settings.setup;
    model = std::make_unique<ArenaModel>(setup.players, setup.width, setup.depth, setup.height, RandomStream(0));
    model->setOutput(out, err);
    game = std::make_unique<Game>(*model);
    lines = std::make_unique<GameLines>(out);
    model->addListener(lines.get());
    model->addListener(this);
    game->addListener(lines.get());
    game->addListener(this);
    const std::uint32_t seed = this->settings.seed ? *this->settings.seed : RandomStream::timeOfDaySeed();
    this->settings.seed = seed;
    computer = std::make_unique<ServerComputer>(
        *game, [this](const GameCommand& command) { applyOwn(command); }, seed ^ 0x7f4a7c15u);
    seats.resize(static_cast<std::size_t>(setup.players));
    for (std::size_t id = 0; id < seats.size(); ++id) {
        if (id < setup.kinds.size() && setup.kinds[id]) {
            seats[id].holder = Net::SeatHolder::computer;
        }
    }
    startedAt = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now().time_since_epoch())
                    .count();
    if (!this->settings.recordFile.empty()) {
        recorder = std::make_unique<ReplayRecorder>([this] { return now(); }, KESTRUNE_VERSION, err);
        recorder->recordToFile(this->settings.recordFile);
        game->addListener(recorder.get());
    }
}

GameServer::~GameServer()
{
    stop();
    computer.reset();
    if (recorder) {
        game->removeListener(recorder.get());
    }
    game->removeListener(this);
    game->removeListener(lines.get());
    model->removeListener(this);
    model->removeListener(lines.get());
}

long GameServer::now() const
{
    const long clock = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now().time_since_epoch())
                           .count();
    return clock - startedAt;
}

bool GameServer::start(std::string& problem)
{
    if (!EnetLibrary::start()) {
        problem = "the network library could not start";
        return false;
    }
    ENetAddress address;
    address.host = settings.loopbackOnly ? ENET_HOST_TO_NET_32(0x7f000001u) : ENET_HOST_ANY;
    address.port = settings.port;
    host = enet_host_create(&address, MAX_MACHINES, 1, 0, 0);
    if (host == nullptr) {
        problem = "UDP port " + std::to_string(settings.port) + " cannot be listened on (in use?)";
        return false;
    }
    // ENet's bound on a packet holds for both ways: the whole state goes out
    // in one. What comes in is bounded by the waiting data, and then by the
    // decoder's own limit.
    host->maximumPacketSize = MAX_SERVER_MESSAGE;
    host->maximumWaitingData = INCOMING_BUFFER;
    port = host->address.port;
    if (port == 0) {
        // Asked for any port: find out which one the system gave.
        ENetAddress bound;
        if (enet_socket_get_address(host->socket, &bound) == 0) {
            port = bound.port;
        }
    }
    out << "Listening on UDP port " << port << std::endl;
    // The waiting battlefield; a new one with the players' names begins play.
    BattlefieldSetup setup = settings.setup;
    applyOwn(Command::Battlefield{setup, settings.seed});
    beginIfFull();
    return true;
}

std::uint16_t GameServer::getPort() const
{
    return port;
}

void GameServer::stop()
{
    if (host == nullptr) {
        return;
    }
    for (auto& [peer, machine] : machines) {
        enet_peer_disconnect(peer, 0);
    }
    enet_host_flush(host);
    machines.clear();
    enet_host_destroy(host);
    host = nullptr;
}

void GameServer::setTurnTime(double seconds)
{
    settings.turnTime = seconds;
    if (begun && !turnPending) {
        startTurnClock();
    }
}

double GameServer::getTurnTime() const
{
    return settings.turnTime;
}

Game& GameServer::getGame()
{
    return *game;
}

int GameServer::getWaiting() const
{
    if (begun) {
        return 0;
    }
    int waiting = 0;
    for (const SeatState& seat : seats) {
        waiting += seat.holder == Net::SeatHolder::open ? 1 : 0;
    }
    return waiting;
}

bool GameServer::hasBegun() const
{
    return begun;
}

int GameServer::getMachineCount() const
{
    return static_cast<int>(machines.size());
}

long GameServer::getDropped() const
{
    return dropped;
}

int GameServer::getStatesSent() const
{
    return statesSent;
}

void GameServer::service(int waitMilliseconds)
{
    if (host == nullptr) {
        return;
    }
    ENetEvent event;
    int wait = waitMilliseconds;
    while (host != nullptr && enet_host_service(host, &event, static_cast<enet_uint32>(wait)) > 0) {
        wait = 0;
        switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT:
            connected(event.peer);
            break;
        case ENET_EVENT_TYPE_DISCONNECT:
            disconnected(event.peer);
            break;
        case ENET_EVENT_TYPE_RECEIVE:
            if (Machine* machine = findMachine(event.peer)) {
                received(*machine, event.packet->data, event.packet->dataLength);
            }
            enet_packet_destroy(event.packet);
            break;
        case ENET_EVENT_TYPE_NONE:
            break;
        }
    }
    const long time = now();
    // Machines that connected and never said who they are.
    for (auto& [peer, machine] : machines) {
        if (!machine.welcomed && time - machine.connectedAt > HELLO_TIME) {
            enet_peer_disconnect(peer, 0);
        }
    }
    if (begun) {
        computer->play(time, time < busyUntil);
        runTurnClock();
        if (nextBattlefieldAt != 0 && time >= nextBattlefieldAt && time >= busyUntil) {
            nextBattlefieldAt = 0;
            applyOwn(Command::NewBattlefield{});
        }
    }
    if (host != nullptr) {
        enet_host_flush(host);
    }
}

GameServer::Machine* GameServer::findMachine(ENetPeer* peer)
{
    auto found = machines.find(peer);
    return found == machines.end() ? nullptr : &found->second;
}

void GameServer::connected(ENetPeer* peer)
{
    enet_peer_timeout(peer, 0, static_cast<enet_uint32>(settings.silentAfter),
                      static_cast<enet_uint32>(settings.silentAfter));
    Machine machine;
    machine.peer = peer;
    machine.id = nextMachine++;
    machine.connectedAt = now();
    machine.allowance = RATE_BURST;
    machine.allowanceAt = machine.connectedAt;
    machines[peer] = machine;
}

void GameServer::disconnected(ENetPeer* peer)
{
    auto found = machines.find(peer);
    if (found == machines.end()) {
        return;
    }
    const Machine machine = found->second;
    machines.erase(found);
    if (machine.dropped > DROPS_SAID) {
        err << "kestrune-server: machine " << machine.id << " sent " << machine.dropped
            << " messages that were dropped" << std::endl;
    }
    const std::vector<int> held = seatsOf(machine.id);
    if (held.empty()) {
        return;
    }
    for (int id : held) {
        SeatState& seat = seats[static_cast<std::size_t>(id)];
        seat.machine = -1;
        if (begun) {
            seat.holder = Net::SeatHolder::away;
            applyOwn(Command::Kind{id, ComputerLevel::normal});
        } else {
            seat = SeatState{};
        }
    }
    if (begun) {
        notice(machine.name + " has gone; a computer plays for " + machine.name + " until " + machine.name
               + " is back");
    } else {
        notice(machine.name + " has left");
    }
    sendSeats();
}

void GameServer::received(Machine& machine, const std::uint8_t* data, std::size_t size)
{
    const long time = now();
    machine.allowance = std::min(RATE_BURST, machine.allowance + (time - machine.allowanceAt) * RATE_PER_SECOND / 1000.0);
    machine.allowanceAt = time;
    if (machine.allowance < 1.0) {
        drop(machine, "over the rate limit");
        return;
    }
    machine.allowance -= 1.0;
    std::string problem;
    std::optional<Net::Message> message = Net::decode(data, size, MAX_CLIENT_MESSAGE, problem);
    if (!message) {
        drop(machine, problem);
        return;
    }
    if (!machine.welcomed) {
        if (const auto* greeting = std::get_if<Net::Hello>(&*message)) {
            hello(machine, *greeting);
        } else {
            drop(machine, "a message before hello");
        }
        return;
    }
    std::visit(Visitor{
                   [&](const Net::Request& asked) { request(machine, asked.command); },
                   [&](const Net::ShotDigest& told) { digest(machine, told); },
                   [&](const Net::Chat& said) { chat(machine, said.text); },
                   [&](const auto&) { drop(machine, "not a message a client sends"); },
               },
               *message);
}

void GameServer::drop(Machine& machine, const std::string& why)
{
    ++dropped;
    ++machine.dropped;
    if (machine.dropped <= DROPS_SAID) {
        err << "kestrune-server: dropped a message from machine " << machine.id << ": " << why << std::endl;
    }
}

void GameServer::refuse(Machine& machine, const std::string& reason)
{
    err << "kestrune-server: refused machine " << machine.id << ": " << reason << std::endl;
    sendTo(machine, Net::Refusal{reason});
    enet_peer_disconnect_later(machine.peer, 0);
}

void GameServer::hello(Machine& machine, const Net::Hello& hello)
{
    if (hello.version != PROTOCOL_VERSION) {
        refuse(machine, "this server speaks protocol version " + std::to_string(PROTOCOL_VERSION)
                            + " (Kestrune " KESTRUNE_VERSION "), the client version "
                            + std::to_string(hello.version));
        return;
    }
    if (!settings.password.empty() && hello.password != settings.password) {
        refuse(machine, "wrong password");
        return;
    }
    if (hello.name.empty()) {
        refuse(machine, "a player needs a name to join");
        return;
    }
    if (std::string problem = nameProblem(hello.name); !problem.empty()) {
        refuse(machine, "the name " + hello.name + " cannot be a caster's: " + problem);
        return;
    }
    std::optional<int> seatTaken;
    std::optional<int> seatHeld;
    for (std::size_t id = 0; id < seats.size(); ++id) {
        const SeatState& seat = seats[id];
        const bool named = seat.holder == Net::SeatHolder::player || seat.holder == Net::SeatHolder::away;
        if (named && seat.name == hello.name) {
            if (!hello.token.empty() && seat.token == hello.token) {
                seatHeld = static_cast<int>(id);
            } else {
                seatTaken = static_cast<int>(id);
            }
        }
    }
    if (seatTaken && !seatHeld) {
        refuse(machine, "the name " + hello.name + " is taken in this game; join under another name");
        return;
    }
    machine.welcomed = true;
    machine.name = hello.name;
    std::string token = hello.token;
    if (seatHeld) {
        // Back: every seat held under this name and token comes home.
        for (std::size_t id = 0; id < seats.size(); ++id) {
            SeatState& seat = seats[id];
            if (seat.name != hello.name || seat.token != hello.token) {
                continue;
            }
            if (seat.machine >= 0) {
                // The old connection has not been missed yet: it goes.
                for (auto& [peer, other] : machines) {
                    if (other.id == seat.machine && &other != &machine) {
                        enet_peer_disconnect(peer, 0);
                    }
                }
            }
            const bool wasAway = seat.holder == Net::SeatHolder::away;
            seat.holder = Net::SeatHolder::player;
            seat.machine = machine.id;
            if (wasAway) {
                applyOwn(Command::Kind{static_cast<int>(id), std::nullopt});
            }
        }
        notice(hello.name + " is back");
    } else {
        token = newToken();
        for (std::size_t id = 0; id < seats.size() && !begun; ++id) {
            if (seats[id].holder == Net::SeatHolder::open) {
                seats[id] = SeatState{Net::SeatHolder::player, hello.name, token, machine.id};
                // The waiting battlefield shows who has taken the seat.
                applyOwn(Command::Name{static_cast<long>(id), hello.name});
                break;
            }
        }
        notice(hello.name + (seatsOf(machine.id).empty() ? " is watching" : " has joined"));
    }
    sendTo(machine, Net::Welcome{PROTOCOL_VERSION, machine.id, token, seatsOf(machine.id)});
    sendState(machine);
    sendSeats();
    beginIfFull();
}

std::string GameServer::newToken()
{
    std::ostringstream text;
    text << std::hex << std::setfill('0') << std::setw(16) << tokens() << std::setw(16) << tokens();
    return text.str();
}

std::vector<int> GameServer::seatsOf(int machine) const
{
    std::vector<int> held;
    for (std::size_t id = 0; id < seats.size(); ++id) {
        if (seats[id].machine == machine && seats[id].holder == Net::SeatHolder::player) {
            held.push_back(static_cast<int>(id));
        }
    }
    return held;
}

std::string GameServer::requestProblem(const Machine& machine, const GameCommand& command) const
{
    const bool play = std::holds_alternative<Command::Aim>(command) || std::holds_alternative<Command::Cast>(command)
                      || std::holds_alternative<Command::Pass>(command)
                      || std::holds_alternative<Command::Spell>(command);
    if (!play) {
        return "only aims, spells, casts and passes may be asked for";
    }
    if (!begun) {
        return "the battlefield has not begun";
    }
    if (game->isLastManStanding()) {
        return "the battlefield is over";
    }
    int player = commandPlayer(command);
    if (player < 0) {
        player = game->getCurrentPlayer();
    }
    const std::vector<int> held = seatsOf(machine.id);
    if (std::find(held.begin(), held.end(), player) == held.end()) {
        return "player " + std::to_string(player) + " is not this machine's";
    }
    if (!game->hasCurrentPlayer() || game->getCurrentPlayer() != player) {
        return "it is not player " + std::to_string(player) + "'s turn";
    }
    if (now() < busyUntil) {
        return "the last shot is still being shown";
    }
    return game->check(command);
}

void GameServer::request(Machine& machine, const GameCommand& command)
{
    if (std::string problem = requestProblem(machine, command); !problem.empty()) {
        drop(machine, problem);
        return;
    }
    if (std::string problem = game->apply(command); !problem.empty()) {
        drop(machine, problem);
    }
}

void GameServer::digest(Machine& machine, const Net::ShotDigest& told)
{
    auto known = digests.find(told.shot);
    if (known == digests.end() || known->second == told.digest) {
        return;
    }
    err << "kestrune-server: " << machine.name << " was out of step after shot " << told.shot
        << "; sending the whole state" << std::endl;
    sendState(machine);
}

void GameServer::chat(Machine& machine, const std::string& text)
{
    const std::string line = cleanChatText(text);
    if (line.empty()) {
        drop(machine, "an empty chat line");
        return;
    }
    broadcast(Net::Chat{machine.name, line});
}

void GameServer::applyOwn(const GameCommand& command)
{
    if (std::string problem = game->apply(command); !problem.empty()) {
        err << "kestrune-server: " << problem << std::endl;
    }
}

void GameServer::sendTo(Machine& machine, const Net::Message& message)
{
    EnetLibrary::send(machine.peer, Net::encode(message));
}

void GameServer::broadcast(const Net::Message& message)
{
    const std::vector<std::uint8_t> bytes = Net::encode(message);
    for (auto& [peer, machine] : machines) {
        if (machine.welcomed) {
            EnetLibrary::send(peer, bytes);
        }
    }
}

void GameServer::sendState(Machine& machine)
{
    Net::State state;
    state.sequence = sequence;
    state.shot = game->getShotCount();
    state.compressed = saveGameState(*game);
    sendTo(machine, state);
    ++statesSent;
}

void GameServer::sendSeats()
{
    Net::Seats message;
    for (const SeatState& seat : seats) {
        message.seats.push_back(Net::Seat{seat.holder, seat.name});
    }
    message.waiting = getWaiting();
    broadcast(message);
}

void GameServer::notice(const std::string& text)
{
    err << "kestrune-server: " << text << std::endl;
    broadcast(Net::Notice{text});
}

void GameServer::beginIfFull()
{
    if (begun || getWaiting() > 0 || host == nullptr) {
        return;
    }
    begun = true;
    BattlefieldSetup setup = game->getSetup();
    for (std::size_t id = 0; id < seats.size(); ++id) {
        const bool human = seats[id].holder == Net::SeatHolder::player || seats[id].holder == Net::SeatHolder::away;
        setup.names[id] = human ? seats[id].name : "";
    }
    setup.kinds = settings.setup.kinds;
    setup.kinds.resize(static_cast<std::size_t>(MAX_PLAYERS));
    for (std::size_t id = 0; id < seats.size(); ++id) {
        if (seats[id].holder == Net::SeatHolder::away) {
            setup.kinds[id] = ComputerLevel::normal;
        }
    }
    applyOwn(Command::Battlefield{setup, settings.seed});
    sendSeats();
}

void GameServer::startTurnClock()
{
    turnPending = false;
    const std::uint32_t left = settings.turnTime > 0.0 ? static_cast<std::uint32_t>(settings.turnTime * 1000.0) : 0;
    turnDeadline = left > 0 ? now() + static_cast<long>(left) : 0;
    if (game->hasCurrentPlayer()) {
        broadcast(Net::TurnClock{game->getCurrentPlayer(), left});
    }
}

void GameServer::runTurnClock()
{
    const long time = now();
    if (turnPending && time >= busyUntil) {
        startTurnClock();
    }
    if (turnDeadline != 0 && time >= turnDeadline && !turnPending && !game->isComputerTurn()
        && !game->isLastManStanding() && game->hasCurrentPlayer()) {
        turnDeadline = 0;
        applyOwn(Command::Pass{game->getCurrentPlayer()});
    }
}

void GameServer::onCommand(const GameCommand& command)
{
    ++sequence;
    if (startsBattlefield(command)) {
        digests.clear();
        busyUntil = 0;
        nextBattlefieldAt = 0;
        turnPending = begun;
        turnDeadline = 0;
    }
    broadcast(Net::Applied{sequence, command});
}

void GameServer::onCurrentPlayer(int)
{
    if (begun) {
        turnPending = true;
        turnDeadline = 0;
    }
}

void GameServer::onLastManStanding(int)
{
    if (begun) {
        nextBattlefieldAt = std::max(now(), busyUntil) + settings.nextBattlefieldAfter;
    }
}

void GameServer::onShot(int shot, std::uint64_t digest)
{
    digests[shot] = digest;
}

void GameServer::onNewMap(int, int, int, bool***, const Vector&)
{
}

void GameServer::onPlayer(int, Player&)
{
}

void GameServer::onProjectile(int, Projectile*, std::list<Vector>& trajectory, std::set<Vector>&,
                              std::map<Vector, int>&, std::map<int, int>&, std::map<int, double>&, std::set<int>&)
{
    double length = 0.0;
    const Vector* last = nullptr;
    for (const Vector& point : trajectory) {
        if (last != nullptr) {
            length += (point - *last).getLength();
        }
        last = &point;
    }
    const long flight = std::min(LONGEST_FLIGHT, static_cast<long>(length * SHOT_MS_PER_CELL));
    busyUntil = now() + static_cast<long>((flight + SHOT_END) * settings.shotShowing);
}

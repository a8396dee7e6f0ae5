// SPDX-License-Identifier: GPL-3.0-or-later
// A machine's side of a network game: joining, the server's commands applied
// in order, its own requests sent, the digests checked, the whole state
// adopted, and the game kept when the server goes.
#include "net/GameClient.h"

#include <enet/enet.h>

#include <algorithm>
#include <chrono>
#include <ostream>

#include "ai/ComputerLevel.h"
#include "game/Game.h"
#include "model/ArenaModel.h"
#include "net/EnetLibrary.h"
#include "net/GameSnapshot.h"

namespace {

// An aim is sent at most this often while the keys turn the cannon; the
// last one always goes before a cast (milliseconds).
constexpr long AIM_INTERVAL = 50;
// What a server may send at once: the largest whole state, and room besides.
constexpr std::size_t WAITING_DATA = 4 * MAX_SERVER_MESSAGE;

template <class... Ts>
struct Visitor : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Visitor(Ts...) -> Visitor<Ts...>;

} // namespace

GameClient::GameClient(Game& game, ClientSettings settings, std::ostream& err)
    : game(game), settings(std::move(settings)), err(err)
{
    game.addListener(this);
}

GameClient::~GameClient()
{
    leave();
    game.removeListener(this);
}

long GameClient::clock() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool GameClient::connect(std::string& problem)
{
    if (!EnetLibrary::start()) {
        problem = "the network library could not start";
        status = Status::unreachable;
        return false;
    }
    ENetAddress address;
    if (enet_address_set_host(&address, settings.host.c_str()) != 0) {
        problem = "no such host: " + settings.host;
        status = Status::unreachable;
        return false;
    }
    address.port = settings.port;
    host = enet_host_create(nullptr, 1, 1, 0, 0);
    if (host == nullptr) {
        problem = "no UDP socket could be opened";
        status = Status::unreachable;
        return false;
    }
    host->maximumPacketSize = MAX_SERVER_MESSAGE;
    host->maximumWaitingData = WAITING_DATA;
    peer = enet_host_connect(host, &address, 1, 0);
    if (peer == nullptr) {
        problem = "no connection could be started";
        enet_host_destroy(host);
        host = nullptr;
        status = Status::unreachable;
        return false;
    }
    enet_peer_timeout(peer, 0, static_cast<enet_uint32>(settings.silentAfter),
                      static_cast<enet_uint32>(settings.silentAfter));
    status = Status::connecting;
    return true;
}

void GameClient::leave()
{
    if (host == nullptr) {
        return;
    }
    if (peer != nullptr && status == Status::joined) {
        enet_peer_disconnect(peer, 0);
        enet_host_flush(host);
    }
    enet_host_destroy(host);
    host = nullptr;
    peer = nullptr;
    if (status == Status::joined || status == Status::connecting) {
        status = Status::local;
    }
}

void GameClient::service(bool busy, int waitMilliseconds)
{
    if (host != nullptr) {
        sendPendingAim(false);
        ENetEvent event;
        int wait = waitMilliseconds;
        while (host != nullptr && enet_host_service(host, &event, static_cast<enet_uint32>(wait)) > 0) {
            wait = 0;
            switch (event.type) {
            case ENET_EVENT_TYPE_CONNECT:
                send(Net::Hello{PROTOCOL_VERSION, settings.name, settings.token, settings.password});
                break;
            case ENET_EVENT_TYPE_RECEIVE:
                received(event.packet->data, event.packet->dataLength);
                enet_packet_destroy(event.packet);
                break;
            case ENET_EVENT_TYPE_DISCONNECT:
                disconnected();
                break;
            case ENET_EVENT_TYPE_NONE:
                break;
            }
        }
        if (host != nullptr) {
            enet_host_flush(host);
        }
    }
    applyInbox(busy);
}

void GameClient::received(const std::uint8_t* data, std::size_t size)
{
    std::string problem;
    std::optional<Net::Message> message = Net::decode(data, size, MAX_SERVER_MESSAGE, problem);
    if (!message) {
        err << "kestrune: a message from the server was not understood: " << problem << std::endl;
        return;
    }
    std::visit(Visitor{
                   [&](const Net::Welcome& welcome) {
                       status = Status::joined;
                       seats = welcome.seats;
                       token = welcome.token;
                       if (onToken) {
                           onToken(token);
                       }
                   },
                   [&](const Net::Refusal& refusal) {
                       err << "kestrune: " << describeServer() << " refused us: " << refusal.reason << std::endl;
                       tell("The server refused us: " + refusal.reason);
                       status = Status::refused;
                   },
                   [&](const Net::Applied&) { inbox.push_back(std::move(*message)); },
                   [&](const Net::State&) { inbox.push_back(std::move(*message)); },
                   [&](const Net::Seats& told) {
                       seatList = told.seats;
                       waiting = told.waiting;
                   },
                   [&](const Net::Chat& said) {
                       if (onChat) {
                           onChat(said.name, said.text);
                       }
                   },
                   [&](const Net::Notice& notice) { tell(notice.text); },
                   // In order with the commands: a turn's clock follows the
                   // command that began the turn.
                   [&](const Net::TurnClock&) { inbox.push_back(std::move(*message)); },
                   [&](const auto&) { err << "kestrune: the server sent a client's message" << std::endl; },
               },
               *message);
}

void GameClient::disconnected()
{
    enet_host_destroy(host);
    host = nullptr;
    peer = nullptr;
    switch (status) {
    case Status::connecting:
        err << "kestrune: no server answered at " << describeServer() << "; playing locally" << std::endl;
        tell("No server answered at " + describeServer() + "; playing locally");
        status = Status::unreachable;
        return;
    case Status::joined:
        err << "kestrune: the server has gone; playing on locally" << std::endl;
        tell("The server has gone; playing on locally");
        localPending = true;
        return;
    default:
        return;
    }
}

void GameClient::applyInbox(bool busy)
{
    while (!busy && !inbox.empty()) {
        const Net::Message message = std::move(inbox.front());
        inbox.pop_front();
        if (const auto* state = std::get_if<Net::State>(&message)) {
            adoptState(*state);
        } else if (const auto* turn = std::get_if<Net::TurnClock>(&message)) {
            if (onTurnClock) {
                onTurnClock(turn->player, static_cast<long>(turn->milliseconds));
            }
        } else if (const auto* applied = std::get_if<Net::Applied>(&message)) {
            applyCommand(*applied);
            if (std::holds_alternative<Command::Cast>(applied->command)) {
                // The shot is shown before anything after it happens.
                return;
            }
        }
    }
    if (localPending && inbox.empty()) {
        goLocal();
    }
}

void GameClient::applyCommand(const Net::Applied& applied)
{
    if (applied.sequence <= appliedSequence) {
        return;
    }
    appliedSequence = applied.sequence;
    if (const auto* aim = std::get_if<Command::Aim>(&applied.command); aim != nullptr && ownsSeat(aim->player)) {
        // This machine's own aim, heard back: a newer one is already shown.
        ownAimsInFlight = std::max(0, ownAimsInFlight - 1);
        if (ownAimsInFlight > 0 || pendingAim) {
            return;
        }
    }
    applyingServerCommand = true;
    battlefield = battlefield || startsBattlefield(applied.command);
    const std::string problem = game.apply(applied.command);
    applyingServerCommand = false;
    if (!problem.empty()) {
        err << "kestrune: a command of the server's could not be applied here: " << problem << std::endl;
    }
}

void GameClient::adoptState(const Net::State& state)
{
    if (const std::string problem = adoptGameState(game, state.compressed.data(), state.compressed.size());
        !problem.empty()) {
        err << "kestrune: the server's whole state could not be adopted: " << problem << std::endl;
        return;
    }
    appliedSequence = state.sequence;
    battlefield = true;
    if (statesAdopted) {
        ++resyncs;
        err << "resynchronised after shot " << state.shot << std::endl;
    }
    statesAdopted = true;
}

void GameClient::goLocal()
{
    localPending = false;
    status = Status::local;
    // The seats of every other machine go on as computer players.
    const int count = game.getModel().getNumberOfPlayers();
    for (int id = 0; id < count; ++id) {
        if (!ownsSeat(id) && !game.getComputerLevel(id)) {
            game.apply(Command::Kind{id, ComputerLevel::normal});
        }
    }
}

std::string GameClient::submit(const GameCommand& command)
{
    if (status != Status::joined && status != Status::connecting) {
        return game.apply(command);
    }
    if (status == Status::connecting) {
        return "not joined yet: waiting for the server at " + describeServer();
    }
    const auto* aim = std::get_if<Command::Aim>(&command);
    const auto* cast = std::get_if<Command::Cast>(&command);
    const auto* pass = std::get_if<Command::Pass>(&command);
    const bool spell = std::holds_alternative<Command::Spell>(command);
    if (aim == nullptr && cast == nullptr && pass == nullptr && !spell) {
        return "only the server changes the rules of a network game";
    }
    const int player = aim ? aim->player : cast ? cast->player : pass ? pass->player : game.getCurrentPlayer();
    if (!ownsSeat(player)) {
        return "player " + std::to_string(player) + " is played on another machine";
    }
    if (const std::string problem = game.check(command); !problem.empty()) {
        return problem;
    }
    if (aim != nullptr) {
        game.apply(command);
        pendingAim = *aim;
        sendPendingAim(false);
        return "";
    }
    if (cast != nullptr) {
        // The aim the cast leaves with, exactly as shown here.
        pendingAim = Command::Aim{player, game.getYaw(player), game.getPitch(player), game.getPower(player)};
    }
    sendPendingAim(true);
    send(Net::Request{command});
    return "";
}

void GameClient::sendPendingAim(bool now)
{
    if (!pendingAim || peer == nullptr || status != Status::joined) {
        return;
    }
    const long time = clock();
    if (!now && time - lastAimSent < AIM_INTERVAL) {
        return;
    }
    send(Net::Request{*pendingAim});
    pendingAim.reset();
    lastAimSent = time;
    ++ownAimsInFlight;
}

bool GameClient::say(const std::string& text)
{
    if (status != Status::joined) {
        return false;
    }
    send(Net::Chat{"", text});
    return true;
}

void GameClient::send(const Net::Message& message)
{
    if (peer != nullptr) {
        EnetLibrary::send(peer, Net::encode(message));
    }
}

void GameClient::tell(const std::string& text)
{
    if (onNotice) {
        onNotice(text);
    }
}

GameClient::Status GameClient::getStatus() const
{
    return status;
}

bool GameClient::isNetworked() const
{
    return status == Status::connecting || status == Status::joined || localPending;
}

bool GameClient::ownsSeat(int id) const
{
    return std::find(seats.begin(), seats.end(), id) != seats.end();
}

const std::vector<int>& GameClient::getSeats() const
{
    return seats;
}

int GameClient::getWaiting() const
{
    return waiting;
}

const std::vector<Net::Seat>& GameClient::getSeatList() const
{
    return seatList;
}

const std::string& GameClient::getToken() const
{
    return token;
}

std::string GameClient::describeServer() const
{
    return settings.host + ":" + std::to_string(settings.port);
}

int GameClient::getResyncs() const
{
    return resyncs;
}

bool GameClient::isCaughtUp() const
{
    return inbox.empty();
}

bool GameClient::hasBattlefield() const
{
    return battlefield;
}

long GameClient::getBytesSent() const
{
    return host != nullptr ? static_cast<long>(host->totalSentData) : 0;
}

long GameClient::getBytesReceived() const
{
    return host != nullptr ? static_cast<long>(host->totalReceivedData) : 0;
}

long GameClient::getRoundTrip() const
{
    return peer != nullptr ? static_cast<long>(peer->roundTripTime) : 0;
}

void GameClient::onShot(int shot, std::uint64_t digest)
{
    if (status == Status::joined && applyingServerCommand) {
        send(Net::ShotDigest{shot, digest});
    }
}

void GameClient::onCurrentPlayer(int id)
{
    if (!ownsSeat(id)) {
        ownAimsInFlight = 0;
        pendingAim.reset();
    }
}

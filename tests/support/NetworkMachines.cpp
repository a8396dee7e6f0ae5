// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/NetworkMachines.h"

#include <chrono>

#include "ai/ShotChooser.h"

ServerSettings quickServer(int players, std::uint32_t seed)
{
    ServerSettings settings;
    settings.port = 0;
    settings.loopbackOnly = true;
    settings.setup.players = players;
    settings.seed = seed;
    settings.turnTime = 0;
    settings.shotShowing = 0;
    settings.nextBattlefieldAfter = 3600000;
    return settings;
}

Machine::Machine(const std::string& name, std::uint16_t port, const std::string& token, long silentAfter)
    : model(2, 15, 15, 20, RandomStream(0)), game(model)
{
    model.setOutput(out, err);
    ClientSettings settings;
    settings.port = port;
    settings.name = name;
    settings.token = token;
    settings.silentAfter = silentAfter;
    client = std::make_unique<GameClient>(game, settings, err);
    game.addListener(this);
    std::string problem;
    client->connect(problem);
}

Machine::~Machine()
{
    client.reset();
    game.removeListener(this);
}

void Machine::onShot(int, std::uint64_t digest)
{
    shotDigests.push_back(digest);
}

void Machine::step()
{
    client->service(false, 0);
    const bool joined = client->getStatus() == GameClient::Status::joined;
    if (!plays || !joined || client->getWaiting() != 0 || !client->isCaughtUp() || !game.hasCurrentPlayer()
        || game.isLastManStanding()) {
        return;
    }
    const int current = game.getCurrentPlayer();
    if (!client->ownsSeat(current) || castAtShot == game.getShotCount()) {
        return;
    }
    const ShotChoice choice = chooseShot(model, current, ComputerLevel::hard, stream, game.getRadiusBombSize());
    client->submit(Command::Spell{choice.spell});
    client->submit(Command::Aim{current, choice.yaw, choice.pitch, choice.power});
    client->submit(Command::Cast{current});
    castAtShot = game.getShotCount();
}

bool runUntil(GameServer* server, const std::vector<Machine*>& machines, const std::function<bool()>& done,
              const std::function<void()>& extra, int limitSeconds)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(limitSeconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) {
            return false;
        }
        if (server != nullptr) {
            server->service(1);
        }
        for (Machine* machine : machines) {
            machine->step();
        }
        if (extra) {
            extra();
        }
    }
    return true;
}

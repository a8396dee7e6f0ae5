// SPDX-License-Identifier: GPL-3.0-or-later
// A computer player's turn without a window, paced by the server's clock.
#include "net/ServerComputer.h"

#include <algorithm>
#include <cmath>

#include "ai/CannonTurn.h"
#include "game/Game.h"
#include "model/ArenaModel.h"

namespace {

using CannonTurn::AIM_TIME;
using CannonTurn::SPELL_SHOW_TIME;
using CannonTurn::THINK_TIME;
using CannonTurn::ease;
using CannonTurn::nearestTurn;
constexpr long AIM_INTERVAL = 50; // between two aims sent while it turns (milliseconds)

} // namespace

ServerComputer::ServerComputer(Game& game, std::function<void(const GameCommand&)> apply, std::uint32_t seed)
    : game(game), apply(std::move(apply)), seeds(seed)
{
}

ServerComputer::~ServerComputer()
{
    chooser.cancel();
}

void ServerComputer::play(long now, bool busy)
{
    if (!game.isComputerTurn() || game.isLastManStanding()) {
        drop();
        if (!humanSpell.empty() && !game.isComputerTurn()) {
            apply(Command::Spell{humanSpell});
            humanSpell.clear();
        }
        return;
    }
    const int current = game.getCurrentPlayer();
    if (player != current) {
        drop();
        player = current;
    }
    switch (phase) {
    case Phase::none:
        chooser.start(game.getModel(), current, *game.getComputerLevel(current), seeds(), game.getRadiusBombSize());
        phase = Phase::thinking;
        phaseStart = now;
        return;
    case Phase::thinking:
        if (busy) {
            phaseStart = now;
        } else if (chooser.isReady() && now - phaseStart >= THINK_TIME) {
            takeChoice(now);
        }
        return;
    case Phase::aiming:
        turnCannon(now);
        return;
    case Phase::casting:
        if (!busy && now - phaseStart >= SPELL_SHOW_TIME) {
            cast(now);
        }
        return;
    }
}

void ServerComputer::takeChoice(long now)
{
    const ShotChoice choice = chooser.take();
    fromYaw = game.getYaw(player);
    fromPitch = game.getPitch(player);
    fromPower = game.getPower(player);
    toYaw = nearestTurn(fromYaw, choice.yaw);
    toPitch = choice.pitch;
    toPower = choice.power;
    spell = choice.spell;
    phase = Phase::aiming;
    phaseStart = now;
    lastAim = now;
}

void ServerComputer::turnCannon(long now)
{
    const double t = static_cast<double>(now - phaseStart) / AIM_TIME;
    if (t < 1.0) {
        if (now - lastAim >= AIM_INTERVAL) {
            lastAim = now;
            const double s = ease(std::max(t, 0.0));
            apply(Command::Aim{player, fromYaw + (toYaw - fromYaw) * s, fromPitch + (toPitch - fromPitch) * s,
                               fromPower + (toPower - fromPower) * s});
        }
        return;
    }
    apply(Command::Aim{player, toYaw, toPitch, toPower});
    if (spell != game.getWeapon()) {
        if (humanSpell.empty()) {
            humanSpell = game.getWeapon();
        }
        apply(Command::Spell{spell});
    }
    phase = Phase::casting;
    phaseStart = now;
}

void ServerComputer::cast(long)
{
    const int caster = player;
    phase = Phase::none;
    player = -1;
    apply(Command::Cast{caster});
}

void ServerComputer::drop()
{
    chooser.cancel();
    phase = Phase::none;
    player = -1;
}

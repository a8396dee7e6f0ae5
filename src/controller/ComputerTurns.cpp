// SPDX-License-Identifier: GPL-3.0-or-later
// Computer players: who plays as one and at what level, and their turns (a
// choice made on a worker thread, the cannon turned in view, the spell picked,
// the cast), each step a command to the game as a human's keys would make.
#include "controller/ComputerTurns.h"

#include <algorithm>
#include <cmath>

#include "ai/CannonTurn.h"
#include "app/Main.h"
#include "controller/TurnAim.h"
#include "game/CommandSink.h"
#include "game/Game.h"
#include "model/ArenaModel.h"
#include "view/ArenaView.h"

namespace {

// Ticks of the input clock.
using CannonTurn::AIM_TIME;
using CannonTurn::SPELL_SHOW_TIME;
using CannonTurn::THINK_TIME;
using CannonTurn::ease;
using CannonTurn::nearestTurn;
// The turning cannon becomes a command at most this often, so that the aim
// moves smoothly enough in a replay without a line for every frame.
constexpr long AIM_COMMAND_INTERVAL = 40;

} // namespace

ComputerTurns::ComputerTurns(Game& game, ArenaView& view, TimeSystem& clock, CommandSink& sink, TurnAim& turn)
    : game(game), model(game.getModel()), view(view), clock(clock), sink(sink), turn(turn)
{
    game.addListener(this);
}

ComputerTurns::~ComputerTurns()
{
    // The chooser's thread goes first: it reads a copy of the game's model.
    chooser.cancel();
    game.removeListener(this);
}

void ComputerTurns::setComputer(int id, ComputerLevel level)
{
    if (id < 0 || id >= MAX_PLAYERS) {
        return;
    }
    sink.submit(Command::Kind{id, level});
}

void ComputerTurns::setHuman(int id)
{
    if (id < 0 || id >= MAX_PLAYERS) {
        return;
    }
    sink.submit(Command::Kind{id, std::nullopt});
}

void ComputerTurns::waitForComputer()
{
    chooser.wait();
}

void ComputerTurns::onKinds()
{
    showPlayerKinds();
}

void ComputerTurns::showPlayerKinds()
{
    // Ids beyond this battlefield's players keep their choice but show none.
    for (int id = 0; id < MAX_PLAYERS; ++id) {
        const std::optional<ComputerLevel> level = game.getComputerLevel(id);
        const bool shown = level && id < model.getNumberOfPlayers();
        view.getCharacters().setPlayerNote(id, shown ? std::string("computer, ") + levelName(*level) : "");
    }
}

bool ComputerTurns::isOnlyComputersLeft() const
{
    bool anyComputer = false;
    for (int id = 0; id < model.getNumberOfPlayers(); ++id) {
        const bool computer = game.getComputerLevel(id).has_value();
        anyComputer = anyComputer || computer;
        if (!computer && !model.getPlayer(id).isDead()) {
            return false;
        }
    }
    return anyComputer;
}

void ComputerTurns::play(bool held)
{
    if (!game.isComputerTurn() || (game.isLastManStanding() && isOnlyComputersLeft())) {
        drop();
        if (!game.isComputerTurn()) {
            restoreHumanWeapon();
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
        startThinking(current);
        return;
    case Phase::thinking:
        takeChoice(current, held);
        return;
    case Phase::aiming:
        turnCannon(held);
        return;
    case Phase::casting:
        cast(held);
        return;
    }
}

void ComputerTurns::startThinking(int current)
{
    // Thinking may start while the last shot is still shown: the model has
    // already settled it.
    thinkingGravity = model.getGravity();
    thinkingWind = model.getWind();
    thinkingRadius = game.getRadiusBombSize();
    chooser.start(model, current, *game.getComputerLevel(current), Main::computerSeed(), thinkingRadius);
    phase = Phase::thinking;
    phaseTick = clock.getTick();
}

void ComputerTurns::takeChoice(int current, bool held)
{
    // A short pause after the last shot, so that the new turn is seen.
    if (view.isAnimating() || held) {
        phaseTick = clock.getTick();
        return;
    }
    if (!chooser.isReady() || clock.getTick() - phaseTick < THINK_TIME) {
        return;
    }
    const ShotChoice choice = chooser.take();
    if (thinkingGravity != model.getGravity() || thinkingWind != model.getWind()
        || thinkingRadius != game.getRadiusBombSize()) {
        // The console changed the rules meanwhile: think again.
        phase = Phase::none;
        return;
    }
    fromYaw = game.getYaw(current);
    fromPitch = game.getPitch(current);
    fromPower = game.getPower(current);
    toYaw = nearestTurn(fromYaw, choice.yaw);
    toPitch = choice.pitch;
    toPower = choice.power;
    spell = choice.spell;
    phase = Phase::aiming;
    phaseTick = clock.getTick();
    lastAimTick = phaseTick;
}

void ComputerTurns::turnCannon(bool held)
{
    if (held) {
        return;
    }
    const long now = clock.getTick();
    const double t = static_cast<double>(now - phaseTick) / AIM_TIME;
    if (t < 1.0) {
        if (now - lastAimTick < AIM_COMMAND_INTERVAL) {
            return;
        }
        lastAimTick = now;
        const double s = ease(std::max(t, 0.0));
        turn.setAim(fromYaw + (toYaw - fromYaw) * s, fromPitch + (toPitch - fromPitch) * s,
                    fromPower + (toPower - fromPower) * s);
        return;
    }
    turn.setAim(toYaw, toPitch, toPower);
    if (humanWeapon.empty()) {
        humanWeapon = game.getWeapon();
    }
    turn.setWeapon(spell);
    phase = Phase::casting;
    phaseTick = clock.getTick();
}

void ComputerTurns::cast(bool held)
{
    if (held || view.isAnimating() || clock.getTick() - phaseTick < SPELL_SHOW_TIME) {
        return;
    }
    phase = Phase::none;
    player = -1;
    turn.fire();
    if (!game.isComputerTurn()) {
        restoreHumanWeapon();
    }
}

void ComputerTurns::drop()
{
    chooser.cancel();
    phase = Phase::none;
    player = -1;
}

void ComputerTurns::restoreHumanWeapon()
{
    if (!humanWeapon.empty()) {
        turn.setWeapon(humanWeapon);
        humanWeapon.clear();
    }
}

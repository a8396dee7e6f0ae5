// SPDX-License-Identifier: GPL-3.0-or-later
// Computer players: who plays as one and at what level, their turns (a choice
// made on a worker thread, the cannon turned in view, the spell picked, the
// cast) and the demonstration that starts a new battlefield after a winner.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/Main.h"
#include "controller/ArenaController.h"
#include "game/Game.h"
#include "model/ArenaModel.h"
#include "view/ArenaView.h"

namespace {

// Ticks of the input clock.
constexpr long THINK_TIME = 500;        // at the least, from the end of the last shot to aiming
constexpr long AIM_TIME = 1000;         // turning the cannon to the chosen aim
constexpr long SPELL_SHOW_TIME = 400;   // the chosen spell shown before the cast
constexpr long WINNER_SHOW_TIME = 5000; // the demonstration's winner before a new battlefield
// The turning cannon becomes a command at most this often, so that the aim
// moves smoothly enough in a replay without a line for every frame.
constexpr long AIM_COMMAND_INTERVAL = 40;

// Smooth start and stop of the cannon's turn: t from 0 to 1.
double ease(double t)
{
    return t * t * (3.0 - 2.0 * t);
}

// The yaw equal to target (mod 360) nearest to from, so that the cannon
// takes the short way round.
double nearestTurn(double from, double target)
{
    double turn = std::fmod(target - from, 360.0);
    if (turn > 180.0) {
        turn -= 360.0;
    } else if (turn < -180.0) {
        turn += 360.0;
    }
    return from + turn;
}

} // namespace

void ArenaController::setComputer(int id, ComputerLevel level)
{
    if (id < 0 || id >= MAX_PLAYERS) {
        return;
    }
    submit(Command::Kind{id, level});
}

void ArenaController::setHuman(int id)
{
    if (id < 0 || id >= MAX_PLAYERS) {
        return;
    }
    submit(Command::Kind{id, std::nullopt});
}

std::optional<ComputerLevel> ArenaController::getComputerLevel(int id) const
{
    return game.getComputerLevel(id);
}

bool ArenaController::isComputerTurn() const
{
    return game.isComputerTurn();
}

bool ArenaController::isLastManStanding() const
{
    return game.isLastManStanding();
}

void ArenaController::waitForComputer()
{
    chooser.wait();
}

std::string ArenaController::readPlayerIds(const std::string& word, std::optional<int>& id) const
{
    if (word == "all") {
        id.reset();
        return "";
    }
    const int count = model.getNumberOfPlayers();
    const bool digits = !word.empty() && word.size() <= 9
                     && std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int number = digits ? std::atoi(word.c_str()) : -1;
    if (number < 0 || number >= count) {
        if (count == 0) {
            return "player " + word + " refused: there are no players on this battlefield";
        }
        return "player " + word + " refused: ids run from 0 to " + std::to_string(count - 1)
             + ", or all";
    }
    id = number;
    return "";
}

void ArenaController::showPlayerKinds()
{
    // Ids beyond this battlefield's players keep their choice but show none.
    for (int id = 0; id < MAX_PLAYERS; ++id) {
        const std::optional<ComputerLevel> level = getComputerLevel(id);
        const bool shown = level && id < model.getNumberOfPlayers();
        view.setPlayerNote(id, shown ? std::string("computer, ") + levelName(*level) : "");
    }
}

bool ArenaController::isOnlyComputersLeft() const
{
    bool anyComputer = false;
    for (int id = 0; id < model.getNumberOfPlayers(); ++id) {
        const bool computer = getComputerLevel(id).has_value();
        anyComputer = anyComputer || computer;
        if (!computer && !model.getPlayer(id).isDead()) {
            return false;
        }
    }
    return anyComputer;
}

void ArenaController::idle()
{
    // Nothing moves behind the new-game screen.
    if (setupScreen.isOpen() || quitting) {
        return;
    }
    if (isReplaying()) {
        // The replay holds every command, the computer players' too.
        playReplayStep();
        return;
    }
    playDemonstration();
    playComputerTurn();
}

void ArenaController::playDemonstration()
{
    // The winner shows once the last shot has been seen; with no human left
    // the next battlefield follows by itself, otherwise "r" asks for it.
    if (!game.isLastManStanding() || view.isAnimating()) {
        return;
    }
    const bool demonstration = isOnlyComputersLeft();
    const int current = game.getCurrentPlayer();
    const bool anyoneLeft = hasCurrentPlayer() && !model.getPlayer(current).isDead();
    view.showWinner(anyoneLeft ? current : -1, demonstration);
    if (winnerTick < 0) {
        winnerTick = clock.getTick();
        return;
    }
    if (demonstration && clock.getTick() - winnerTick >= WINNER_SHOW_TIME) {
        newBattlefield();
    }
}

void ArenaController::playComputerTurn()
{
    if (!isComputerTurn() || (game.isLastManStanding() && isOnlyComputersLeft())) {
        dropComputerTurn();
        if (!isComputerTurn()) {
            restoreHumanWeapon();
        }
        return;
    }
    const int current = game.getCurrentPlayer();
    if (computerPlayer != current) {
        dropComputerTurn();
        computerPlayer = current;
    }
    switch (computerPhase) {
    case ComputerPhase::none:
        // Thinking may start while the last shot is still shown: the model
        // has already settled it.
        thinkingGravity = model.getGravity();
        thinkingWind = model.getWind();
        thinkingRadius = game.getRadiusBombSize();
        chooser.start(model, current, *getComputerLevel(current), Main::computerSeed(), thinkingRadius);
        computerPhase = ComputerPhase::thinking;
        computerPhaseTick = clock.getTick();
        return;
    case ComputerPhase::thinking: {
        // A short pause after the last shot, so that the new turn is seen.
        if (view.isAnimating() || consoleActive) {
            computerPhaseTick = clock.getTick();
            return;
        }
        if (!chooser.isReady() || clock.getTick() - computerPhaseTick < THINK_TIME) {
            return;
        }
        const ShotChoice choice = chooser.take();
        if (thinkingGravity != model.getGravity() || thinkingWind != model.getWind()
            || thinkingRadius != game.getRadiusBombSize()) {
            // The console changed the rules meanwhile: think again.
            computerPhase = ComputerPhase::none;
            return;
        }
        fromYaw = game.getYaw(current);
        fromPitch = game.getPitch(current);
        fromPower = game.getPower(current);
        toYaw = nearestTurn(fromYaw, choice.yaw);
        toPitch = choice.pitch;
        toPower = choice.power;
        computerSpell = choice.spell;
        computerPhase = ComputerPhase::aiming;
        computerPhaseTick = clock.getTick();
        lastComputerAimTick = computerPhaseTick;
        return;
    }
    case ComputerPhase::aiming: {
        if (consoleActive) {
            return;
        }
        const long now = clock.getTick();
        const double t = static_cast<double>(now - computerPhaseTick) / AIM_TIME;
        if (t < 1.0) {
            if (now - lastComputerAimTick < AIM_COMMAND_INTERVAL) {
                return;
            }
            lastComputerAimTick = now;
            const double s = ease(std::max(t, 0.0));
            setAim(fromYaw + (toYaw - fromYaw) * s, fromPitch + (toPitch - fromPitch) * s,
                   fromPower + (toPower - fromPower) * s);
            return;
        }
        setAim(toYaw, toPitch, toPower);
        if (humanWeapon.empty()) {
            humanWeapon = game.getWeapon();
        }
        setWeapon(computerSpell);
        computerPhase = ComputerPhase::casting;
        computerPhaseTick = clock.getTick();
        return;
    }
    case ComputerPhase::casting:
        if (consoleActive || view.isAnimating() || clock.getTick() - computerPhaseTick < SPELL_SHOW_TIME) {
            return;
        }
        computerPhase = ComputerPhase::none;
        computerPlayer = -1;
        fire();
        if (!isComputerTurn()) {
            restoreHumanWeapon();
        }
        return;
    }
}

void ArenaController::dropComputerTurn()
{
    chooser.cancel();
    computerPhase = ComputerPhase::none;
    computerPlayer = -1;
}

void ArenaController::restoreHumanWeapon()
{
    if (!humanWeapon.empty()) {
        setWeapon(humanWeapon);
        humanWeapon.clear();
    }
}

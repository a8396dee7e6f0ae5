// SPDX-License-Identifier: GPL-3.0-or-later
// The turn's commands (aim, spell, cast, pass, new battlefield) and the view's
// picture of the turn: the cannons, the current player, the spell and the sight.
#include "controller/TurnAim.h"

#include <algorithm>
#include <iterator>

#include "game/CommandSink.h"
#include "game/Game.h"
#include "model/ArenaModel.h"
#include "view/ArenaView.h"

TurnAim::TurnAim(Game& game, ArenaView& view, CommandSink& sink)
    : game(game), model(game.getModel()), view(view), sink(sink)
{
    game.addListener(this);
}

TurnAim::~TurnAim()
{
    game.removeListener(this);
}

void TurnAim::fire()
{
    if (!game.hasCurrentPlayer() || game.isLastManStanding()) {
        return;
    }
    sink.submit(Command::Cast{game.getCurrentPlayer()});
}

void TurnAim::nextPlayer()
{
    if (game.hasCurrentPlayer()) {
        sink.submit(Command::Pass{game.getCurrentPlayer()});
    }
}

void TurnAim::moveCannon(double dYaw, double dPitch)
{
    if (!game.hasCurrentPlayer()) {
        return;
    }
    const int id = game.getCurrentPlayer();
    setAim(game.getYaw(id) + dYaw, game.getPitch(id) + dPitch, game.getPower(id));
}

void TurnAim::modifyPower(double dPower)
{
    if (!game.hasCurrentPlayer()) {
        return;
    }
    const int id = game.getCurrentPlayer();
    setAim(game.getYaw(id), game.getPitch(id), game.getPower(id) + dPower);
}

void TurnAim::setAim(double yaw, double pitch, double power)
{
    if (!game.hasCurrentPlayer()) {
        return;
    }
    sink.submit(Command::Aim{game.getCurrentPlayer(), yaw, pitch, std::clamp(power, 0.0, MAX_SHOT_POWER)});
}

void TurnAim::setWeapon(const std::string& name)
{
    sink.submit(Command::Spell{name});
}

void TurnAim::newBattlefield()
{
    // The reset itself reaches the controller's onNewMap first.
    sink.submit(Command::NewBattlefield{});
    view.onCurrentPlayer(game.getCurrentPlayer());
    updateSight();
}

void TurnAim::toggleSight()
{
    sightOn = !sightOn;
    updateSight();
}

void TurnAim::updateSight()
{
    // Only a human aims with it, and only while there is a game to play.
    const int id = game.getCurrentPlayer();
    if (!sightOn || !game.hasCurrentPlayer() || game.isComputerTurn() || game.isLastManStanding()
        || model.getPlayer(id).isDead()) {
        view.getAids().setSight({});
        return;
    }
    const std::list<Vector> path = model.getShotTrajectory(id, game.getYaw(id), game.getPitch(id), game.getPower(id));
    view.getAids().setSight(firstQuarter(path));
}

bool TurnAim::isSightOn() const
{
    return sightOn;
}

std::vector<Vector> TurnAim::firstQuarter(const std::list<Vector>& path)
{
    double total = 0.0;
    for (auto point = path.begin(); point != path.end() && std::next(point) != path.end(); ++point) {
        total += (*std::next(point) - *point).getLength();
    }
    std::vector<Vector> quarter;
    double left = total / 4.0;
    for (auto point = path.begin(); point != path.end(); ++point) {
        quarter.push_back(*point);
        const auto next = std::next(point);
        if (next == path.end()) {
            break;
        }
        const double length = (*next - *point).getLength();
        if (length >= left) {
            if (length > 0.0) {
                quarter.push_back(*point + (*next - *point) * (left / length));
            }
            break;
        }
        left -= length;
    }
    return quarter;
}

void TurnAim::onAim(int id, double yaw, double pitch, double power)
{
    view.updatePlayerDirection(id, model.getPlayer(id), yaw, pitch, power);
    view.onAim(id, yaw, pitch, game.isComputerTurn());
    updateSight();
}

void TurnAim::onLastManStanding(int id)
{
    view.onLastManStanding(id);
}

void TurnAim::onCurrentPlayer(int id)
{
    view.onCurrentPlayer(id);
    updateSight();
}

void TurnAim::onWeapon(const std::string& name)
{
    std::string shown = name;
    view.onWeapon(shown);
}

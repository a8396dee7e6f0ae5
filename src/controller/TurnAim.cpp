// SPDX-License-Identifier: GPL-3.0-or-later
// The turn's commands (aim, spell, cast, pass, new battlefield) and the view's
// picture of the turn: the cannons, the current player, the spell and the
// sight in its three modes.
#include "controller/TurnAim.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include "game/CommandSink.h"
#include "game/Game.h"
#include "model/ArenaModel.h"
#include "model/SpellByName.h"
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
    setSightMode(nextAimingHelp(sightMode));
}

void TurnAim::setSightMode(AimingHelp mode)
{
    sightMode = mode;
    updateSight();
}

AimingHelp TurnAim::getSightMode() const
{
    return sightMode;
}

bool TurnAim::isSightOn() const
{
    return sightMode != AimingHelp::none;
}

void TurnAim::updateSight()
{
    AimingSight& sight = view.getAids().getSight();
    // Only a human aims with it, and only while there is a game to play.
    const int id = game.getCurrentPlayer();
    if (sightMode == AimingHelp::none || !game.hasCurrentPlayer() || game.isComputerTurn()
        || game.isLastManStanding() || model.getPlayer(id).isDead()) {
        sight.hide();
        return;
    }
    const double yaw = game.getYaw(id);
    const double pitch = game.getPitch(id);
    const double power = game.getPower(id);
    if (sightMode == AimingHelp::shortPath) {
        sight.show({firstQuarter(model.getShotTrajectory(id, yaw, pitch, power))}, {});
        return;
    }
    // The chosen spell flown as the cast will fly it, on the battlefield as
    // it stands: what the sight shows is what the cast does. A meteor's path
    // ends where it splits, and its three fireballs go on from there, each
    // to the ring where it lands; one that strikes before the top of its arc
    // lands at the end of its path, as the other spells do.
    const std::unique_ptr<Projectile> spell = createSpell(game.getWeapon(), game.getRadiusBombSize());
    if (!spell) {
        sight.hide();
        return;
    }
    const std::list<Vector> path =
        spell->fly(model, model.getPlayer(id).getCannonNose(yaw, pitch), model.getShotVelocity(id, yaw, pitch, power),
                   model.getGravity() + model.getWind());
    sight.show(AimingSight::flightOf(path, spell.get()), AimingSight::landingsOf(path, spell.get()));
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
    // The full sight flies the spell chosen.
    updateSight();
}

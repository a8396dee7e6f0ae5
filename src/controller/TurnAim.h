// SPDX-License-Identifier: GPL-3.0-or-later
// The current player's turn as the keys and the computer players play it: the
// aim, the spell, the cast and the pass, each a command to the game; and what
// the game tells of the turn (aims, whose turn, the spell, the winner), shown
// in the view with the aiming sight.
#pragma once

#include <list>
#include <string>
#include <vector>

#include "game/GameListener.h"
#include "math/Vector.h"
#include "settings/AimingHelp.h"

class ArenaModel;
class ArenaView;
class CommandSink;
class Game;

class TurnAim : public GameListener {
public:
    // game, view: not owned; both outlive the turn. sink: not owned; where the
    // commands go (the controller, which holds them back during a replay).
    // Listens to the game until it goes.
    TurnAim(Game& game, ArenaView& view, CommandSink& sink);
    ~TurnAim() override;
    TurnAim(const TurnAim&) = delete;
    TurnAim& operator=(const TurnAim&) = delete;

    // Casts the chosen spell for the current player; the game then passes the
    // turn. Nobody casts once one caster is left, until a new battlefield.
    void fire();
    // Passes the turn without a cast.
    void nextPlayer();
    void moveCannon(double dYaw, double dPitch);
    void modifyPower(double dPower);
    // Puts the current player's aim at these values (power kept within 0 and
    // the strongest shot), as the keys would.
    void setAim(double yaw, double pitch, double power);
    void setWeapon(const std::string& name);
    // A new battlefield, as the key "r" asks for; the turn is player 0's.
    void newBattlefield();

    // The aiming sight, shown on a human's turn while the game goes on:
    // none; short, the first quarter of the path the current aim would take;
    // or full, the whole flight of the chosen spell and where it lands.
    // "t" goes from one to the next, and from full back to none.
    void toggleSight();
    void setSightMode(AimingHelp mode);
    AimingHelp getSightMode() const;
    bool isSightOn() const;
    void updateSight();
    // The start of a path up to a quarter of its length.
    static std::vector<Vector> firstQuarter(const std::list<Vector>& path);

    void onAim(int id, double yaw, double pitch, double power) override;
    void onLastManStanding(int id) override;
    void onCurrentPlayer(int id) override;
    void onWeapon(const std::string& name) override;

private:
    Game& game;        // not owned
    ArenaModel& model; // not owned: the game's
    ArenaView& view;   // not owned
    CommandSink& sink; // not owned
    AimingHelp sightMode = AimingHelp::none;
};

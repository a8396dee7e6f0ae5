// SPDX-License-Identifier: GPL-3.0-or-later
// What the game tells of the turn it keeps beside the battlefield: the aims, the
// spell, whose turn it is, who plays as a computer, each shot's digest, and
// every command it applied. The controller shows these; a recorder writes
// them down. Every method does nothing unless overridden.
#pragma once

#include <cstdint>
#include <string>

#include "game/GameCommand.h"

class GameListener {
public:
    virtual ~GameListener() = default;

    // A command the game applied, in the form that makes the same change
    // again: every new battlefield comes as a Command::Battlefield with its
    // seed, told after the battlefield has been reported.
    virtual void onCommand(const GameCommand&) {}
    // The current player's aim changed.
    virtual void onAim(int /*id*/, double /*yaw*/, double /*pitch*/, double /*power*/) {}
    // The turn passed and found no other living player.
    virtual void onLastManStanding(int /*id*/) {}
    // The turn passed to id.
    virtual void onCurrentPlayer(int /*id*/) {}
    // The spell chosen for every caster.
    virtual void onWeapon(const std::string& /*name*/) {}
    // Some player became a computer player or a human.
    virtual void onKinds() {}
    // A cast has been resolved and the turn passed: the battlefield's shot
    // count from 1, and the digest of its battlefield and players now.
    virtual void onShot(int /*shot*/, std::uint64_t /*digest*/) {}
};

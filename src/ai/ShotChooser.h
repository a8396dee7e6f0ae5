// SPDX-License-Identifier: GPL-3.0-or-later
// The computer players' choice of a shot. It aims candidate shots at every
// living opponent (at the box and at the ground around it, on flat and on high
// arcs, through the battlefield's gravity and wind), simulates each with each
// spell on copies of the battlefield and scores it by the damage it does to the
// opponents, killing blows and falls included, less the damage to the shooter.
// The level then decides how well the best one is cast; easy and normal
// rather cast another than one that fells an opponent at full health.
#pragma once

#include <atomic>
#include <random>

#include "ai/ComputerLevel.h"
#include "ai/ShotChoice.h"

class ArenaModel;

// A pure function of its arguments: battlefield is only read (copies of it are
// shot at), nothing is written or told to anyone, and the only randomness is
// drawn from stream, the levels' own. playerId: a player of battlefield.
// radiusBombSize: of the fireball the shooter would cast. cancel, when given
// and set, ends the search early with a harmless shot (the choice is then not
// meant to be cast).
ShotChoice chooseShot(const ArenaModel& battlefield, int playerId, ComputerLevel level,
                      std::mt19937& stream, double radiusBombSize,
                      const std::atomic<bool>* cancel = nullptr);

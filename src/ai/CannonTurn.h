// SPDX-License-Identifier: GPL-3.0-or-later
// How a computer player's cannon turns to its chosen aim in view: the times
// of a turn's phases, the easing of the turn and the short way round. The
// window's computer players and a server's play their turns alike.
#pragma once

namespace CannonTurn {

// Milliseconds.
constexpr long THINK_TIME = 500;      // at the least, from the end of the last shot to aiming
constexpr long AIM_TIME = 1000;       // turning the cannon to the chosen aim
constexpr long SPELL_SHOW_TIME = 400; // the chosen spell shown before the cast

// Smooth start and stop of the cannon's turn: t from 0 to 1.
double ease(double t);

// The yaw equal to target (mod 360) nearest to from, so that the cannon
// takes the short way round.
double nearestTurn(double from, double target);

} // namespace CannonTurn

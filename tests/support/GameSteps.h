// SPDX-License-Identifier: GPL-3.0-or-later
// Steps of a game played through the real window, each of which waits for the
// game's answer before it returns: what it prints, or what its overlay shows.
// Nothing here waits for a fixed time, so the steps hold on a loaded machine
// where one frame may take longer than the gap between two key presses.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/GameProcess.h"
#include "support/HudText.h"

using HudLines = std::vector<std::string>;

// Reads the overlay until its lines pass the test; the lines, or nothing on a
// time-out.
std::optional<HudLines> waitForHud(GameProcess& game, const std::function<bool(const HudLines&)>& wanted,
                                   std::chrono::seconds timeout = E2E_TIMEOUT);

// Grabs the window until a picture passes the test, and keeps that picture
// under the artifacts as fileName.
std::optional<Image> grabUntil(GameProcess& game, const std::string& fileName,
                               const std::function<bool(const Image&)>& wanted);

// The aim the overlay shows for a player (0 for the first line). Until a
// player first aims, the overlay shows zeros for all three values.
std::optional<HudAim> shownAim(GameProcess& game, int player);

// Turns, raises and powers the player's cannon with the keys a person uses
// until the overlay shows the target: taps near the target, a held key when
// it is far.
bool aimTo(GameProcess& game, int player, HudAim target);

// Presses the spell's key ("1", "2", "3") until the overlay names the spell.
bool chooseSpell(GameProcess& game, const std::string& key, const std::string& spell);

// Gold pixels of the turn line ("name — spell") near the top of the window,
// which shows while a turn waits for its cast and goes while a shot plays.
int turnLineGold(const Image& image);

// Reads the top of the window until the turn line shows (shown) or has gone;
// false on a time-out. The turn line going, then showing again, is the shot
// played out and the next turn waiting.
bool waitForTurnLine(GameProcess& game, bool shown);

// Presses Return until the game casts (it ignores Enter while the previous
// shot still plays); the "Dead Players: N" line, or nothing.
std::optional<std::string> fireWhenReady(GameProcess& game);

// Opens the console, types the line and enters it; false when the console
// did not open or the echo of the line did not come.
bool runConsoleLine(GameProcess& game, const std::string& line);

// The last lines the game wrote, for failure messages.
std::string outputTail(GameProcess& game);

// SPDX-License-Identifier: GPL-3.0-or-later
// How much the aiming sight shows a human caster: nothing, the first quarter
// of the path the aim would take, or the whole flight and where it lands.
// The set-up screen chooses it for the games that follow; "t" cycles it.
#pragma once

#include <optional>
#include <string>

enum class AimingHelp { none, shortPath, fullPath };

// "none", "short" or "full".
const char* aimingHelpName(AimingHelp help);

// The help a word names, in lower case; nothing for any other word.
std::optional<AimingHelp> parseAimingHelp(const std::string& word);

// The next one in the order none, short, full, and none again after full.
AimingHelp nextAimingHelp(AimingHelp help);

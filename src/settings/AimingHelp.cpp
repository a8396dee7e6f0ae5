// SPDX-License-Identifier: GPL-3.0-or-later
// The names of the sight's three modes, as the set-up screen and the settings
// file write them, and the order "t" goes through them.
#include "settings/AimingHelp.h"

namespace {

constexpr AimingHelp ALL[] = {AimingHelp::none, AimingHelp::shortPath, AimingHelp::fullPath};

} // namespace

const char* aimingHelpName(AimingHelp help)
{
    switch (help) {
    case AimingHelp::none:
        return "none";
    case AimingHelp::fullPath:
        return "full";
    case AimingHelp::shortPath:
        break;
    }
    return "short";
}

std::optional<AimingHelp> parseAimingHelp(const std::string& word)
{
    for (AimingHelp help : ALL) {
        if (word == aimingHelpName(help)) {
            return help;
        }
    }
    return std::nullopt;
}

AimingHelp nextAimingHelp(AimingHelp help)
{
    switch (help) {
    case AimingHelp::none:
        return AimingHelp::shortPath;
    case AimingHelp::shortPath:
        return AimingHelp::fullPath;
    case AimingHelp::fullPath:
        break;
    }
    return AimingHelp::none;
}

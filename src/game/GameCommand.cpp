// SPDX-License-Identifier: GPL-3.0-or-later
// The command value's few operations: comparing set-ups and telling which
// commands start a battlefield.
#include "game/GameCommand.h"

bool BattlefieldSetup::operator==(const BattlefieldSetup& other) const
{
    return width == other.width && depth == other.depth && height == other.height && players == other.players
           && playerWidth == other.playerWidth && playerHeight == other.playerHeight
           && cannonOffset.x == other.cannonOffset.x && cannonOffset.y == other.cannonOffset.y
           && cannonOffset.z == other.cannonOffset.z && cannonLength == other.cannonLength
           && windEnabled == other.windEnabled && gravity.x == other.gravity.x && gravity.y == other.gravity.y
           && gravity.z == other.gravity.z && radius == other.radius && spell == other.spell
           && names == other.names && kinds == other.kinds;
}

bool startsBattlefield(const GameCommand& command)
{
    return std::holds_alternative<Command::Battlefield>(command)
           || std::holds_alternative<Command::NewBattlefield>(command)
           || std::holds_alternative<Command::StartSetup>(command)
           || std::holds_alternative<Command::Players>(command) || std::holds_alternative<Command::Grid>(command)
           || std::holds_alternative<Command::WindEnabled>(command);
}

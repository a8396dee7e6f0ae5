// SPDX-License-Identifier: GPL-3.0-or-later
// The cyclone: the impact's whole column of blocks goes, and every player whose
// box covers that column dies.
#include "model/VerticalStrike.h"

#include "model/ArenaModel.h"
#include "model/SpellEffects.h"

namespace {

constexpr double LETHAL_DAMAGE = 100.0;
// Particles of the whirl.
constexpr int STRIKE_PARTICLES = 1000;

} // namespace

VerticalStrike::VerticalStrike()
    : height(10)
{
}

int VerticalStrike::getHeight() const
{
    return height;
}

void VerticalStrike::onImpact(ArenaModel& model, const Vector& impact,
                              std::set<Vector>& affectedCells, std::map<int, double>& damages)
{
    height = model.getHeight();
    // No inside test: an impact just outside a low face takes column 0.
    const Vector columnMin = impact.toInt();
    const Vector columnMax = columnMin + Vector(1, 1, 1);
    for (int y = 0; y < height; ++y) {
        // From the floor up, in the set's order: each goes in at the end.
        affectedCells.insert(affectedCells.end(), Vector(columnMin.x, y, columnMin.z));
    }
    for (int id = 0; id < model.getNumberOfPlayers(); ++id) {
        const Player& player = model.getPlayer(id);
        const Vector boxMin = player.getPosition();
        const Vector boxMax = boxMin + Vector(player.getWidth(), 0, player.getWidth());
        if (boxMax.x > columnMin.x && columnMax.x > boxMin.x
            && boxMax.z > columnMin.z && columnMax.z > boxMin.z) {
            damages[id] = LETHAL_DAMAGE;
        }
    }
}

Animation* VerticalStrike::getAnimation(long length, TimeSystem& clock, Vector position)
{
    return effects != nullptr ? effects->cyclone(length, clock, position, STRIKE_PARTICLES, height) : nullptr;
}

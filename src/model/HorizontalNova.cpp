// SPDX-License-Identifier: GPL-3.0-or-later
// The nova: the impact's whole layer of blocks goes, and every player whose box
// reaches into that layer loses half of its hit points.
#include "model/HorizontalNova.h"

#include "model/ArenaModel.h"
#include "model/SpellEffects.h"

HorizontalNova::HorizontalNova()
    : width(1), depth(1)
{
}

int HorizontalNova::getWidth() const
{
    return width;
}

int HorizontalNova::getDepth() const
{
    return depth;
}

void HorizontalNova::onImpact(ArenaModel& model, const Vector& impact,
                              std::set<Vector>& affectedCells, std::map<int, double>& damages)
{
    width = model.getWidth();
    depth = model.getDepth();
    // No inside test: an impact just below the floor still takes layer 0.
    const Vector layerMin = impact.toInt();
    const Vector layerMax = layerMin + Vector(1, 1, 1);
    for (int x = 0; x < width; ++x) {
        for (int z = 0; z < depth; ++z) {
            // In the set's order (x, then z on one layer): each goes in at the end.
            affectedCells.insert(affectedCells.end(), Vector(x, layerMin.y, z));
        }
    }
    for (int id = 0; id < model.getNumberOfPlayers(); ++id) {
        const Player& player = model.getPlayer(id);
        const double boxBottom = player.getPosition().y;
        const double boxTop = boxBottom + player.getHeight();
        if (boxTop > layerMin.y && layerMax.y > boxBottom) {
            damages[id] = player.getHp() / 2;
        }
    }
}

Animation* HorizontalNova::getAnimation(long length, TimeSystem& clock, Vector position)
{
    return effects != nullptr ? effects->nova(length, clock, position, width, depth) : nullptr;
}

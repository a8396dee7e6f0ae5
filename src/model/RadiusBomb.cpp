// SPDX-License-Identifier: GPL-3.0-or-later
// The fireball's blast: blocks within the radius go, players take a damage
// that falls linearly from 100 at their box to 0 at the radius beyond it.
#include "model/RadiusBomb.h"

#include <algorithm>
#include <cmath>

#include "model/ArenaModel.h"
#include "model/SpellEffects.h"

namespace {

constexpr double FULL_DAMAGE = 100.0;

} // namespace

RadiusBomb::RadiusBomb(double radius)
    : radius(radius)
{
}

double RadiusBomb::getRadius() const
{
    return radius;
}

void RadiusBomb::onImpact(ArenaModel& model, const Vector& impact, std::set<Vector>& affectedCells,
                          std::map<int, double>& damages)
{
    // The impact cell goes whatever the radius.
    affectedCells.insert(impact.toInt());

    if (model.testPlayer(impact)) {
        int hit = model.getPlayerIndexAt(impact);
        if (hit >= 0) {
            damages[hit] = FULL_DAMAGE;
        }
    }
    if (radius == 0.0) {
        return;
    }
    hurtPlayers(model, impact, damages);
    markCells(model, impact, affectedCells);
}

void RadiusBomb::hurtPlayers(const ArenaModel& model, const Vector& impact, std::map<int, double>& damages) const
{
    const Vector blastMin = impact - Vector(radius, radius, radius);
    const Vector blastMax = impact + Vector(radius, radius, radius);
    for (int id = 0; id < model.getNumberOfPlayers(); ++id) {
        const Player& player = model.getPlayer(id);
        const double w = player.getWidth();
        const double h = player.getHeight();
        const Vector boxMin = player.getPosition();
        const Vector boxMax = boxMin + Vector(w, h, w);
        const double halfDiagonal = (boxMax - boxMin).getLength() / 2;
        const Vector centre = boxMin + Vector(w / 2, h / 2, w / 2);
        const double distance = (impact - centre).getLength();
        bool hit = distance < radius + halfDiagonal
                && blastMin.x < boxMax.x && boxMin.x < blastMax.x
                && blastMin.y < boxMax.y && boxMin.y < blastMax.y
                && blastMin.z < boxMax.z && boxMin.z < blastMax.z;
        if (!hit) {
            continue;
        }
        if (distance <= halfDiagonal) {
            damages[id] = FULL_DAMAGE;
        } else {
            damages[id] = (radius + halfDiagonal - distance) / radius * FULL_DAMAGE;
        }
    }
}

void RadiusBomb::markCells(const ArenaModel& model, const Vector& impact, std::set<Vector>& affectedCells) const
{
    const Vector blastMin = impact - Vector(radius, radius, radius);
    const Vector blastMax = impact + Vector(radius, radius, radius);
    // Only cells that reach into the blast's box can pass the test below.
    if (!std::isfinite(blastMin.x + blastMin.y + blastMin.z + blastMax.x + blastMax.y + blastMax.z)) {
        return;
    }
    const auto firstCell = [](double low, int size) {
        return static_cast<int>(std::clamp(std::floor(low) - 1.0, 0.0, static_cast<double>(size)));
    };
    const auto endCell = [](double high, int size) {
        return static_cast<int>(std::clamp(std::floor(high) + 1.0, 0.0, static_cast<double>(size)));
    };
    const int xEnd = endCell(blastMax.x, model.getWidth());
    const int yEnd = endCell(blastMax.y, model.getHeight());
    const int zEnd = endCell(blastMax.z, model.getDepth());
    const double cellHalfDiagonal = std::sqrt(3.0) / 2;
    for (int x = firstCell(blastMin.x, model.getWidth()); x < xEnd; ++x) {
        for (int y = firstCell(blastMin.y, model.getHeight()); y < yEnd; ++y) {
            for (int z = firstCell(blastMin.z, model.getDepth()); z < zEnd; ++z) {
                if (!model.testGround(x, y, z)) {
                    continue;
                }
                const Vector cellMin(x, y, z);
                const Vector cellMax = cellMin + Vector(1, 1, 1);
                const double distance = (impact - (cellMin + Vector(0.5, 0.5, 0.5))).getLength();
                // Touching faces count for cells, unlike for players.
                if (distance <= radius + cellHalfDiagonal
                    && blastMin.x <= cellMax.x && cellMin.x <= blastMax.x
                    && blastMin.y <= cellMax.y && cellMin.y <= blastMax.y
                    && blastMin.z <= cellMax.z && cellMin.z <= blastMax.z) {
                    affectedCells.insert(cellMin);
                }
            }
        }
    }
}

Animation* RadiusBomb::getAnimation(long length, TimeSystem& clock, Vector position)
{
    return effects != nullptr ? effects->blast(length, clock, radius, position) : nullptr;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// One shot from cast to settled battlefield: the ballistic path, the spell's
// impact, destroyed and falling blocks, falling players with fall damage, and
// the report to the listeners.
#include <algorithm>
#include <cmath>
#include <ostream>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "model/ArenaModel.h"
#include "model/ArenaModelListener.h"
#include "model/Projectile.h"

namespace {

// Collision samples per unit of path.
constexpr double SAMPLES_PER_UNIT = 100.0;
// Samples of one step never exceed this; a step that long leaves any grid
// within its first samples anyway.
constexpr double MAX_SAMPLES_PER_STEP = 1.0e8;

} // namespace

std::list<Vector> ArenaModel::createTrajectory(const Vector& start, const Vector& velocity,
                                               const Vector& acceleration) const
{
    Vector speedAtTop;
    bool reachedTop = false;
    return flightPath(start, velocity, acceleration, false, speedAtTop, reachedTop);
}

std::list<Vector> ArenaModel::createTrajectoryToTop(const Vector& start, const Vector& velocity,
                                                    const Vector& acceleration, Vector& speedAtTop,
                                                    bool& reachedTop) const
{
    return flightPath(start, velocity, acceleration, true, speedAtTop, reachedTop);
}

std::list<Vector> ArenaModel::flightPath(const Vector& start, const Vector& velocity, const Vector& acceleration,
                                         bool stopAtTop, Vector& speedAtTop, bool& reachedTop) const
{
    std::list<Vector> points;
    Vector position = start;
    Vector speed = velocity;
    reachedTop = false;
    for (int step = 0; step < MAX_TRAJECTORY_STEPS; ++step) {
        points.push_back(position);
        if (stopAtTop && speed.y + acceleration.y < 0.0) {
            // This step would be the first to fall.
            speedAtTop = speed;
            reachedTop = true;
            return points;
        }
        // This step's acceleration already counts in its displacement.
        const Vector next = position + speed + acceleration;
        speed = speed + acceleration;
        const Vector segment = next - position;
        const double samples =
            std::fmin(std::trunc(SAMPLES_PER_UNIT * segment.getLength()), MAX_SAMPLES_PER_STEP);
        const long sampleCount = std::isfinite(samples) ? static_cast<long>(samples) : 0;
        // A step shorter than a hundredth has no samples and tests nothing.
        const Vector sampleStep =
            sampleCount > 0 ? segment * (1.0 / static_cast<double>(sampleCount)) : Vector();
        // Sample 0 is the step's own start; the end is tested by the next step.
        for (long i = 0; i < sampleCount; ++i) {
            const Vector sample = position + sampleStep * static_cast<double>(i);
            if (testAny(sample)) {
                points.push_back(sample);
                return points;
            }
        }
        position = next;
    }
    // Still flying after the step limit: it ends at the last point reached.
    return points;
}

Vector ArenaModel::getShotVelocity(int playerId, double yaw, double pitch, double power) const
{
    const Player& shooter = getPlayer(playerId);
    const Vector axis = shooter.getCannonNose(yaw, pitch) - shooter.getCannonPosition(yaw);
    // A cannon of length 0 has no direction: the shot just drops from it.
    const double axisLength = axis.getLength();
    if (axisLength > 0.0 && std::isfinite(axisLength)) {
        return axis.getNormalizedCopy() * power;
    }
    return Vector();
}

void ArenaModel::throwProjectile(int playerId, Projectile* projectile, double yaw, double pitch,
                                 double power)
{
    ShotOutcome shot = resolveShot(playerId, projectile, yaw, pitch, power);
    for (const auto& [id, fall] : shot.playerFalls) {
        *output << "Height damage: " << std::pow(2.0, fall) << std::endl;
    }
    for (ArenaModelListener* listener : listeners) {
        listener->onProjectile(playerId, projectile, shot.trajectory, shot.removedBlocks,
                               shot.fallingBlocks, shot.playerFalls, shot.damages,
                               shot.killedPlayers);
    }
}

ShotOutcome ArenaModel::resolveShot(int playerId, Projectile* projectile, double yaw, double pitch,
                                    double power)
{
    const Vector nose = getPlayer(playerId).getCannonNose(yaw, pitch);
    return resolveFlight(projectile, nose, getShotVelocity(playerId, yaw, pitch, power));
}

ShotOutcome ArenaModel::resolveFlight(Projectile* projectile, const Vector& start, const Vector& velocity)
{
    return resolveImpact(projectile, projectile->fly(*this, start, velocity, gravity + wind));
}

std::list<Vector> ArenaModel::getShotTrajectory(int playerId, double yaw, double pitch, double power) const
{
    const Vector nose = getPlayer(playerId).getCannonNose(yaw, pitch);
    return createTrajectory(nose, getShotVelocity(playerId, yaw, pitch, power), gravity + wind);
}

void ArenaModel::collectFalls(int x, int z, const std::vector<int>& destroyed, std::vector<BlockFall>& falls,
                              std::map<int, int>& playerFalls) const
{
    int below = 0;
    auto next = destroyed.begin();
    for (int y = destroyed.front(); y < height; ++y) {
        if (next != destroyed.end() && *next == y) {
            ++below;
            ++next;
        } else if (terrain[x][z][y]) {
            falls.push_back(BlockFall{x, y, z, below});
        }
    }
    // The players whose box reaches over this column, in id order: only they
    // can stand in it.
    std::vector<int> standing;
    for (std::size_t id = 0; id < players.size(); ++id) {
        const Vector& corner = players[id].getPosition();
        const double side = players[id].getWidth();
        if (corner.x <= x && x < corner.x + side && corner.z <= z && z < corner.z + side) {
            standing.push_back(static_cast<int>(id));
        }
    }
    if (standing.empty()) {
        return;
    }
    // From the top down: the players found above each destroyed cell (the
    // first in id order at each cell) fall one cell for it.
    std::set<int> above;
    int y = height - 1;
    for (auto cell = destroyed.rbegin(); cell != destroyed.rend(); ++cell) {
        for (; y > *cell; --y) {
            const Vector point(x, y, z);
            for (int id : standing) {
                if (players[static_cast<std::size_t>(id)].isInside(point)) {
                    above.insert(id);
                    break;
                }
            }
        }
        for (int id : above) {
            playerFalls[id] += 1;
        }
    }
}

void ArenaModel::setBlockFallsReported(bool reported)
{
    blockFallsReported = reported;
}

ShotOutcome ArenaModel::resolveImpact(Projectile* projectile, std::list<Vector> trajectory)
{
    ShotOutcome shot;
    shot.trajectory = std::move(trajectory);
    const Vector impact = shot.trajectory.back();

    std::set<Vector> affectedCells;
    projectile->onImpact(*this, impact, affectedCells, shot.damages);

    for (const Vector& cell : affectedCells) {
        if (isInsideGrid(cell) && testGround(cell)) {
            // In the set's own order: each goes in at the end.
            shot.removedBlocks.insert(shot.removedBlocks.end(), cell);
        }
    }

    // Everything above a destroyed block comes down one cell for it: a block
    // as many cells as were destroyed below it in its column, a player once
    // for every destroyed cell below its box.
    std::map<std::pair<int, int>, std::vector<int>> destroyedByColumn; // (x, z) -> y, lowest first
    for (const Vector& cell : shot.removedBlocks) {
        destroyedByColumn[{static_cast<int>(cell.x), static_cast<int>(cell.z)}].push_back(static_cast<int>(cell.y));
    }
    std::vector<BlockFall> falls;
    for (const auto& [column, destroyed] : destroyedByColumn) {
        collectFalls(column.first, column.second, destroyed, falls, shot.playerFalls);
    }
    for (const Vector& cell : shot.removedBlocks) {
        removeGround(cell);
    }
    // Each column's lowest first, so every block lands in a vacated cell.
    for (const BlockFall& fall : falls) {
        terrain[fall.x][fall.z][fall.y - fall.cells] = true;
        terrain[fall.x][fall.z][fall.y] = false;
    }
    if (blockFallsReported) {
        // In the map's own order, each goes in at the end.
        std::sort(falls.begin(), falls.end());
        for (const BlockFall& fall : falls) {
            shot.fallingBlocks.emplace_hint(shot.fallingBlocks.end(), Vector(fall.x, fall.y, fall.z), fall.cells);
        }
    }

    for (const auto& [id, fall] : shot.playerFalls) {
        Player& player = players[static_cast<std::size_t>(id)];
        player.setPosition(player.getPosition() - Vector(0, fall, 0));
        shot.damages[id] += std::pow(2.0, fall);
    }

    for (const auto& [id, damage] : shot.damages) {
        Player& player = players[static_cast<std::size_t>(id)];
        if (!player.isDead() && player.damage(damage)) {
            shot.killedPlayers.insert(id);
        }
    }
    return shot;
}

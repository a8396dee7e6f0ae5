// SPDX-License-Identifier: GPL-3.0-or-later
// Shots as the view plays them: the cast, the flight, the spell's effect, the
// debris and the falls, as one timed sequence; and the running animations.
#include <GL/freeglut.h>

#include <algorithm>
#include <iostream>
#include <vector>

#include "animation/Animation.h"
#include "animation/AnimationManager.h"
#include "animation/ParralelAnimation.h"
#include "animation/PathAnimation.h"
#include "app/Main.h"
#include "model/Player.h"
#include "model/Projectile.h"
#include "scene/TransformNode.h"
#include "view/ArenaView.h"

namespace {

// Ticks of the view clock.
constexpr long SHOT_START_DELAY = 700;
constexpr double FLIGHT_PER_UNIT = 150.0;
constexpr long EFFECT_LENGTH = 1000;
constexpr long CHARACTER_ANIMATION = 1000;
constexpr long DEBRIS_FLIGHT = 1000;
constexpr long BLOCK_FALL_PER_CELL = 100;
constexpr long PLAYER_FALL_PER_CELL = 200;
// How long the camera holds after the hurt for the damage numbers to be read.
constexpr long DAMAGE_NUMBERS_SEEN = 1200;

// A place of the model in the scene, which mirrors z.
Vector scenePlace(const Vector& place)
{
    return {place.x, place.y, -place.z};
}

// Where a caster's sounds come from until it falls: the middle of its body,
// falls the cells above where the model has it now.
Vector casterMiddle(const Player& player, const std::map<int, int>& falls, int id)
{
    const auto fall = falls.find(id);
    const double w = player.getWidth();
    const double up = player.getHeight() / 2 + (fall != falls.end() ? fall->second : 0);
    return scenePlace(player.getPosition() + Vector(w / 2, up, w / 2));
}

// The middle of some cells' blocks, in the scene.
template <typename Cells>
Vector blocksMiddle(const Cells& cells)
{
    Vector sum;
    for (const Vector& cell : cells) {
        sum = sum + cell;
    }
    return scenePlace(sum * (1.0 / static_cast<double>(cells.size())) + Vector(0.5, 0.5, 0.5));
}

} // namespace

void ArenaView::onProjectile(int playerId, Projectile* projectile, std::list<Vector>& shotPath,
                             std::set<Vector>& removedBlocks, std::map<Vector, int>& fallingBlocks,
                             std::map<int, int>& playerFalls, std::map<int, double>& damages,
                             std::set<int>& killedPlayers)
{
    // Blocks of an earlier shot still waiting to rejoin the terrain do so
    // now, before this shot moves anything.
    landPendingBlocks();

    auto* sequence = new AnimationManager(timeSystem);
    animations.push_back(sequence);
    trajectory = shotPath;
    animate(playerId, "cast", CHARACTER_ANIMATION, 0, false);
    sequence->setDelay(SHOT_START_DELAY);
    const long now = timeSystem.getTick();
    const auto caster = players.find(playerId);
    if (caster != players.end()) {
        sounds.add(now, castSound(weapon.c_str()), casterMiddle(*caster->second, playerFalls, playerId));
    }

    // The fireball, turned so that its tail trails behind the flight.
    auto* projectileNode = new GraphicNode();
    auto* fireballNode = new TransformNode(models["fireball"]);
    fireballNode->setRotation(0.0f, 0.0f, 1.0f, 90.0f);
    projectileNode->addGraphicNode(fireballNode);

    const std::vector<Vector> points(shotPath.begin(), shotPath.end());
    double pathLength = 0.0;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        pathLength += (points[i + 1] - points[i]).getLength();
    }
    const long flightTime = static_cast<long>(FLIGHT_PER_UNIT * pathLength);
    sequence->addAnimation(new PathAnimation(flightTime, timeSystem, false, shotPath, projectileNode, true),
                           false, false);

    const Vector impact = shotPath.empty() ? Vector() : shotPath.back();
    if (projectile != nullptr) {
        sounds.add(now + SHOT_START_DELAY + flightTime, effectSound(weapon.c_str()), scenePlace(impact));
        // The spell makes its effect with the view's animations.
        projectile->setEffects(&effects);
        sequence->addAnimation(projectile->getAnimation(EFFECT_LENGTH, timeSystem, impact), false, false);
    }

    // Hit and killed characters react as the effect plays.
    const long reaction = sequence->getLength();
    for (const auto& [id, damage] : damages) {
        auto player = players.find(id);
        if (killedPlayers.count(id) == 0 && player != players.end() && !player->second->isDead()) {
            animate(id, "hurt", CHARACTER_ANIMATION, reaction, false);
            sounds.add(now + reaction, Sound::hurt, casterMiddle(*player->second, playerFalls, id));
        }
    }
    addDamageNumbers(damages, killedPlayers, playerFalls, timeSystem.getTick() + reaction);
    std::cout << "Dead Players: " << killedPlayers.size() << std::endl;
    for (int id : killedPlayers) {
        std::cout << id << std::endl;
        animate(id, "death", CHARACTER_ANIMATION, reaction, true);
        const auto player = players.find(id);
        if (player != players.end()) {
            sounds.add(now + reaction, Sound::death, casterMiddle(*player->second, playerFalls, id));
        }
    }

    // Destroyed blocks are flung away; their path animations own them now.
    auto* debris = new ParralelAnimation(timeSystem);
    for (const Vector& cell : removedBlocks) {
        GraphicNode* node = takeTerrainBlock(cell, nullptr);
        if (node == nullptr) {
            continue;
        }
        debris->addAnimation(new PathAnimation(DEBRIS_FLIGHT, timeSystem, false,
                                               createExplosionPath(cell + Vector(0.5, 0, 0.5)), node, false));
    }
    sequence->addAnimation(debris, true, false);

    // Loose blocks drop into their new cells; they rejoin the terrain later.
    // One sound as they start to fall, and one for the blocks that land
    // together, at each moment blocks land.
    const long fallsStart = now + SHOT_START_DELAY + sequence->getLength();
    std::map<int, std::vector<Vector>> landingsByFall;
    auto* falls = new ParralelAnimation(timeSystem);
    for (const auto& [cell, fall] : fallingBlocks) {
        TerrainChunks::Block block = TerrainChunks::EMPTY;
        GraphicNode* node = takeTerrainBlock(cell, &block);
        if (node == nullptr) {
            continue;
        }
        const Vector landing = cell - Vector(0, fall, 0);
        falls->addAnimation(new PathAnimation(fall * BLOCK_FALL_PER_CELL, timeSystem, false,
                                              {cell + Vector(0.5, 0, 0.5), landing + Vector(0.5, 0, 0.5)}, node,
                                              false));
        pendingBlocks.push_back({landing, block});
        landingsByFall[fall].push_back(landing);
    }
    if (!landingsByFall.empty()) {
        std::vector<Vector> starts;
        for (const auto& [cell, fall] : fallingBlocks) {
            starts.push_back(cell);
        }
        sounds.add(fallsStart, Sound::blockFall, blocksMiddle(starts));
    }
    for (const auto& [fall, landings] : landingsByFall) {
        sounds.add(fallsStart + fall * BLOCK_FALL_PER_CELL, Sound::blockLand, blocksMiddle(landings));
    }
    // Only now: a block may land in the cell another one has just left.
    for (const PendingBlock& pending : pendingBlocks) {
        if (isInsideGrid(pending.cell)) {
            bookedCells[cellIndex(pending.cell)] = pending.block;
        }
    }
    sequence->addAnimation(falls, true, true);
    // They join the terrain once the last of them has been seen to land.
    pendingBlocksTick = now + SHOT_START_DELAY + sequence->getLength();

    // Falling characters are drawn by their animation until it ends, then
    // go back to the scene; each lands with a thud.
    const long dropsStart = pendingBlocksTick;
    auto* playerDrops = new ParralelAnimation(timeSystem);
    for (const auto& [id, fall] : playerFalls) {
        auto node = playerNodes.find(id);
        auto player = players.find(id);
        if (node == playerNodes.end() || player == players.end()) {
            continue;
        }
        const Vector& p = player->second->getPosition();
        const double w = player->second->getWidth();
        sceneNode->removeGraphicNode(node->second);
        const Vector top = p + Vector(0, fall, 0);
        auto* drop = new PathAnimation(fall * PLAYER_FALL_PER_CELL, timeSystem, false,
                                       {top + Vector(w / 2, 0, w / 2), top + Vector(w / 2, -fall, w / 2)},
                                       node->second, false);
        cannons[id].position.y -= fall;
        drop->setContinuation(sceneNode);
        playerDrops->addAnimation(drop);
        sounds.add(dropsStart + fall * PLAYER_FALL_PER_CELL, Sound::blockLand,
                   scenePlace(p + Vector(w / 2, 0, w / 2)));
    }
    sequence->addAnimation(playerDrops, true, true);

    // The automatic camera rides along with the projectile and holds on the
    // impact while everything after it plays, damage numbers included.
    std::vector<Vector> scenePath;
    for (const Vector& point : points) {
        scenePath.push_back(scenePlace(point));
    }
    const long flightStart = now + SHOT_START_DELAY;
    sounds.addFlight(scenePath, flightStart, flightStart + flightTime);
    autoCamera.onShot(scenePath, flightStart, flightStart + flightTime,
                      std::max(flightStart + sequence->getLength(), now + reaction + DAMAGE_NUMBERS_SEEN));

    calculateSurfaceBlocks();
}

std::list<Vector> ArenaView::createExplosionPath(Vector centre)
{
    const double rise = 2 * Main::effectsRandom();
    const double direction = 360 * Main::effectsRandom();
    Vector heading(1, 0, 0);
    heading.rotate(direction, 0, 1, 0);
    const Vector top = centre + heading + Vector(0, rise, 0);
    const double k1 = 2 * top.y - 2 * centre.y;
    const double k2 = centre.y - top.y;
    std::list<Vector> path;
    // t by repeated addition, as the eleven sample times have always been.
    for (double t = 0; t < 3.0; t += 0.3) {
        Vector point = centre + heading * t;
        point.y = k1 * t + k2 * t * t + centre.y;
        path.push_back(point);
    }
    return path;
}

void ArenaView::renderTrajectory()
{
    if (!debug || trajectory.empty()) {
        return;
    }
    glColor3f(1.0f, 0.0f, 0.0f);
    const Vector& first = trajectory.front();
    glPushMatrix();
    glTranslated(first.x, first.y, -first.z);
    glutSolidSphere(0.1, 10, 10);
    glPopMatrix();
    glBegin(GL_LINE_STRIP);
    for (const Vector& point : trajectory) {
        glVertex3d(point.x, point.y, -point.z);
    }
    glEnd();
    const Vector& last = trajectory.back();
    glPushMatrix();
    glTranslated(last.x, last.y, -last.z);
    glutSolidSphere(0.2, 10, 10);
    glPopMatrix();
}

void ArenaView::renderAnimations()
{
    std::list<Animation*> finished;
    const bool animating = isAnimating();
    for (Animation* animation : animations) {
        // The arrow hides while a shot plays.
        if (animation != arrowAnimation || !animating) {
            animation->render();
        }
        if (animation->over()) {
            finished.push_back(animation);
        }
    }
    for (Animation* animation : finished) {
        animations.remove(animation);
        delete animation;
    }
}

bool ArenaView::isAnimating() const
{
    for (const Animation* animation : animations) {
        if (!animation->isLooping()) {
            return true;
        }
    }
    return false;
}

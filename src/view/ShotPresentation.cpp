// SPDX-License-Identifier: GPL-3.0-or-later
// Shots as the view plays them: the cast, the flight, the spell's effect, the
// debris and the falls, as one timed sequence, each phase built by its step.
#include "view/ShotPresentation.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <iostream>
#include <vector>

#include "animation/AnimationManager.h"
#include "animation/ParralelAnimation.h"
#include "animation/PathAnimation.h"
#include "app/Main.h"
#include "math/TimeSystem.h"
#include "model/Player.h"
#include "model/Projectile.h"
#include "model/SpellFragment.h"
#include "model/SpellTable.h"
#include "scene/TransformNode.h"
#include "view/HealthBars.h"
#include "view/PlayingAids.h"
#include "view/ViewAnimations.h"
#include "view/ViewCamera.h"
#include "view/ViewCharacters.h"
#include "view/ViewResources.h"
#include "view/ViewSounds.h"
#include "view/ViewTerrain.h"

namespace {

// Ticks of the view clock.
constexpr long SHOT_START_DELAY = 700;
constexpr double FLIGHT_PER_UNIT = 150.0;
// A longer flight is shown faster, so that it takes this long.
constexpr double LONGEST_FLIGHT = 6000.0;
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

// The length of a path, in cells.
double pathLength(const std::list<Vector>& path)
{
    double length = 0.0;
    for (auto point = path.begin(); point != path.end() && std::next(point) != path.end(); ++point) {
        length += (*std::next(point) - *point).getLength();
    }
    return length;
}

// Ticks per cell of a shot whose path, and fragments' paths if it breaks
// apart, are these: the usual pace unless the whole flight, the longest
// fragment's included, would take longer than LONGEST_FLIGHT.
double flightPace(const std::list<Vector>& path, const Projectile* projectile)
{
    double fragments = 0.0;
    if (projectile != nullptr) {
        for (const SpellFragment& fragment : projectile->getFragments()) {
            fragments = std::max(fragments, pathLength(fragment.path));
        }
    }
    const double length = pathLength(path) + fragments;
    return FLIGHT_PER_UNIT * length > LONGEST_FLIGHT ? LONGEST_FLIGHT / length : FLIGHT_PER_UNIT;
}

} // namespace

ShotPresentation::ShotPresentation(const ShotStage& stage) : stage(stage)
{
}

void ShotPresentation::present(int casterId, Projectile* projectile, const std::list<Vector>& path,
                               const ShotAftermath& aftermath)
{
    // Blocks of an earlier shot still waiting to rejoin the terrain do so
    // now, before this shot moves anything.
    stage.terrain.landPendingBlocks();
    auto owned = std::make_unique<AnimationManager>(stage.clock);
    AnimationManager& sequence = *owned;
    stage.animations.add(std::move(owned));
    trajectory = path;
    const long now = stage.clock.getTick();
    addCast(casterId, aftermath.playerFalls, now);
    sequence.setDelay(SHOT_START_DELAY);

    const long flightStart = now + SHOT_START_DELAY;
    pace = flightPace(path, projectile);
    const SpellTable::Entry* spell = SpellTable::byName(stage.characters.getWeapon());
    long flightTime = addFlight(sequence, path, makeFlyingNode(spell != nullptr ? spell->flightMesh : "fireball"));
    std::list<Vector> followed = path;
    if (projectile != nullptr && !projectile->getFragments().empty()) {
        // The camera follows the middle fragment on from the split.
        const std::vector<SpellFragment>& fragments = projectile->getFragments();
        const std::list<Vector>& middle = fragments[fragments.size() / 2].path;
        followed.insert(followed.end(), std::next(middle.begin()), middle.end());
        flightTime += addFragments(sequence, *projectile, flightStart + flightTime);
    } else if (projectile != nullptr) {
        addEffect(sequence, *projectile, path.empty() ? Vector() : path.back(), flightStart + flightTime);
    }
    // Hit and killed characters react as the effect plays.
    const long reaction = sequence.getLength();
    addReactions(aftermath, now, reaction);
    addDebris(sequence, aftermath.removedBlocks);
    addBlockFalls(sequence, aftermath.fallingBlocks, flightStart + sequence.getLength());
    // The fallen blocks join the terrain once the last of them has been seen
    // to land; the characters fall after that.
    const long landed = flightStart + sequence.getLength();
    stage.terrain.setPendingBlocksTick(landed);
    addPlayerFalls(sequence, aftermath.playerFalls, landed);
    followWithCamera(followed, flightStart, flightStart + flightTime,
                     std::max(flightStart + sequence.getLength(), now + reaction + DAMAGE_NUMBERS_SEEN));
    stage.terrain.calculateSurfaceBlocks();
}

std::unique_ptr<GraphicNode> ShotPresentation::makeFlyingNode(const std::string& mesh) const
{
    auto node = std::make_unique<GraphicNode>();
    auto* body = new TransformNode(stage.resources.getModel(mesh));
    body->setRotation(0.0f, 0.0f, 1.0f, 90.0f);
    node->addGraphicNode(body);
    return node;
}

void ShotPresentation::addCast(int casterId, const std::map<int, int>& falls, long now)
{
    stage.characters.animate(casterId, "cast", CHARACTER_ANIMATION, 0, false);
    if (const Player* caster = stage.characters.findPlayer(casterId)) {
        const std::string& weapon = stage.characters.getWeapon();
        stage.sounds.getSoundCues().add(now, castSound(weapon.c_str()), casterMiddle(*caster, falls, casterId));
    }
}

long ShotPresentation::addFlight(AnimationManager& sequence, const std::list<Vector>& path,
                                 std::unique_ptr<GraphicNode> node)
{
    const long flightTime = static_cast<long>(pace * pathLength(path));
    sequence.addAnimation(new PathAnimation(flightTime, stage.clock, false, path, node.release(), true), false,
                          false);
    return flightTime;
}

void ShotPresentation::addEffect(AnimationManager& sequence, Projectile& projectile, const Vector& impact,
                                 long start)
{
    const std::string& weapon = stage.characters.getWeapon();
    stage.sounds.getSoundCues().add(start, effectSound(weapon.c_str()), scenePlace(impact));
    // The spell makes its effect with the view's animations.
    projectile.setEffects(&effects);
    sequence.addAnimation(projectile.getAnimation(EFFECT_LENGTH, stage.clock, impact), false, false);
}

long ShotPresentation::addFragments(AnimationManager& sequence, Projectile& projectile, long start)
{
    const std::vector<SpellFragment>& fragments = projectile.getFragments();
    const Vector split = fragments.front().path.front();
    auto* parts = new ParralelAnimation(stage.clock);
    const std::string& weapon = stage.characters.getWeapon();
    SoundCues& cues = stage.sounds.getSoundCues();
    cues.add(start, splitSound(weapon.c_str()), scenePlace(split));
    projectile.setEffects(&effects);
    parts->addAnimation(projectile.getAnimation(EFFECT_LENGTH, stage.clock, split));
    // The phase starts where the sequence ends now; a sequence places its
    // children when they are added, so each fragment's starts there too.
    const long phaseStart = sequence.getStart() + SHOT_START_DELAY + sequence.getLength();
    long longest = 0;
    for (const SpellFragment& fragment : fragments) {
        // Each fragment's own sequence: its flight, then its blast.
        auto* own = new AnimationManager(stage.clock);
        own->setStart(phaseStart);
        const long flight = addFlight(*own, fragment.path, makeFlyingNode("fireball"));
        cues.add(start + flight, effectSound(weapon.c_str()), scenePlace(fragment.path.back()));
        fragment.projectile->setEffects(&effects);
        own->addAnimation(fragment.projectile->getAnimation(EFFECT_LENGTH, stage.clock, fragment.path.back()), false,
                          false);
        parts->addAnimation(own);
        longest = std::max(longest, flight);
    }
    sequence.addAnimation(parts, false, false);
    return longest;
}

void ShotPresentation::addReactions(const ShotAftermath& aftermath, long now, long delay)
{
    const long start = now + delay;
    SoundCues& cues = stage.sounds.getSoundCues();
    for (const auto& [id, damage] : aftermath.damages) {
        const Player* player = stage.characters.findPlayer(id);
        if (aftermath.killedPlayers.count(id) == 0 && player != nullptr && !player->isDead()) {
            stage.characters.animate(id, "hurt", CHARACTER_ANIMATION, delay, false);
            cues.add(start, Sound::hurt, casterMiddle(*player, aftermath.playerFalls, id));
        }
    }
    stage.aids.addDamageNumbers(aftermath.damages, aftermath.killedPlayers, aftermath.playerFalls, start);
    stage.healthBars.addHits(aftermath.damages, start);
    std::cout << "Dead Players: " << aftermath.killedPlayers.size() << std::endl;
    for (int id : aftermath.killedPlayers) {
        std::cout << id << std::endl;
        stage.characters.animate(id, "death", CHARACTER_ANIMATION, delay, true);
        if (const Player* player = stage.characters.findPlayer(id)) {
            cues.add(start, Sound::death, casterMiddle(*player, aftermath.playerFalls, id));
        }
    }
}

void ShotPresentation::addDebris(AnimationManager& sequence, const std::set<Vector>& cells)
{
    // Destroyed blocks are flung away; their path animations own them now.
    auto* debris = new ParralelAnimation(stage.clock);
    for (const Vector& cell : cells) {
        std::unique_ptr<GraphicNode> node = stage.terrain.takeBlock(cell, nullptr);
        if (node == nullptr) {
            continue;
        }
        debris->addAnimation(new PathAnimation(DEBRIS_FLIGHT, stage.clock, false,
                                               createExplosionPath(cell + Vector(0.5, 0, 0.5)), node.release(),
                                               false));
    }
    sequence.addAnimation(debris, true, false);
}

void ShotPresentation::addBlockFalls(AnimationManager& sequence, const std::map<Vector, int>& falls, long start)
{
    // Loose blocks drop into their new cells; they rejoin the terrain later.
    // One sound as they start to fall, and one for the blocks that land
    // together, at each moment blocks land.
    std::map<int, std::vector<Vector>> landingsByFall;
    auto* drops = new ParralelAnimation(stage.clock);
    for (const auto& [cell, fall] : falls) {
        TerrainChunks::Block block = TerrainChunks::EMPTY;
        std::unique_ptr<GraphicNode> node = stage.terrain.takeBlock(cell, &block);
        if (node == nullptr) {
            continue;
        }
        const Vector landing = cell - Vector(0, fall, 0);
        drops->addAnimation(new PathAnimation(fall * BLOCK_FALL_PER_CELL, stage.clock, false,
                                              {cell + Vector(0.5, 0, 0.5), landing + Vector(0.5, 0, 0.5)},
                                              node.release(), false));
        stage.terrain.addPendingBlock(landing, block);
        landingsByFall[fall].push_back(landing);
    }
    SoundCues& cues = stage.sounds.getSoundCues();
    if (!landingsByFall.empty()) {
        std::vector<Vector> starts;
        for (const auto& [cell, fall] : falls) {
            starts.push_back(cell);
        }
        cues.add(start, Sound::blockFall, blocksMiddle(starts));
    }
    for (const auto& [fall, landings] : landingsByFall) {
        cues.add(start + fall * BLOCK_FALL_PER_CELL, Sound::blockLand, blocksMiddle(landings));
    }
    // Only now: a block may land in the cell another one has just left.
    stage.terrain.bookPendingBlocks();
    sequence.addAnimation(drops, true, true);
}

void ShotPresentation::addPlayerFalls(AnimationManager& sequence, const std::map<int, int>& falls, long start)
{
    // Falling characters are drawn by their animation until it ends, then
    // go back to the scene; each lands with a thud.
    auto* drops = new ParralelAnimation(stage.clock);
    for (const auto& [id, fall] : falls) {
        const Player* player = stage.characters.findPlayer(id);
        if (stage.characters.getPlayerNode(id) == nullptr || player == nullptr) {
            continue;
        }
        const Vector& p = player->getPosition();
        const double w = player->getWidth();
        GraphicNode* node = stage.characters.detachCharacter(id);
        const Vector top = p + Vector(0, fall, 0);
        auto* drop = new PathAnimation(fall * PLAYER_FALL_PER_CELL, stage.clock, false,
                                       {top + Vector(w / 2, 0, w / 2), top + Vector(w / 2, -fall, w / 2)}, node,
                                       false);
        stage.characters.lowerCannon(id, fall);
        drop->setContinuation(stage.characters.getSceneNode());
        drops->addAnimation(drop);
        stage.sounds.getSoundCues().add(start + fall * PLAYER_FALL_PER_CELL, Sound::blockLand,
                                        scenePlace(p + Vector(w / 2, 0, w / 2)));
    }
    sequence.addAnimation(drops, true, true);
}

void ShotPresentation::followWithCamera(const std::list<Vector>& path, long flightStart, long flightEnd,
                                        long holdEnd)
{
    // The automatic camera rides along with the projectile and holds on the
    // impact while everything after it plays, damage numbers included; the
    // flight loop rides along too.
    std::vector<Vector> scenePath;
    for (const Vector& point : path) {
        scenePath.push_back(scenePlace(point));
    }
    stage.sounds.getSoundCues().addFlight(scenePath, flightStart, flightEnd);
    stage.camera.onShot(scenePath, flightStart, flightEnd, holdEnd);
}

std::list<Vector> ShotPresentation::createExplosionPath(Vector centre)
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

void ShotPresentation::renderTrajectory(bool debug) const
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

const std::list<Vector>& ShotPresentation::getTrajectory() const
{
    return trajectory;
}

const SpellEffects& ShotPresentation::getSpellEffects() const
{
    return effects;
}

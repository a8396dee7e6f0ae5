// SPDX-License-Identifier: GPL-3.0-or-later
// A shot as the view shows it: one timed sequence of the cast, the flight, the
// spell's effect, the flung debris, the falling blocks and the falling
// characters, with the characters' reactions, the damage numbers, the sounds
// and the automatic camera kept to it. Each phase is built by a step of its
// own, so that a shot of another shape can put the same steps together.
#pragma once

#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "animation/EffectAnimations.h"
#include "math/Vector.h"
#include "view/ShotAftermath.h"

class AnimationManager;
class GraphicNode;
class HealthBars;
class PlayingAids;
class Projectile;
class SpellEffects;
class TimeSystem;
class ViewAnimations;
class ViewCamera;
class ViewCharacters;
class ViewResources;
class ViewSounds;
class ViewTerrain;

// The parts of the view a shot moves; none owned, all outliving the shots.
struct ShotStage {
    TimeSystem& clock;
    const ViewResources& resources;
    ViewAnimations& animations;
    ViewCharacters& characters;
    ViewTerrain& terrain;
    ViewSounds& sounds;
    PlayingAids& aids;
    HealthBars& healthBars;
    ViewCamera& camera;
};

class ShotPresentation {
public:
    explicit ShotPresentation(const ShotStage& stage);

    // Shows casterId's shot along path (model coordinates, from the nose to
    // the impact) and what it did. projectile: not owned; makes the effect.
    void present(int casterId, Projectile* projectile, const std::list<Vector>& path, const ShotAftermath& aftermath);

    // The arc of one destroyed block flung from centre; eleven points.
    static std::list<Vector> createExplosionPath(Vector centre);
    // The last shot's path, in debug mode.
    void renderTrajectory(bool debug) const;
    const std::list<Vector>& getTrajectory() const;
    // What the shots' spells make their effect animations with.
    const SpellEffects& getSpellEffects() const;

private:
    // The node that flies along a shot's path: the mesh of that key, turned
    // so that its tail trails behind the flight.
    std::unique_ptr<GraphicNode> makeFlyingNode(const std::string& mesh) const;
    // The steps, each adding its phase to sequence; the ticks are the view
    // clock's. A flight along path at the shot's pace; returns its length.
    long addFlight(AnimationManager& sequence, const std::list<Vector>& path, std::unique_ptr<GraphicNode> node);
    void addEffect(AnimationManager& sequence, Projectile& projectile, const Vector& impact, long start);
    // A spell that broke apart at the end of its flight: its burst there, then
    // each fragment's flight and its blast where it lands, side by side.
    // Returns the end of the last fragment's flight, ticks after start.
    long addFragments(AnimationManager& sequence, Projectile& projectile, long start);
    void addCast(int casterId, const std::map<int, int>& falls, long now);
    // The characters hit react delay ticks after now.
    void addReactions(const ShotAftermath& aftermath, long now, long delay);
    void addDebris(AnimationManager& sequence, const std::set<Vector>& cells);
    void addBlockFalls(AnimationManager& sequence, const std::map<Vector, int>& falls, long start);
    void addPlayerFalls(AnimationManager& sequence, const std::map<int, int>& falls, long start);
    void followWithCamera(const std::list<Vector>& path, long flightStart, long flightEnd, long holdEnd);

    ShotStage stage;
    EffectAnimations effects;
    std::list<Vector> trajectory;
    double pace = 0.0; // ticks per cell of the shot being added
};

// SPDX-License-Identifier: GPL-3.0-or-later
// The meteor's flight to the top of its arc, its split into three fireballs,
// and their blasts on the battlefield as it was before any of them landed.
#include "model/Meteor.h"

#include "model/ArenaModel.h"
#include "model/RadiusBomb.h"
#include "model/SpellEffects.h"

namespace {

constexpr double FRAGMENT_TURN = 15.0; // degrees about the vertical
constexpr double FRAGMENT_RADIUS = 2.0 / 3.0; // of the fireball's
constexpr double SPLIT_BURST_RADIUS = 1.0 / 3.0; // of the fireball's

} // namespace

Meteor::Meteor(double radiusBombSize)
    : radius(radiusBombSize)
{
}

std::list<Vector> Meteor::fly(const ArenaModel& model, const Vector& start, const Vector& velocity,
                              const Vector& acceleration)
{
    fragments.clear();
    Vector speedAtTop;
    bool reachedTop = false;
    std::list<Vector> path = model.createTrajectoryToTop(start, velocity, acceleration, speedAtTop, reachedTop);
    if (!reachedTop) {
        // It hit something, or never turned down, before a top.
        return path;
    }
    const Vector split = path.back();
    for (double turn : {FRAGMENT_TURN, 0.0, -FRAGMENT_TURN}) {
        Vector speed = speedAtTop;
        if (turn != 0.0) {
            speed.rotate(turn, 0, 1, 0);
        }
        SpellFragment fragment;
        fragment.path = model.createTrajectory(split, speed, acceleration);
        fragment.projectile = std::make_unique<RadiusBomb>(radius * FRAGMENT_RADIUS);
        fragment.projectile->setEffects(effects);
        fragments.push_back(std::move(fragment));
    }
    return path;
}

const std::vector<SpellFragment>& Meteor::getFragments() const
{
    return fragments;
}

void Meteor::setEffects(const SpellEffects* makers)
{
    Projectile::setEffects(makers);
    for (SpellFragment& fragment : fragments) {
        fragment.projectile->setEffects(makers);
    }
}

void Meteor::onImpact(ArenaModel& model, const Vector& impact, std::set<Vector>& affectedCells,
                      std::map<int, double>& damages)
{
    if (fragments.empty()) {
        RadiusBomb(radius).onImpact(model, impact, affectedCells, damages);
        return;
    }
    // Every blast hits: a player caught by two takes both.
    for (SpellFragment& fragment : fragments) {
        std::map<int, double> blastDamages;
        fragment.projectile->onImpact(model, fragment.path.back(), affectedCells, blastDamages);
        for (const auto& [id, damage] : blastDamages) {
            damages[id] += damage;
        }
    }
}

Animation* Meteor::getAnimation(long length, TimeSystem& clock, Vector position)
{
    if (effects == nullptr) {
        return nullptr;
    }
    const double blastRadius = fragments.empty() ? radius : radius * SPLIT_BURST_RADIUS;
    return effects->blast(length, clock, blastRadius, position);
}

bool Meteor::hasSplit() const
{
    return !fragments.empty();
}

double Meteor::getRadius() const
{
    return radius;
}

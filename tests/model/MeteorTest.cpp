// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "model/Meteor.h"
#include "model/RadiusBomb.h"
#include "support/Battlefield.h"
#include "support/ModelChecks.h"

namespace {

constexpr double RADIUS = 3.0;

// Degrees from +x towards +z of a step's horizontal part.
double heading(const Vector& step)
{
    return std::atan2(step.z, step.x) * 180.0 / M_PI;
}

Vector firstStep(const std::list<Vector>& path)
{
    return *std::next(path.begin()) - path.front();
}

} // namespace

// Over the flat plateau: rising, level, then the top, where three fragments
// part at 15 degrees and blast with two thirds of the radius; the blocks of
// the three blasts go together and a player caught by several takes each.
TEST(Meteor, SplitsAtTheTopIntoThreeBlastsWhoseDamagesAdd)
{
    Battlefield field(2, 15, 15, 20);
    field.model.setWind(Vector());
    field.stand(0, 0, 0);
    field.stand(1, 9, 7);
    const ArenaModel before(field.model);
    Meteor meteor(RADIUS);
    // Steps rise 0.98, then 0, then fall: the top is the start of the third.
    const Vector start(4.0, 17.0, 7.5);
    const ShotOutcome outcome = field.model.resolveFlight(&meteor, start, Vector(1.5, 1.96, 0));

    ASSERT_TRUE(meteor.hasSplit());
    EXPECT_EQ(outcome.trajectory.size(), 3u);
    EXPECT_EQ(outcome.trajectory.back(), start + Vector(3.0, 0.98, 0));
    const std::vector<SpellFragment>& fragments = meteor.getFragments();
    ASSERT_EQ(fragments.size(), 3u);
    std::set<Vector> cells;
    std::map<int, double> added;
    ArenaModel unchanged(before);
    for (std::size_t i = 0; i < fragments.size(); ++i) {
        const SpellFragment& fragment = fragments[i];
        EXPECT_EQ(fragment.path.front(), outcome.trajectory.back());
        EXPECT_NEAR(heading(firstStep(fragment.path)), -15.0 + 15.0 * static_cast<double>(i), 1e-4) << i;
        EXPECT_NEAR(std::hypot(firstStep(fragment.path).x, firstStep(fragment.path).z), 1.5, 1e-9);
        const auto* blast = dynamic_cast<const RadiusBomb*>(fragment.projectile.get());
        ASSERT_NE(blast, nullptr);
        EXPECT_DOUBLE_EQ(blast->getRadius(), 2.0);
        EXPECT_LT(fragment.path.back().y, fragment.path.front().y);
        std::map<int, double> damages;
        RadiusBomb(2.0).onImpact(unchanged, fragment.path.back(), cells, damages);
        for (const auto& [id, damage] : damages) {
            added[id] += damage;
        }
    }
    std::set<Vector> solid;
    for (const Vector& cell : cells) {
        if (before.isInsideGrid(cell) && before.testGround(cell)) {
            solid.insert(cell);
        }
    }
    EXPECT_EQ(outcome.removedBlocks, solid);
    ASSERT_GT(added.count(1), 0u);
    const auto fall = outcome.playerFalls.find(1);
    const double fallDamage = fall == outcome.playerFalls.end() ? 0.0 : std::pow(2.0, fall->second);
    EXPECT_DOUBLE_EQ(outcome.damages.at(1), added.at(1) + fallDamage);
    EXPECT_GT(added.at(1), 100.0); // more than one blast reached it
    EXPECT_EQ(columnInvariantViolation(field.model), "");
}

// Into a caster while still rising: one blast there, the fireball's own.
TEST(Meteor, AStrikeBeforeTheTopBlastsOnceAsAFireball)
{
    Battlefield field(2, 15, 15, 20);
    field.model.setWind(Vector());
    field.stand(0, 0, 0);
    field.stand(1, 6, 7);
    const Vector start(4.5, 15.2, 7.5);
    const Vector velocity(2.0, 2.0, 0.0);
    ArenaModel asFireball(field.model);
    RadiusBomb fireball(RADIUS);
    const ShotOutcome expected = asFireball.resolveFlight(&fireball, start, velocity);

    Meteor meteor(RADIUS);
    const ShotOutcome outcome = field.model.resolveFlight(&meteor, start, velocity);
    EXPECT_FALSE(meteor.hasSplit());
    EXPECT_TRUE(meteor.getFragments().empty());
    EXPECT_EQ(outcome.trajectory, expected.trajectory);
    EXPECT_EQ(outcome.removedBlocks, expected.removedBlocks);
    EXPECT_EQ(outcome.damages, expected.damages);
    EXPECT_GE(outcome.damages.at(1), 100.0);
    EXPECT_EQ(field.model.getDigest(), asFireball.getDigest());
}

// A shot whose first step already falls splits at its start, and the
// listeners hear of a path that ends there.
TEST(Meteor, AShotFallingFromTheStartSplitsAtTheCannonsNose)
{
    Battlefield field(1, 15, 15, 20);
    field.model.setWind(Vector());
    field.stand(0, 3, 3);
    const Vector nose = field.player(0).getCannonNose(45.0, -30.0);
    Meteor meteor(RADIUS);
    field.model.throwProjectile(0, &meteor, 45.0, -30.0, 1.0);
    ASSERT_TRUE(meteor.hasSplit());
    EXPECT_EQ(field.listener.lastTrajectory, std::list<Vector>{nose});
}

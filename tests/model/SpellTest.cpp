// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "animation/EffectAnimations.h"
#include "animation/HorizontalNovaAnimation.h"
#include "animation/RadiusBombAnimation.h"
#include "animation/VerticalStrikeAnimation.h"
#include "model/HorizontalNova.h"
#include "model/RadiusBomb.h"
#include "model/VerticalStrike.h"
#include "support/Battlefield.h"
#include "support/ModelChecks.h"
#include "support/ScriptedClock.h"

namespace {

struct Impact {
    std::set<Vector> cells;
    std::map<int, double> damages;
};

Impact impactOf(Projectile& spell, ArenaModel& model, const Vector& point)
{
    Impact result;
    spell.onImpact(model, point, result.cells, result.damages);
    return result;
}

// The default box's centre and half diagonal.
const double HALF_DIAGONAL = std::sqrt(1 + 1.8 * 1.8 + 1) / 2;

} // namespace

TEST(RadiusBomb, DamageFallsOffLinearlyBeyondTheBox)
{
    // Along the box's diagonal directions the blast box always overlaps.
    const Vector direction = Vector(1, 1, 1).getNormalizedCopy();
    for (auto [distance, damage] : {std::pair{2.5, 54.82}, std::pair{3.0, 38.15},
                                    std::pair{4.0, 4.82}}) {
        Battlefield field(1, 15, 15, 20);
        field.player(0).setPosition(Vector(5, 3, 5));
        const Vector centre(5.5, 3.9, 5.5);
        RadiusBomb bomb(3.0);
        Impact impact = impactOf(bomb, field.model, centre + direction * distance);
        ASSERT_EQ(impact.damages.count(0), 1u) << distance;
        EXPECT_NEAR(impact.damages.at(0), damage, 0.01) << distance;
        EXPECT_NEAR(impact.damages.at(0), (3.0 + HALF_DIAGONAL - distance) / 3.0 * 100, 1e-9);
    }
}

TEST(RadiusBomb, CloseBlastsDoFullDamageAndFarOnesNone)
{
    const Vector direction = Vector(1, 1, 1).getNormalizedCopy();
    Battlefield field(1, 15, 15, 20);
    field.player(0).setPosition(Vector(5, 3, 5));
    const Vector centre(5.5, 3.9, 5.5);
    RadiusBomb bomb(3.0);
    EXPECT_EQ(impactOf(bomb, field.model, centre + direction * 1.0).damages.at(0), 100.0);
    EXPECT_EQ(impactOf(bomb, field.model, centre + direction * (3.0 + HALF_DIAGONAL)).damages.count(0),
              0u);
    // Within the sphere but outside the blast box: along x, 4 from the centre.
    EXPECT_EQ(impactOf(bomb, field.model, centre + Vector(4.0, 0, 0)).damages.count(0), 0u);
}

TEST(RadiusBomb, ADirectHitAnywhereInTheBoxIsFullDamage)
{
    Battlefield field(1, 15, 15, 20);
    field.player(0).setPosition(Vector(5, 3, 5));
    for (double radius : {0.0, 3.0}) {
        RadiusBomb bomb(radius);
        Impact corner = impactOf(bomb, field.model, Vector(5, 3, 5));
        EXPECT_EQ(corner.damages.at(0), 100.0) << radius;
        Impact far = impactOf(bomb, field.model, Vector(5.999, 4.799, 5.999));
        EXPECT_EQ(far.damages.at(0), 100.0) << radius;
    }
}

TEST(RadiusBomb, RadiusZeroMarksOnlyTheImpactCell)
{
    Battlefield field(2, 15, 15, 20);
    field.player(0).setPosition(Vector(5, 15, 5));
    field.player(1).setPosition(Vector(7, 15, 5));
    RadiusBomb bomb(0.0);
    Impact impact = impactOf(bomb, field.model, Vector(6.5, 14.5, 5.5));
    EXPECT_EQ(impact.cells, (std::set<Vector>{Vector(6, 14, 5)}));
    EXPECT_TRUE(impact.damages.empty());
}

TEST(RadiusBomb, MarksSolidCellsWithinTheRadiusTouchingTheBlastBox)
{
    Battlefield field(0, 15, 15, 20);
    RadiusBomb bomb(3.0);
    Impact impact = impactOf(bomb, field.model, Vector(5.5, 5.5, 5.5));
    for (Vector marked : {Vector(5, 5, 5), Vector(5, 5, 8), Vector(8, 5, 5), Vector(2, 5, 5),
                          Vector(3, 3, 3), Vector(2, 3, 5)}) {
        EXPECT_EQ(impact.cells.count(marked), 1u) << marked;
    }
    for (Vector spared : {Vector(5, 5, 9), Vector(2, 2, 5), Vector(2, 2, 2), Vector(9, 5, 5)}) {
        EXPECT_EQ(impact.cells.count(spared), 0u) << spared;
    }
    // Every marked cell is solid and near enough.
    for (const Vector& cell : impact.cells) {
        EXPECT_TRUE(field.model.testGround(cell));
        EXPECT_LE((cell + Vector(0.5, 0.5, 0.5) - Vector(5.5, 5.5, 5.5)).getLength(),
                  3.0 + std::sqrt(3.0) / 2 + 1e-12);
    }
}

TEST(RadiusBomb, EmptyCellsAreNotMarked)
{
    Battlefield field(0, 15, 15, 20);
    RadiusBomb bomb(3.0);
    // The plateau is 15 high: apart from the impact cell itself, which is
    // always marked, nothing above y = 14 is.
    Impact impact = impactOf(bomb, field.model, Vector(5.5, 15.5, 5.5));
    for (const Vector& cell : impact.cells) {
        if (cell != Vector(5, 15, 5)) {
            EXPECT_LT(cell.y, 15.0);
        }
    }
    EXPECT_EQ(impact.cells.count(Vector(5, 15, 5)), 1u);
    EXPECT_FALSE(impact.cells.empty());
}

TEST(HorizontalNova, MarksTheWholeLayerAndHalvesThePlayersInIt)
{
    Battlefield field(4, 15, 15, 20);
    field.player(0).setPosition(Vector(1, 3, 1));  // box 3 to 4.8: in the layer
    field.player(1).setPosition(Vector(9, 4, 9));  // 4 to 5.8: in the layer
    field.player(2).setPosition(Vector(2, 5, 9));  // above it
    field.player(3).setPosition(Vector(12, 2, 3)); // 2 to 3.8: below it
    field.player(0).damage(40);
    HorizontalNova nova;
    Impact impact = impactOf(nova, field.model, Vector(6.2, 4.7, 11.9));
    EXPECT_EQ(impact.cells.size(), 15u * 15u);
    for (const Vector& cell : impact.cells) {
        EXPECT_EQ(cell.y, 4.0);
    }
    EXPECT_EQ(impact.damages, (std::map<int, double>{{0, 30.0}, {1, 50.0}}));
    EXPECT_EQ(nova.getWidth(), 15);
    EXPECT_EQ(nova.getDepth(), 15);
}

TEST(HorizontalNova, NeverKillsItsVictim)
{
    Battlefield field(2, 15, 15, 20);
    field.stand(0, 3, 3);
    field.stand(1, 9, 9);
    field.player(1).damage(99);
    HorizontalNova nova;
    testing::internal::CaptureStdout();
    // Aimed at the layer under player 1's feet: it falls one cell too.
    field.model.throwProjectile(1, &nova, 0, -90, 0);
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(field.listener.lastRemovedBlocks.empty());
    EXPECT_EQ(field.listener.lastDamages.count(1), 1u);
}

TEST(HorizontalNova, APlayerWithOneHitPointKeepsHalf)
{
    Battlefield field(1, 15, 15, 20);
    field.player(0).setPosition(Vector(3, 14, 3));
    field.player(0).damage(99);
    HorizontalNova nova;
    Impact impact = impactOf(nova, field.model, Vector(7.5, 14.5, 7.5));
    EXPECT_EQ(impact.damages.at(0), 0.5);
}

TEST(HorizontalNova, AnImpactJustBelowTheFloorTakesTheFloorLayer)
{
    Battlefield field(0, 6, 4, 20);
    HorizontalNova nova;
    Impact impact = impactOf(nova, field.model, Vector(2.5, -0.4, 1.5));
    EXPECT_EQ(impact.cells.size(), 24u);
    EXPECT_EQ(impact.cells.count(Vector(5, 0, 3)), 1u);
}

TEST(VerticalStrike, DestroysTheColumnAndKillsItsPlayers)
{
    Battlefield field(3, 15, 15, 20);
    field.stand(0, 4, 4);
    field.player(1).setPosition(Vector(4.5, 3, 3.6)); // overlaps column (4, 4)
    field.stand(2, 5, 4);
    VerticalStrike strike;
    Impact impact = impactOf(strike, field.model, Vector(4.2, 15.0, 4.7));
    EXPECT_EQ(impact.cells.size(), 20u);
    for (int y = 0; y < 20; ++y) {
        EXPECT_EQ(impact.cells.count(Vector(4, y, 4)), 1u);
    }
    EXPECT_EQ(impact.damages, (std::map<int, double>{{0, 100.0}, {1, 100.0}}));
    EXPECT_EQ(strike.getHeight(), 20);
}

TEST(VerticalStrike, PlayersOnTheStruckColumnFallToTheFloorAndDie)
{
    Battlefield field(2, 15, 15, 20);
    field.stand(0, 10, 10);
    field.stand(1, 4, 4);
    VerticalStrike strike;
    testing::internal::CaptureStdout();
    // Straight down from a cannon above column (4, 4): aim from player 0 is
    // awkward, so fire with player 1 straight down onto its own column.
    field.model.throwProjectile(1, &strike, 0, -90, 1);
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(field.listener.lastRemovedBlocks.size(), 15u);
    EXPECT_EQ(field.player(1).getPosition(), Vector(4, 0, 4));
    EXPECT_TRUE(field.player(1).isDead());
    EXPECT_EQ(field.listener.lastKilledPlayers, (std::set<int>{1}));
    EXPECT_EQ(columnHeight(field.model, 4, 4), 0);
    EXPECT_EQ(columnInvariantViolation(field.model), "");
}

TEST(VerticalStrike, AShotLeavingThroughTheTopStillStrikesTheColumnBelow)
{
    Battlefield field(1, 15, 15, 20);
    field.stand(0, 6, 6);
    VerticalStrike strike;
    Impact impact = impactOf(strike, field.model, Vector(6.3, 20.0, 6.8));
    EXPECT_EQ(impact.cells.count(Vector(6, 14, 6)), 1u);
    EXPECT_EQ(impact.damages.at(0), 100.0);
}

TEST(VerticalStrike, AnImpactJustOutsideALowFaceTakesTheOuterColumn)
{
    Battlefield field(0, 15, 15, 20);
    VerticalStrike strike;
    Impact impact = impactOf(strike, field.model, Vector(-0.3, 5.0, 7.5));
    EXPECT_EQ(impact.cells.count(Vector(0, 0, 7)), 1u);
}

TEST(SpellAnimations, EachSpellMakesItsOwnEffectSizedAtImpact)
{
    ScriptedClock clock(0);
    TimeSystem view;
    view.play();
    Battlefield field(0, 9, 7, 12);

    HorizontalNova nova;
    VerticalStrike strike;
    // The view's makers, as it hands them to the spell of a shot it shows.
    EffectAnimations makers;
    nova.setEffects(&makers);
    strike.setEffects(&makers);
    std::unique_ptr<Animation> fresh(nova.getAnimation(1000, view, Vector(1, 1, 1)));
    EXPECT_NE(dynamic_cast<HorizontalNovaAnimation*>(fresh.get()), nullptr);
    EXPECT_EQ(nova.getWidth(), 1);
    EXPECT_EQ(nova.getDepth(), 1);
    EXPECT_EQ(strike.getHeight(), 10);

    impactOf(nova, field.model, Vector(1, 1, 1));
    impactOf(strike, field.model, Vector(1, 1, 1));
    EXPECT_EQ(nova.getWidth(), 9);
    EXPECT_EQ(nova.getDepth(), 7);
    EXPECT_EQ(strike.getHeight(), 12);

    RadiusBomb bomb(2.5);
    bomb.setEffects(&makers);
    std::unique_ptr<Animation> blast(bomb.getAnimation(1000, view, Vector(4, 2, 6)));
    std::unique_ptr<Animation> whirl(strike.getAnimation(1000, view, Vector(4, 2, 6)));
    EXPECT_NE(dynamic_cast<RadiusBombAnimation*>(blast.get()), nullptr);
    EXPECT_NE(dynamic_cast<VerticalStrikeAnimation*>(whirl.get()), nullptr);
    EXPECT_EQ(blast->getLength(), 1000);
    EXPECT_EQ(whirl->getLength(), 1000);
}

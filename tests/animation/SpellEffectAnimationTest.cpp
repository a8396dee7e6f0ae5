// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "animation/HorizontalNovaAnimation.h"
#include "animation/RadiusBombAnimation.h"
#include "animation/VerticalStrikeAnimation.h"
#include "support/RecordingAnimation.h"

TEST(RadiusBombAnimation, GrowsPastTheBlastRadiusAndFadesInTheLastQuarter)
{
    Clocks clocks;
    RadiusBombAnimation bomb(1000, clocks.time, 3.0, Vector(4, 2, 6));
    EXPECT_FALSE(bomb.isLooping());
    struct Expected {
        long tick;
        double size;
        double alpha;
    };
    for (Expected expected : {Expected{0, 0.0, 1.0}, Expected{375, 1.5, 1.0}, Expected{750, 3.0, 1.0},
                              Expected{875, 3.5, 0.5}, Expected{1000, 4.0, 0.0}, Expected{2000, 4.0, 0.0}}) {
        clocks.clock.set(expected.tick);
        EXPECT_NEAR(bomb.getSize(), expected.size, 1e-12) << expected.tick;
        EXPECT_NEAR(bomb.getAlpha(), expected.alpha, 1e-12) << expected.tick;
    }
}

TEST(HorizontalNovaAnimation, SpreadsOverWidthAlongXAndDepthAlongZ)
{
    Clocks clocks;
    HorizontalNovaAnimation square(1000, clocks.time, Vector(7, 3, 7), 15, 15);
    EXPECT_FALSE(square.isLooping());
    Vector scale = square.getScale();
    EXPECT_EQ(scale.x, 0.0);
    EXPECT_DOUBLE_EQ(scale.y, 0.3);
    EXPECT_EQ(scale.z, 0.0);
    clocks.clock.set(500);
    scale = square.getScale();
    EXPECT_DOUBLE_EQ(scale.x, 7.5);
    EXPECT_DOUBLE_EQ(scale.y, 0.3);
    EXPECT_DOUBLE_EQ(scale.z, 7.5);

    HorizontalNovaAnimation oblong(1000, clocks.time, Vector(7, 3, 7), 12, 4);
    clocks.clock.set(1250);
    scale = oblong.getScale();
    EXPECT_DOUBLE_EQ(scale.x, 9.0);
    EXPECT_DOUBLE_EQ(scale.z, 3.0);
}

TEST(VerticalStrikeAnimation, TurnsAboutTheCentreOfTheImpactCell)
{
    Clocks clocks;
    VerticalStrikeAnimation strike(1000, clocks.time, Vector(3.7, 5.2, 8.9), 1000, 20);
    EXPECT_FALSE(strike.isLooping());
    EXPECT_EQ(strike.getCenter(), Vector(3.5, 5.5, 8.5));
    EXPECT_EQ(strike.getParticleCount(), 1000);
    // Not yet alive: each one is drawn anew the first time it is used.
    EXPECT_EQ(strike.getParticle(0).expiry, -1.0);
    EXPECT_EQ(strike.getParticle(999).expiry, -1.0);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include <sstream>

#include <gtest/gtest.h>

#include "model/Player.h"

namespace {

Player defaultPlayer(Vector position = Vector(3, 5, 7))
{
    return Player("Torva Murk", position, 1.0, 1.8, Vector(0.5, 0.9, 0.5), 1.15);
}

} // namespace

TEST(PlayerCannon, TheDefaultBaseIsTheBoxCentreForEveryYaw)
{
    Player player = defaultPlayer();
    for (double yaw : {0.0, 45.0, 90.0, 180.0, 270.0, -30.0, 720.0}) {
        Vector base = player.getCannonPosition(yaw);
        EXPECT_NEAR(base.x, 3.5, 1e-12) << yaw;
        EXPECT_NEAR(base.y, 5.9, 1e-12) << yaw;
        EXPECT_NEAR(base.z, 7.5, 1e-12) << yaw;
    }
}

TEST(PlayerCannon, AnOffCentreBaseCirclesTheCentreLine)
{
    Player player("A", Vector(0, 0, 0), 1.0, 1.0, Vector(0.5, 1, 0), 1.0);
    Vector base = player.getCannonPosition(0);
    EXPECT_NEAR(base.x, 0.5, 1e-12);
    EXPECT_NEAR(base.y, 1.0, 1e-12);
    EXPECT_NEAR(base.z, 0.0, 1e-12);
    // A quarter turn about y takes the -z offset to -x.
    base = player.getCannonPosition(90);
    EXPECT_NEAR(base.x, 0.0, 1e-5);
    EXPECT_NEAR(base.z, 0.5, 1e-5);
}

TEST(PlayerCannon, NoseAtYawZeroPitchZeroLiesAlongX)
{
    Player player = defaultPlayer();
    Vector nose = player.getCannonNose(0, 0);
    EXPECT_NEAR(nose.x, 3.5 + 1.15, 1e-12);
    EXPECT_NEAR(nose.y, 5.9, 1e-12);
    EXPECT_NEAR(nose.z, 7.5, 1e-12);
}

TEST(PlayerCannon, PitchNinetyPointsUp)
{
    Player player = defaultPlayer();
    Vector nose = player.getCannonNose(0, 90);
    EXPECT_NEAR(nose.x, 3.5, 1e-5);
    EXPECT_NEAR(nose.y, 5.9 + 1.15, 1e-9);
}

TEST(PlayerCannon, YawTurnsTheNoseAboutTheVerticalAxis)
{
    Player player = defaultPlayer();
    // +x rotated by +90 degrees about y goes to -z.
    Vector nose = player.getCannonNose(90, 0);
    EXPECT_NEAR(nose.x, 3.5, 1e-5);
    EXPECT_NEAR(nose.z, 7.5 - 1.15, 1e-5);
}

TEST(PlayerCannon, TheNoseIsAlwaysOutsideThePlayersOwnBox)
{
    Player player = defaultPlayer();
    for (double yaw = 0; yaw < 360; yaw += 7.5) {
        for (double pitch = -90; pitch <= 90; pitch += 7.5) {
            EXPECT_FALSE(player.isInside(player.getCannonNose(yaw, pitch)))
                << yaw << " " << pitch;
        }
    }
}

TEST(PlayerBox, IsHalfOpen)
{
    Player player = defaultPlayer(Vector(2, 3, 4));
    EXPECT_TRUE(player.isInside(Vector(2, 3, 4)));
    EXPECT_TRUE(player.isInside(Vector(2.999, 4.799, 4.999)));
    EXPECT_FALSE(player.isInside(Vector(3, 3.5, 4.5)));
    EXPECT_FALSE(player.isInside(Vector(2.5, 4.8, 4.5)));
    EXPECT_FALSE(player.isInside(Vector(2.5, 3.5, 5)));
    EXPECT_FALSE(player.isInside(Vector(1.999, 3.5, 4.5)));
}

TEST(PlayerHealth, DamageKillsAtZeroOrBelow)
{
    Player player = defaultPlayer();
    EXPECT_TRUE(player.damage(100));
    EXPECT_EQ(player.getHp(), 0.0);
    EXPECT_TRUE(player.isDead());

    Player other = defaultPlayer();
    EXPECT_FALSE(other.damage(30));
    EXPECT_FALSE(other.damage(30));
    EXPECT_DOUBLE_EQ(other.getHp(), 40.0);
    EXPECT_TRUE(other.damage(50));
    EXPECT_DOUBLE_EQ(other.getHp(), -10.0);
}

TEST(PlayerHealth, RestoreBringsTheDeadBack)
{
    Player player = defaultPlayer();
    player.damage(250);
    player.restore();
    EXPECT_FALSE(player.isDead());
    EXPECT_EQ(player.getHp(), 100.0);
}

TEST(PlayerIdentity, PlayersAreEqualByNameAlone)
{
    Player a = defaultPlayer(Vector(0, 0, 0));
    Player b("Torva Murk", Vector(9, 9, 9), 2.0, 2.0, Vector(), 3.0);
    b.damage(20);
    EXPECT_TRUE(a == b);
    b.setName("Osri Quay");
    EXPECT_FALSE(a == b);
}

TEST(PlayerIdentity, StreamsNameHitPointsAndPosition)
{
    Player player("Osri Quay", Vector(2, 3, 4), 1.0, 1.8, Vector(0.5, 0.9, 0.5), 1.15);
    player.damage(42.5);
    std::ostringstream out;
    out << player;
    EXPECT_EQ(out.str(), "Osri Quay 57.5 at (2, 3, 4)");
}

TEST(PlayerIdentity, AccessorsGiveBackWhatWasStored)
{
    Player player("Nox Wick", Vector(1, 2, 3), 0.5, 0.9, Vector(0.25, 0.5, 0), 0.75);
    EXPECT_EQ(player.getName(), "Nox Wick");
    EXPECT_EQ(player.getPosition(), Vector(1, 2, 3));
    EXPECT_EQ(player.getWidth(), 0.5);
    EXPECT_EQ(player.getHeight(), 0.9);
    EXPECT_EQ(player.getCannonLength(), 0.75);
    EXPECT_EQ(player.getHp(), 100.0);
    player.setPosition(Vector(4, 5, 6));
    EXPECT_EQ(player.getPosition(), Vector(4, 5, 6));
}

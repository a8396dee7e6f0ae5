// SPDX-License-Identifier: GPL-3.0-or-later
// Thousands of random shots: after every one the battlefield must still be a
// proper landscape and every reported collection must agree with the model.
#include <random>

#include <gtest/gtest.h>

#include "app/Main.h"
#include "model/HorizontalNova.h"
#include "model/RadiusBomb.h"
#include "model/VerticalStrike.h"
#include "support/ModelChecks.h"
#include "support/RecordingListener.h"

namespace {

struct Before {
    std::vector<std::vector<int>> heights; // [x][z]
    std::vector<Player> players;
};

Before capture(const ArenaModel& model)
{
    Before before;
    before.heights.assign(model.getWidth(), std::vector<int>(model.getDepth()));
    for (int x = 0; x < model.getWidth(); ++x) {
        for (int z = 0; z < model.getDepth(); ++z) {
            before.heights[x][z] = columnHeight(model, x, z);
        }
    }
    before.players = model.getPlayers();
    return before;
}

void checkShot(const ArenaModel& model, const RecordingListener& report, const Before& before,
               const Vector& nose)
{
    ASSERT_EQ(columnInvariantViolation(model), "");
    ASSERT_GE(report.lastTrajectory.size(), 2u);
    ASSERT_EQ(report.lastTrajectory.front(), nose);

    // Removed cells were solid; each column lost exactly its removed cells.
    std::map<std::pair<int, int>, int> removedPerColumn;
    for (const Vector& cell : report.lastRemovedBlocks) {
        ASSERT_TRUE(model.isInsideGrid(cell)) << cell;
        int x = static_cast<int>(cell.x);
        int z = static_cast<int>(cell.z);
        ASSERT_LT(cell.y, before.heights[x][z]) << cell;
        ++removedPerColumn[std::make_pair(x, z)];
    }
    for (int x = 0; x < model.getWidth(); ++x) {
        for (int z = 0; z < model.getDepth(); ++z) {
            const int removed = removedPerColumn[std::make_pair(x, z)];
            ASSERT_EQ(columnHeight(model, x, z), before.heights[x][z] - removed) << x << " " << z;
        }
    }
    // A block falls by the number of removed blocks beneath it.
    for (const auto& [cell, fall] : report.lastFallingBlocks) {
        ASSERT_EQ(report.lastRemovedBlocks.count(cell), 0u);
        int below = 0;
        for (const Vector& removed : report.lastRemovedBlocks) {
            below += removed.x == cell.x && removed.z == cell.z && removed.y < cell.y;
        }
        ASSERT_EQ(fall, below) << cell;
    }

    for (int id = 0; id < model.getNumberOfPlayers(); ++id) {
        const Player& old = before.players[id];
        const Player& now = model.getPlayer(id);
        int fall = report.lastPlayerFalls.count(id) ? report.lastPlayerFalls.at(id) : 0;
        ASSERT_EQ(now.getPosition(), old.getPosition() - Vector(0, fall, 0)) << id;
        // Everybody still stands on top of its own column.
        int x = static_cast<int>(now.getPosition().x);
        int z = static_cast<int>(now.getPosition().z);
        ASSERT_EQ(now.getPosition().y, columnHeight(model, x, z)) << id;
        if (old.isDead()) {
            ASSERT_EQ(now.getHp(), old.getHp()) << "the dead take no damage";
            ASSERT_EQ(report.lastKilledPlayers.count(id), 0u);
            continue;
        }
        double damage = report.lastDamages.count(id) ? report.lastDamages.at(id) : 0.0;
        ASSERT_DOUBLE_EQ(now.getHp(), old.getHp() - damage) << id;
        ASSERT_EQ(report.lastKilledPlayers.count(id), now.isDead() ? 1u : 0u) << id;
    }
}

// Fires the given number of shots, starting a new game every forty turns
// and whenever fewer than two players are left.
void soak(int players, int width, int depth, int height, int shots, unsigned int seed)
{
    Main::seedRandom(seed);
    std::mt19937 aim(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    ArenaModel model(players, width, depth, height, RandomStream(seed));
    RecordingListener report;
    model.addListener(&report);
    testing::internal::CaptureStdout();
    int fired = 0;
    for (int shot = 0; fired < shots; ++shot) {
        std::vector<int> alive;
        for (int id = 0; id < model.getNumberOfPlayers(); ++id) {
            if (!model.getPlayer(id).isDead()) {
                alive.push_back(id);
            }
        }
        if (shot % 40 == 0 || alive.size() < 2) {
            model.setWindEnabled(unit(aim) < 0.5);
            model.reset();
            continue;
        }
        int shooter = alive[static_cast<std::size_t>(unit(aim) * alive.size())];
        double yaw = unit(aim) * 720 - 360;
        double pitch = unit(aim) * 180 - 90;
        double power = unit(aim) * 100;
        std::unique_ptr<Projectile> spell;
        double pick = unit(aim);
        if (pick < 0.6) {
            spell = std::make_unique<RadiusBomb>(unit(aim) * 5);
        } else if (pick < 0.8) {
            spell = std::make_unique<VerticalStrike>();
        } else {
            spell = std::make_unique<HorizontalNova>();
        }
        Before before = capture(model);
        Vector nose = model.getPlayer(shooter).getCannonNose(yaw, pitch);
        model.throwProjectile(shooter, spell.get(), yaw, pitch, power);
        ++fired;
        checkShot(model, report, before, nose);
        if (testing::Test::HasFatalFailure()) {
            testing::internal::GetCapturedStdout();
            FAIL() << "shot " << shot << " by " << shooter << " yaw " << yaw << " pitch " << pitch
                   << " power " << power;
        }
    }
    testing::internal::GetCapturedStdout();
}

} // namespace

TEST(ShotSoak, DefaultBattlefieldStaysConsistent)
{
    soak(4, 15, 15, 20, 1200, 1);
}

TEST(ShotSoak, SmallCrowdedBattlefieldStaysConsistent)
{
    soak(3, 5, 4, 9, 500, 2);
}

TEST(ShotSoak, LargeBattlefieldStaysConsistent)
{
    soak(8, 40, 30, 48, 500, 3);
}

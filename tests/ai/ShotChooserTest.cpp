// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <new>
#include <random>
#include <sstream>
#include <string>
#include <tuple>

#include "ai/BackgroundChooser.h"
#include "ai/ShotChooser.h"
#include "model/RadiusBomb.h"
#include "model/SpellByName.h"
#include "support/Battlefield.h"

namespace {

constexpr double RADIUS = 3.0;
// Cells between the opponents the meteor is aimed at.
constexpr int SPREAD = 6;

// Casts a choice on a copy of the battlefield, as the game would cast it.
ShotOutcome castOnCopy(const ArenaModel& battlefield, int shooter, const ShotChoice& choice)
{
    std::unique_ptr<Projectile> spell = createSpell(choice.spell, RADIUS);
    ArenaModel copy(battlefield);
    return copy.resolveShot(shooter, spell.get(), choice.yaw, choice.pitch, choice.power);
}

double damageTo(const ShotOutcome& outcome, int id)
{
    const auto found = outcome.damages.find(id);
    return found == outcome.damages.end() ? 0.0 : found->second;
}

ShotChoice choose(const ArenaModel& battlefield, int shooter, ComputerLevel level = ComputerLevel::hard,
                  unsigned int seed = 1)
{
    std::mt19937 stream(seed);
    return chooseShot(battlefield, shooter, level, stream, RADIUS);
}

// Two casters on the plateau (15 high on a 15 x 15 x 20 grid).
class Duel : public testing::Test {
protected:
    Duel()
        : field(2, 15, 15, 20)
    {
    }
    Battlefield field;
};

TEST_F(Duel, HardHitsAnOpponentInPlainReachWithoutTouchingTheBattlefieldOrTheGameStream)
{
    field.stand(0, 3, 7);
    field.stand(1, 11, 7);
    const ArenaModel before(field.model);
    const std::size_t drawn = field.script->drawn();

    testing::internal::CaptureStdout();
    const ShotChoice choice = choose(field.model, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    EXPECT_EQ(field.script->drawn(), drawn);
    EXPECT_TRUE(field.listener.events.empty());
    for (int x = 0; x < 15; ++x) {
        for (int z = 0; z < 15; ++z) {
            for (int y = 0; y < 20; ++y) {
                ASSERT_EQ(field.model.testGround(x, y, z), before.testGround(x, y, z));
            }
        }
    }
    const ShotOutcome outcome = castOnCopy(field.model, 0, choice);
    EXPECT_EQ(outcome.killedPlayers, std::set<int>{1});
    EXPECT_EQ(damageTo(outcome, 0), 0.0);
    EXPECT_GT(choice.score, 100.0);
    EXPECT_LE(choice.power, MAX_SHOT_POWER);
}

TEST_F(Duel, HardNeverCastsAShotThatKillsItselfWhenAnotherHits)
{
    field.stand(0, 6, 7);
    field.stand(1, 8, 7);
    field.player(0).damage(70.0);
    // A fireball on the opponent would take the shooter with it.
    ArenaModel blast(field.model);
    RadiusBomb fireball(RADIUS);
    const Vector opponentCentre = field.model.getPlayer(1).getPosition() + Vector(0.5, 0.9, 0.5);
    ASSERT_TRUE(blast.resolveImpact(&fireball, {opponentCentre}).killedPlayers.count(0) == 1);

    const ShotOutcome outcome = castOnCopy(field.model, 0, choose(field.model, 0));
    EXPECT_EQ(outcome.killedPlayers.count(0), 0u);
    EXPECT_GT(damageTo(outcome, 1), 0.0);
}

// The opponent shelters in a cell under a roof three blocks thick, walled in
// two blocks thick; only a cyclone on its column reaches it.
TEST_F(Duel, AnOpponentUnderARoofIsStruckByACycloneFromAbove)
{
    for (int x = 0; x < 15; ++x) {
        for (int z = 0; z < 15; ++z) {
            if (x < 5 || x > 9 || z < 5 || z > 9) {
                field.lowerColumn(x, z, 10);
            }
        }
    }
    field.model.removeGround(Vector(7, 10, 7));
    field.model.removeGround(Vector(7, 11, 7));
    field.stand(0, 2, 7);
    field.stand(1, 7, 7);
    ASSERT_EQ(field.model.getPlayer(1).getPosition(), Vector(7, 10, 7));

    const ShotChoice choice = choose(field.model, 0);
    EXPECT_EQ(choice.spell, "cyclone");
    const ShotOutcome outcome = castOnCopy(field.model, 0, choice);
    EXPECT_EQ(outcome.killedPlayers, std::set<int>{1});
}

TEST_F(Duel, TheWindIsAimedAgainst)
{
    field.stand(0, 2, 7);
    field.stand(1, 12, 7);
    field.model.setWind(Vector(0, 0, 0.8));

    EXPECT_EQ(castOnCopy(field.model, 0, choose(field.model, 0)).killedPlayers, std::set<int>{1});
    // The shot that kills in still air goes wide in this wind.
    ArenaModel still(field.model);
    still.setWind(Vector());
    const ShotChoice windless = choose(still, 0);
    ASSERT_EQ(castOnCopy(still, 0, windless).killedPlayers, std::set<int>{1});
    EXPECT_TRUE(castOnCopy(field.model, 0, windless).killedPlayers.empty());
}

// Shut in a cell deep under the plateau, the shooter can hit nothing but the
// walls around it: it still gets a shot, and not one that hurts itself.
TEST_F(Duel, AShooterShutInStillGetsAShotThatSparesItself)
{
    field.stand(1, 2, 7);
    field.model.removeGround(Vector(7, 5, 7));
    field.model.removeGround(Vector(7, 6, 7));
    field.player(0).setPosition(Vector(7, 5, 7));

    const ShotOutcome outcome = castOnCopy(field.model, 0, choose(field.model, 0));
    EXPECT_EQ(damageTo(outcome, 0), 0.0);
    EXPECT_LE(outcome.trajectory.size(), 2u);
}

TEST_F(Duel, TheLevelsDrawOnlyFromTheirOwnStreamAndReplayFromIt)
{
    field.stand(0, 3, 7);
    field.stand(1, 11, 7);
    const ShotChoice hard = choose(field.model, 0, ComputerLevel::hard, 1);
    for (ComputerLevel level : {ComputerLevel::normal, ComputerLevel::easy}) {
        const ShotChoice first = choose(field.model, 0, level, 5);
        const ShotChoice again = choose(field.model, 0, level, 5);
        EXPECT_EQ(first.yaw, again.yaw);
        EXPECT_EQ(first.pitch, again.pitch);
        EXPECT_EQ(first.power, again.power);
        EXPECT_EQ(first.spell, again.spell);
        // Aimed off the best shot, by the stream.
        EXPECT_NE(first.yaw, hard.yaw);
        EXPECT_NE(first.yaw, choose(field.model, 0, level, 6).yaw);
    }
    EXPECT_EQ(choose(field.model, 0, ComputerLevel::hard, 2).yaw, hard.yaw);
}

// The shot hard fells the opponent with is one easy holds back from.
TEST_F(Duel, EasyDoesNotFellAnUnhurtOpponentWithOneShot)
{
    field.stand(0, 3, 7);
    field.stand(1, 9, 7);
    ASSERT_EQ(castOnCopy(field.model, 0, choose(field.model, 0)).killedPlayers, std::set<int>{1});
    for (unsigned int seed = 1; seed <= 8; ++seed) {
        const ShotChoice choice = choose(field.model, 0, ComputerLevel::easy, seed);
        EXPECT_TRUE(castOnCopy(field.model, 0, choice).killedPlayers.empty()) << seed;
    }
}

TEST(ShotChooserEasy, MissesMoreOftenThanNotButNotAlways)
{
    int hits = 0;
    constexpr int BATTLEFIELDS = 20;
    for (unsigned int seed = 1; seed <= BATTLEFIELDS; ++seed) {
        Main::seedRandom(seed);
        ArenaModel model(2, 15, 15, 20, RandomStream(seed));
        model.reset();
        if (damageTo(castOnCopy(model, 0, choose(model, 0, ComputerLevel::easy, seed)), 1) > 0.0) {
            ++hits;
        }
    }
    EXPECT_GT(hits, 0);
    EXPECT_LT(hits, BATTLEFIELDS / 2);
}

} // namespace

TEST(BackgroundChooser, ASearchThatThrowsCostsOneLineAndThePlainCast)
{
    Battlefield field(2, 15, 15, 20);
    std::ostringstream errors;
    BackgroundChooser chooser([](auto&&...) -> ShotChoice { throw std::bad_alloc(); }, errors);
    chooser.start(field.model, 1, ComputerLevel::hard, 1, RADIUS);
    const ShotChoice choice = chooser.take();
    const ShotChoice plain;
    EXPECT_EQ(std::tie(choice.yaw, choice.pitch, choice.power, choice.spell),
              std::tie(plain.yaw, plain.pitch, plain.power, plain.spell));
    EXPECT_EQ(errors.str(), "kestrune: a computer player could not choose a shot (std::bad_alloc); it casts a "
                            "plain fireball\n");
}

TEST(BackgroundChooser, CancelledOrDestroyedMidSearchOnAHugeBattlefieldItReturnsPromptly)
{
    // The whole search takes about a second here, one aim a few milliseconds.
    Battlefield field(32, 256, 256, 61);
    for (const bool destroyed : {false, true}) {
        std::promise<void> searching;
        bool endedByCancel = false;
        auto chooser = std::make_unique<BackgroundChooser>([&](auto&&... arguments) {
            searching.set_value();
            const ShotChoice choice = chooseShot(arguments...);
            endedByCancel = std::get<5>(std::tie(arguments...))->load();
            return choice;
        });
        chooser->start(field.model, 0, ComputerLevel::hard, 1, RADIUS);
        searching.get_future().wait();
        const auto cancelled = std::chrono::steady_clock::now();
        destroyed ? chooser.reset() : chooser->cancel();
        EXPECT_LT(std::chrono::steady_clock::now() - cancelled, std::chrono::milliseconds(500)) << destroyed;
        EXPECT_TRUE(endedByCancel) << destroyed;
    }
}

// Three weakened opponents side by side across the shot's way, farther apart
// than one fireball reaches: only a meteor's three fragments take them all.
TEST(ShotChooserSpells, TheMeteorIsCastWhereItsFragmentsReachTheMost)
{
    Battlefield field(4, 30, 30, 20);
    field.model.setWind(Vector());
    field.stand(0, 2, 15);
    for (int id = 1; id <= 3; ++id) {
        field.stand(id, 26, 15 + (id - 2) * SPREAD);
        field.player(id).damage(85.0);
    }
    const ShotChoice choice = choose(field.model, 0);
    EXPECT_EQ(choice.spell, "meteor");
    const ShotOutcome outcome = castOnCopy(field.model, 0, choice);
    EXPECT_GE(outcome.killedPlayers.size(), 2u);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The whole state of a game: adopted, a game of another battlefield becomes
// equal to the one saved and plays on equally; told as a new battlefield; and
// damaged or hostile bytes are refused with nothing changed.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <functional>
#include <random>

#include "net/GameSnapshot.h"
#include "support/RecordingListener.h"
#include "support/SampleGame.h"

namespace {

BattlefieldSetup sides(int players, int width, int depth, int height)
{
    BattlefieldSetup setup;
    setup.players = players;
    setup.width = width;
    setup.depth = depth;
    setup.height = height;
    setup.windEnabled = true;
    return setup;
}

class TurnRecorder : public GameListener {
public:
    void onCommand(const GameCommand&) override { events.push_back("command"); }
    void onAim(int id, double, double, double) override { events.push_back("aim " + std::to_string(id)); }
    void onCurrentPlayer(int id) override { events.push_back("current " + std::to_string(id)); }
    void onWeapon(const std::string& name) override { events.push_back("weapon " + name); }
    void onKinds() override { events.push_back("kinds"); }
    std::vector<std::string> events;
};

TEST(GameSnapshot, AnAdoptedGameIsEqualAndPlaysOnEqually)
{
    BattlefieldSetup setup = sides(4, 20, 18, 22);
    setup.kinds = {std::nullopt, ComputerLevel::hard};
    SampleGame source(setup, 7, 5);
    ASSERT_FALSE(source.game.isLastManStanding());
    SampleGame target(sides(2, 9, 11, 12), 99, 1);

    const std::vector<std::uint8_t> saved = saveGameState(source.game);
    ASSERT_EQ(adoptGameState(target.game, saved.data(), saved.size()), "");
    EXPECT_EQ(target.game.getDigest(), source.game.getDigest());
    EXPECT_EQ(target.game.getSetup(), source.game.getSetup());
    EXPECT_EQ(target.game.getCurrentPlayer(), source.game.getCurrentPlayer());
    EXPECT_EQ(target.game.getShotCount(), 5);
    EXPECT_EQ(target.game.getBattlefieldSeed(), 7u);

    for (Game* game : {&source.game, &target.game}) {
        const int player = game->getCurrentPlayer();
        ASSERT_EQ(game->apply(Command::Aim{player, 123.0, 35.0, 3.5}), "");
        ASSERT_EQ(game->apply(Command::Cast{player}), "");
    }
    EXPECT_EQ(target.game.getDigest(), source.game.getDigest());
    // The next battlefield drawn without a seed too: the random stream came along.
    source.game.apply(Command::NewBattlefield{});
    target.game.apply(Command::NewBattlefield{});
    EXPECT_EQ(target.game.getDigest(), source.game.getDigest());
}

TEST(GameSnapshot, AdoptionIsToldAsANewBattlefieldAndRecordedAsNoCommand)
{
    SampleGame source(sides(3, 12, 10, 16), 3, 2);
    SampleGame target(sides(2, 8, 8, 10), 5, 0);
    RecordingListener battlefield;
    target.model.addListener(&battlefield);
    TurnRecorder turn;
    target.game.addListener(&turn);
    const std::size_t recorded = target.recorder.steps.size();

    const std::vector<std::uint8_t> saved = saveGameState(source.game);
    ASSERT_EQ(adoptGameState(target.game, saved.data(), saved.size()), "");
    EXPECT_EQ(battlefield.events, (std::vector<std::string>{"listener.onNewMap(12, 10, 16)", "listener.onPlayer(0)",
                                                            "listener.onPlayer(1)", "listener.onPlayer(2)"}));
    EXPECT_EQ(turn.events, (std::vector<std::string>{"kinds", "weapon " + source.game.getWeapon(), "current 2",
                                                     "aim 0", "aim 1", "aim 2"}));
    EXPECT_EQ(target.recorder.steps.size(), recorded);
    for (int x = 0; x < 12; ++x) {
        for (int z = 0; z < 10; ++z) {
            for (int y = 0; y < 16; ++y) {
                ASSERT_EQ(battlefield.grid[x][z][y], source.model.testGround(x, y, z)) << x << " " << y << " " << z;
            }
        }
    }
}

// The fields inside a saved state, and fields packed as one with a size given.
std::vector<std::uint8_t> inflated(const std::vector<std::uint8_t>& saved)
{
    uLongf size = (uLongf{saved[1]} << 24) | (uLongf{saved[2]} << 16) | (uLongf{saved[3]} << 8) | saved[4];
    std::vector<std::uint8_t> fields(size);
    EXPECT_EQ(uncompress(fields.data(), &size, saved.data() + 5, saved.size() - 5), Z_OK);
    return fields;
}

std::vector<std::uint8_t> packed(const std::vector<std::uint8_t>& fields, std::uint32_t size)
{
    uLongf length = compressBound(fields.size());
    std::vector<std::uint8_t> saved(5 + length);
    saved[0] = GAME_STATE_VERSION;
    for (int i = 0; i < 4; ++i) {
        saved[1 + i] = static_cast<std::uint8_t>(size >> (24 - 8 * i));
    }
    compress2(saved.data() + 5, &length, fields.data(), fields.size(), 6);
    saved.resize(5 + length);
    return saved;
}

// A field changed, counted back from the end of the fields; the last run
// after the spell's name: radius (8), winner (1), kinds (64), shots, seed.
std::vector<std::uint8_t> changed(const std::vector<std::uint8_t>& saved, std::size_t fromEnd,
                                  std::vector<std::uint8_t> bytes)
{
    std::vector<std::uint8_t> fields = inflated(saved);
    std::copy(bytes.begin(), bytes.end(), fields.end() - static_cast<long>(fromEnd));
    return packed(fields, static_cast<std::uint32_t>(fields.size()));
}

TEST(GameSnapshot, DamagedOrHostileStatesAreRefusedWithNothingChanged)
{
    SampleGame source(sides(4, 14, 14, 18), 11, 3);
    source.game.apply(Command::Spell{"fireball"}); // 8 letters before the last 81 bytes
    const std::vector<std::uint8_t> saved = saveGameState(source.game);
    const std::size_t radius = 81;
    const std::size_t current = radius + 8 + 1 + 2;
    using Make = std::function<std::vector<std::uint8_t>()>;
    const std::vector<std::pair<const char*, Make>> cases = {
        {"empty", [] { return std::vector<std::uint8_t>(); }},
        {"truncated", [&] { return std::vector<std::uint8_t>(saved.begin(), saved.begin() + saved.size() / 2); }},
        {"random fields",
         [] {
             std::mt19937 noise(5);
             std::vector<std::uint8_t> fields(3000);
             for (std::uint8_t& byte : fields) {
                 byte = static_cast<std::uint8_t>(noise());
             }
             return packed(fields, 3000);
         }},
        {"another version", [&] { auto bytes = saved; bytes[0] = GAME_STATE_VERSION + 1; return bytes; }},
        {"a size over the largest state", [] { return packed({0}, MAX_GAME_STATE_BYTES + 1); }},
        {"a bomb past its size", [] { return packed(std::vector<std::uint8_t>(5000000, 1), 100000); }},
        {"a grid side of 300", [&] { auto fields = inflated(saved); fields[0] = 1; fields[1] = 44;
                                     return packed(fields, fields.size()); }},
        {"a current player out of range", [&] { return changed(saved, current, {0, 4}); }},
        {"a NaN radius", [&] { return changed(saved, radius, {0x7f, 0xf8, 0, 0, 0, 0, 0, 0}); }},
        {"a kind of no level", [&] { return changed(saved, radius - 9, {4}); }},
        {"bytes after the last field", [&] { auto fields = inflated(saved); fields.push_back(0);
                                             return packed(fields, fields.size()); }},
    };
    SampleGame target(sides(2, 10, 10, 12), 1, 2);
    RecordingListener battlefield;
    target.model.addListener(&battlefield);
    const std::uint64_t digest = target.game.getDigest();
    for (const auto& [name, make] : cases) {
        const std::vector<std::uint8_t> bytes = make();
        const std::string why = adoptGameState(target.game, bytes.data(), bytes.size());
        EXPECT_EQ(why.rfind("state refused: ", 0), 0u) << name << ": " << why;
        EXPECT_EQ(why.find('\n'), std::string::npos) << name;
        EXPECT_EQ(target.game.getDigest(), digest) << name;
    }
    EXPECT_TRUE(battlefield.events.empty());
    // The same bytes unharmed are taken.
    EXPECT_EQ(adoptGameState(target.game, saved.data(), saved.size()), "");
}

} // namespace

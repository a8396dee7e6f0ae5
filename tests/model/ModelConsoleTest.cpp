// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/Battlefield.h"
#include "support/ModelChecks.h"

namespace {

// Runs a console line through the model and returns what it printed.
std::string command(ArenaModel& model, const std::string& line)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    model.handleConsoleCommand(line);
    testing::internal::GetCapturedStderr();
    return testing::internal::GetCapturedStdout();
}

// A fingerprint of the battlefield: extents, column heights, players.
std::string snapshot(const ArenaModel& model)
{
    std::ostringstream out;
    out << model.getWidth() << "x" << model.getDepth() << "x" << model.getHeight() << " g"
        << model.getGravity() << " w" << model.getWind() << " " << model.isWindEnabled() << " "
        << model.getPlayerWidth() << " " << model.getPlayerHeight() << " "
        << model.getCannonOffset() << " " << model.getCannonLength() << "|";
    for (int x = 0; x < model.getWidth(); ++x) {
        for (int z = 0; z < model.getDepth(); ++z) {
            out << columnHeight(model, x, z) << ",";
        }
    }
    for (const Player& player : model.getPlayers()) {
        out << "|" << player;
    }
    return out.str();
}

class ModelConsole : public ::testing::Test {
protected:
    ModelConsole()
        : field(4, 15, 15, 20)
    {
        field.useRealRandom(2024);
    }

    Battlefield field;
};

} // namespace

TEST_F(ModelConsole, EchoesEveryLineAsTyped)
{
    EXPECT_EQ(command(field.model, "  Hello World  "), "Model:   Hello World  \n");
    EXPECT_EQ(command(field.model, ""), "Model: \n");
}

TEST_F(ModelConsole, HelpListsTheNineCommandLinesExactly)
{
    EXPECT_EQ(command(field.model, " HELP "),
              "Model:  HELP \n"
              "set players numberOfPlayers width height cannon-dx cannon-dy cannon-dz cannon-length\n"
              "  set players 4 1 1 .5 1 0 1\n"
              "set players numberOfPlayers scale\n"
              "set player id name\n"
              "set grid width depth height\n"
              "set gravity x y z\n"
              "  set gravity  0 0.98 0\n"
              "set wind x y z\n"
              "enable/disable wind\n");
}

TEST_F(ModelConsole, SetGridIsCaseAndBlankTolerantAndStartsANewGame)
{
    std::string printed = command(field.model, "   Set Grid 20 20 30  ");
    EXPECT_EQ(printed, "Model:    Set Grid 20 20 30  \n");
    EXPECT_EQ(field.model.getWidth(), 20);
    EXPECT_EQ(field.model.getDepth(), 20);
    EXPECT_EQ(field.model.getHeight(), 30);
    ASSERT_FALSE(field.listener.events.empty());
    EXPECT_EQ(field.listener.events.front(), "listener.onNewMap(20, 20, 30)");
    EXPECT_EQ(columnInvariantViolation(field.model), "");
}

TEST_F(ModelConsole, WidthDepthAndHeightComeInThatOrder)
{
    command(field.model, "set grid 9 7 12");
    EXPECT_EQ(field.listener.events.front(), "listener.onNewMap(9, 7, 12)");
    EXPECT_FALSE(field.model.isInsideGrid(Vector(0, 0, 7)));
    EXPECT_TRUE(field.model.isInsideGrid(Vector(8.5, 11.5, 6.5)));
}

TEST_F(ModelConsole, TheLargestBattlefieldsAreAccepted)
{
    const std::vector<std::pair<std::string, std::string>> sizes = {
        {"128 128 64", "(128, 128, 64)"}, {"256 256 61", "(256, 256, 61)"}, {"256 15 256", "(256, 15, 256)"}};
    for (const auto& [size, event] : sizes) {
        field.listener.events.clear();
        const std::string printed = command(field.model, "set grid " + size);
        EXPECT_EQ(printed, "Model: set grid " + size + "\n") << size;
        ASSERT_FALSE(field.listener.events.empty()) << size;
        EXPECT_EQ(field.listener.events.front(), "listener.onNewMap" + event);
        EXPECT_EQ(columnInvariantViolation(field.model), "") << size;
    }
}

TEST_F(ModelConsole, RenamingKeepsSpacesInTheLowerCaseName)
{
    command(field.model, "set player 2 Sir Faelin Murk");
    EXPECT_EQ(field.model.getPlayer(2).getName(), "sir faelin murk");
    EXPECT_TRUE(field.listener.events.empty());
}

TEST_F(ModelConsole, TheFullPlayersFormSetsEverySize)
{
    command(field.model, "  set players 4 1 1 .5 1 0 1");
    EXPECT_EQ(field.model.getNumberOfPlayers(), 4);
    for (const Player& player : field.model.getPlayers()) {
        EXPECT_EQ(player.getWidth(), 1.0);
        EXPECT_EQ(player.getHeight(), 1.0);
        EXPECT_EQ(player.getCannonLength(), 1.0);
        Vector base = player.getCannonPosition(0) - player.getPosition();
        EXPECT_EQ(base, Vector(0.5, 1, 0));
        EXPECT_EQ(player.getHp(), 100.0);
    }
    EXPECT_EQ(field.listener.events.size(), 5u);
}

TEST_F(ModelConsole, TheCountFormKeepsTheSizesAndDrawsNewPlayers)
{
    command(field.model, "set players 4 2 2 1 1 1 2");
    command(field.model, "set players 3");
    EXPECT_EQ(field.model.getNumberOfPlayers(), 3);
    EXPECT_EQ(field.model.getPlayer(0).getWidth(), 2.0);
    EXPECT_EQ(field.model.getPlayer(2).getCannonLength(), 2.0);
    EXPECT_EQ(field.listener.events.back(), "listener.onPlayer(2)");
}

TEST_F(ModelConsole, TheScaleFormScalesFromTheUnitPlayer)
{
    command(field.model, "set players 2 0.5");
    EXPECT_EQ(field.model.getNumberOfPlayers(), 2);
    EXPECT_EQ(field.model.getPlayerWidth(), 0.5);
    EXPECT_EQ(field.model.getPlayerHeight(), 0.9);
    EXPECT_EQ(field.model.getCannonOffset(), Vector(0.25, 0.5, 0));
    EXPECT_EQ(field.model.getCannonLength(), 0.5);
}

TEST_F(ModelConsole, WrongValueCountsMatchNothing)
{
    std::string before = snapshot(field.model);
    for (const char* line : {"set players 4 1 1 1", "set players", "set players 4 1 1 1 1 1 1 1",
                             "set grid 10 10", "set gravity 0 1", "  set gravity  0 0.98 0",
                             "set wind 1 2 3 4", "set players -2"}) {
        EXPECT_EQ(command(field.model, line), "Model: " + std::string(line) + "\n") << line;
    }
    EXPECT_EQ(snapshot(field.model), before);
    EXPECT_TRUE(field.listener.events.empty());
}

TEST_F(ModelConsole, GravityAndWindChangeWithoutANewGame)
{
    command(field.model, "set gravity 0 -0.5 0");
    EXPECT_EQ(field.model.getGravity(), Vector(0, -0.5, 0));
    command(field.model, "set wind 0.25 0 -0.5");
    EXPECT_EQ(field.model.getWind(), Vector(0.25, 0, -0.5));
    EXPECT_TRUE(field.listener.events.empty());
    // The set wind lasts until the next new game.
    command(field.model, "set grid 15 15 20");
    EXPECT_EQ(field.model.getWind(), Vector(0, 0, 0));
}

TEST_F(ModelConsole, EnableAndDisableWindStartNewGames)
{
    command(field.model, "enable wind");
    EXPECT_TRUE(field.model.isWindEnabled());
    EXPECT_EQ(field.listener.events.size(), 5u);
    command(field.model, "disable wind");
    EXPECT_FALSE(field.model.isWindEnabled());
    EXPECT_EQ(field.model.getWind(), Vector(0, 0, 0));
    EXPECT_EQ(field.listener.events.size(), 10u);
    command(field.model, "enable debug");
    command(field.model, "disable lighting");
    EXPECT_EQ(field.listener.events.size(), 10u);
}

TEST_F(ModelConsole, UnusableSettingsAreRefusedAndNothingChanges)
{
    const std::string before = snapshot(field.model);
    const std::vector<std::pair<std::string, std::string>> refusals = {
        {"set grid 0 15 20", "every side needs at least one cell"},
        {"set grid 15 15 0", "every side needs at least one cell"},
        {"set grid 300 15 20", "at most 256 cells a side"},
        {"set grid 256 256 256", "4000000 cells in all"},
        {"set grid 256 256 62", "4000000 cells in all"},
        {"set grid 99999999999999999999 1 1", "at most 256 cells a side"},
        {"set grid 1 3 20", "3 free columns, too few for 4 players"},
        {"set grid 15 15 1", "0 free columns"},
        {"set players 0", "from 1 to 64 players"},
        {"set players 65", "from 1 to 64 players"},
        {"set players 99999999999999999999", "from 1 to 64 players"},
        {"set players 2 0", "a width and a height above 0"},
        {"set players 2 abc", "a width and a height above 0"},
        {"set players 2 -1", "a width and a height above 0"},
        {"set players 4 1 1.8 0.5 0.9 0.5 0", "a cannon of length 0"},
        {"set players 4 nan 1.8 0.5 0.9 0.5 1", "finite"},
        {"set players 4 1 1.8 0.5 inf 0.5 1", "finite"},
        {"set players 2 1e999", "finite"},
        {"set players 4 8 1.8 0.5 0.9 0.5 1", "too few for 4 players of width 8"},
        {"set player 4 nobody", "no player 4 to rename: ids run from 0 to 3"},
        {"set player 99999999999 nobody", "no player"},
        {"set gravity nan 0 0", "gravity refused"},
        {"set gravity 0 -1e400 0", "gravity refused"},
        {"set wind inf 0 0", "wind refused"},
    };
    for (const auto& [line, why] : refusals) {
        std::string printed = command(field.model, line);
        ASSERT_EQ(printed.rfind("Model: " + line + "\nModel: ", 0), 0u) << printed;
        EXPECT_NE(printed.find(why), std::string::npos) << line << " -> " << printed;
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 2) << printed;
        EXPECT_EQ(snapshot(field.model), before) << line;
    }
    EXPECT_TRUE(field.listener.events.empty());
}

TEST_F(ModelConsole, AHostileLongLineIsEchoedAndIgnored)
{
    std::string line = "set players 1";
    for (int i = 0; i < 20000; ++i) {
        line += " 1";
    }
    line += " x";
    std::string spaces = "set player 1 " + std::string(50000, ' ') + "a";
    std::string before = snapshot(field.model);
    EXPECT_EQ(command(field.model, line), "Model: " + line + "\n");
    // A name obeys the new-game screen's rules.
    const std::string name = field.model.getPlayer(1).getName();
    EXPECT_EQ(command(field.model, spaces), "Model: " + spaces + "\nModel: name refused: longer than 20 characters\n");
    EXPECT_EQ(field.model.getPlayer(1).getName(), name);
    command(field.model, "set grid " + std::string(100000, '9') + " 1 1");
    EXPECT_EQ(field.model.getWidth(), 15);
}

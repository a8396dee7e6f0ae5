// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>

#include "app/Main.h"
#include "controller/ArenaController.h"
#include "game/Game.h"
#include "model/ArenaModel.h"
#include "support/HudText.h"
#include "view/ViewFixture.h"

namespace {

using Lines = std::vector<std::string>;

class ConsoleLineTyping : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        Main::seedRandom(5);
        model = std::make_unique<ArenaModel>(2, 15, 15, 20, RandomStream(5));
        game = std::make_unique<Game>(*model);
        controller = std::make_unique<ArenaController>(*game, *view, clocks.time);
        model->addListener(view.get());
        model->addListener(controller.get());
        printed([&] {
            model->reset();
            controller->initialize(400, 100);
        });
    }
    void TearDown() override
    {
        controller.reset();
        ViewTest::TearDown();
        game.reset();
        model.reset();
    }
    Lines type(const std::string& typed)
    {
        return printed([&] {
            for (char key : typed) {
                controller->keyboard(static_cast<unsigned char>(key));
            }
        });
    }

    std::unique_ptr<ArenaModel> model;
    std::unique_ptr<Game> game; // listens to the model before the others
    std::unique_ptr<ArenaController> controller;
};

} // namespace

TEST_F(ConsoleLineTyping, BackquoteOrTildeOpensAnEmptyLine)
{
    EXPECT_EQ(type("`"), Lines{"Console ON"});
    EXPECT_TRUE(controller->getInput().getConsoleLine().isActive());
    EXPECT_EQ(view->getOverlay().getConsoleCommand(), ">");
    EXPECT_TRUE(view->getOverlay().isConsoleVisible());
    type("ab\r");
    EXPECT_EQ(type("~"), Lines{"Console ON"});
    EXPECT_EQ(controller->getInput().getConsoleLine().getLine(), "");
}

TEST_F(ConsoleLineTyping, EveryKeyButEnterEditsTheLineEscapeAndConsoleKeysIncluded)
{
    type("`");
    type("ab`~\x1b\t");
    EXPECT_EQ(controller->getInput().getConsoleLine().getLine(), "ab`~\x1b\t");
    EXPECT_EQ(view->getOverlay().getConsoleCommand(), ">ab`~\x1b\t");
    type("\b\b\b\b");
    EXPECT_EQ(controller->getInput().getConsoleLine().getLine(), "ab");
    type("\b\b\b\b");
    EXPECT_EQ(controller->getInput().getConsoleLine().getLine(), "");
    EXPECT_EQ(view->getOverlay().getConsoleCommand(), ">");
}

TEST_F(ConsoleLineTyping, HelpGoesToTheThreeHandlersInOrder)
{
    type("`help");
    Lines lines = type("\r");
    EXPECT_FALSE(controller->getInput().getConsoleLine().isActive());
    EXPECT_FALSE(view->getOverlay().isConsoleVisible());
    ASSERT_EQ(lines.size(), 6u + 17u + 10u);
    EXPECT_EQ(lines[0], "Controller: help");
    EXPECT_EQ(lines[1], "set radius_bomb_size size");
    EXPECT_EQ(lines[2], "set computer id/all easy/normal/hard");
    EXPECT_EQ(lines[3], "set human id/all");
    EXPECT_EQ(lines[4], "set turntime seconds (0: no limit)");
    EXPECT_EQ(lines[5], "say text");
    EXPECT_EQ(lines[6], "View: help");
    EXPECT_EQ(lines[7], "enable/disable lighting");
    EXPECT_EQ(lines[13], "enable/disable chunks");
    EXPECT_EQ(lines[14], "enable/disable autocamera");
    EXPECT_EQ(lines[15], "enable/disable aids");
    EXPECT_EQ(lines[16], "enable/disable sound");
    EXPECT_EQ(lines[22], "animate id animation length");
    EXPECT_EQ(lines[23], "Model: help");
    EXPECT_EQ(lines[24], "set players numberOfPlayers width height cannon-dx cannon-dy cannon-dz cannon-length");
    EXPECT_EQ(lines[32], "enable/disable wind");
}

TEST_F(ConsoleLineTyping, TheRadiusBombSizeIsTheControllersOwnSetting)
{
    type("`set radius_bomb_size 2.5");
    Lines lines = type("\r");
    EXPECT_EQ(lines, (Lines{"Controller: set radius_bomb_size 2.5", "Radius Bomb Size Setted to 2.5",
                            "View: set radius_bomb_size 2.5", "Model: set radius_bomb_size 2.5"}));
    EXPECT_EQ(game->getRadiusBombSize(), 2.5);
    type("`  SET Radius_Bomb_Size 5  \r");
    EXPECT_EQ(game->getRadiusBombSize(), 5.0);
    lines = type("`set radius_bomb_size big\r");
    EXPECT_EQ(lines.at(2), "Radius Bomb Size Setted to 0");
    EXPECT_EQ(game->getRadiusBombSize(), 0.0);
}

TEST_F(ConsoleLineTyping, WrongRadiusCommandsChangeNothing)
{
    for (const char* line : {"set radius_bomb_size", "set radius_bomb_size 1 2"}) {
        Lines lines = type(std::string("`") + line + "\r");
        EXPECT_EQ(lines.size(), 4u) << line; // "Console ON" and the three echoes
    }
    for (const char* value : {"-2", "nan", "inf", "1e999"}) {
        Lines lines = type(std::string("`set radius_bomb_size ") + value + "\r");
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[2], std::string("Controller: radius bomb size ") + value
                                + " refused: it must be a number of 0 or more");
    }
    EXPECT_EQ(game->getRadiusBombSize(), 3.0);
}

TEST_F(ConsoleLineTyping, AnEmptyLineIsOnlyEchoed)
{
    type("`x\b");
    EXPECT_EQ(type("\r"), (Lines{"Controller: ", "View: ", "Model: "}));
}

TEST_F(ConsoleLineTyping, ArrowKeysStillAimWhileTheConsoleIsOpen)
{
    type("`");
    printed([&] { controller->specialKeyboard(102); });
    EXPECT_EQ(game->getYaw(0), 10.0);
    type("w[");
    EXPECT_EQ(game->getYaw(0), 10.0);
    EXPECT_EQ(controller->getInput().getConsoleLine().getLine(), "w[");
}

TEST_F(ConsoleLineTyping, AModelCommandStartsANewGameForTheController)
{
    printed([&] { controller->specialKeyboard(102); });
    type("`set players 3\r");
    EXPECT_EQ(model->getNumberOfPlayers(), 3);
    EXPECT_EQ(game->getYaw(0), 0.0);
    EXPECT_EQ(game->getPower(2), 4.0);
}

TEST_F(ConsoleLineTyping, TheWindowShowsTheLastEightLinesTheConsolePrintedAboveTheLineTyped)
{
    constexpr int SIDE = 800;
    view->reshape(SIDE, SIDE);
    // The console's rows as the window shows them, top down.
    auto windowLines = [&] {
        std::vector<unsigned char> rows;
        {
            OffscreenTarget target(SIDE, SIDE);
            glClearColor(0, 0, 0, 1);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glDisable(GL_LIGHTING);
            view->setOrthographicProjection();
            glPushMatrix();
            glLoadIdentity();
            view->displayConsole();
            glPopMatrix();
            view->resetPerspectiveProjection();
            rows = target.pixels();
        }
        Image image{SIDE, SIDE, {}};
        for (int y = SIDE - 1; y >= 0; --y) {
            image.rgb.insert(image.rgb.end(), rows.begin() + y * SIDE * 3, rows.begin() + (y + 1) * SIDE * 3);
        }
        Lines shown;
        for (int row = 0; row < 10; ++row) {
            const int baseline = ViewOverlay::CONSOLE_FIRST_BASELINE + row * ViewOverlay::CONSOLE_LINE_SPACING;
            if (std::string line = readHudText(image, HUD_LEFT, baseline); !line.empty()) {
                shown.push_back(line);
            }
        }
        return shown;
    };
    // Standard output gets the echoes alone for a line nobody takes.
    EXPECT_EQ(type("`frobnicate\r"), (Lines{"Console ON", "Controller: frobnicate", "View: frobnicate",
                                            "Model: frobnicate"}));
    type("`set radius_bomb_size -1\r`set ra");
    EXPECT_EQ(windowLines(), (Lines{">frobnicate", "unknown command", ">set radius_bomb_size -1",
                                    "Controller: radius bomb size -1 refused: it must be a number of 0 or more",
                                    ">set ra"}));
    // Of a long answer, the last lines.
    type("\b\b\b\b\b\bhelp\r`set radius_bomb_size 2\r`");
    EXPECT_EQ(windowLines(), (Lines{"set player id name", "set grid width depth height", "set gravity x y z",
                                    "  set gravity  0 0.98 0", "set wind x y z", "enable/disable wind",
                                    ">set radius_bomb_size 2", "Radius Bomb Size Setted to 2", ">"}));
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/freeglut.h>

#include <gtest/gtest.h>

#include "controller/SetupScreen.h"

namespace {

using Answer = SetupScreen::Answer;

class SetupScreenTest : public ::testing::Test {
protected:
    void SetUp() override { screen.open(GameSetup()); }
    void press(int key, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            EXPECT_EQ(screen.specialKeyboard(key), Answer::stay);
        }
    }
    void type(const std::string& text)
    {
        for (char c : text) {
            EXPECT_EQ(screen.keyboard(static_cast<unsigned char>(c)), Answer::stay);
        }
    }
    std::string row(int index) const { return screen.getLines().at(static_cast<std::size_t>(index)); }

    SetupScreen screen;
};

} // namespace

TEST_F(SetupScreenTest, OpensOnTheGivenSetUpWithARowForEveryCaster)
{
    EXPECT_TRUE(screen.isOpen());
    EXPECT_EQ(screen.getRow(), 0);
    EXPECT_EQ(screen.getSetup(), GameSetup());
    const std::vector<std::string> expected = {
        "> Casters      < 4 >",
        "  Caster 1     (random name)        < human >",
        "  Caster 2     (random name)        < human >",
        "  Caster 3     (random name)        < human >",
        "  Caster 4     (random name)        < human >",
        "  Battlefield  < small 15 x 15 x 20 >",
        "  Wind         < off >",
        "  Aiming help  < short >",
        "  Start",
    };
    EXPECT_EQ(screen.getLines(), expected);
}

TEST_F(SetupScreenTest, ArrowsStopAtTheFirstAndLastRowAndAtEveryValuesLimits)
{
    press(GLUT_KEY_UP);
    EXPECT_EQ(screen.getRow(), 0);
    press(GLUT_KEY_LEFT, 5);
    EXPECT_EQ(screen.getSetup().players, MIN_SETUP_PLAYERS);
    press(GLUT_KEY_RIGHT, 10);
    EXPECT_EQ(screen.getSetup().players, MAX_SETUP_PLAYERS);
    EXPECT_EQ(screen.getRowCount(), MAX_SETUP_PLAYERS + 5);

    // The last caster's kind, from human to the hardest and no further.
    press(GLUT_KEY_DOWN, MAX_SETUP_PLAYERS);
    press(GLUT_KEY_LEFT);
    EXPECT_FALSE(screen.getSetup().seats[MAX_SETUP_PLAYERS - 1].computer.has_value());
    press(GLUT_KEY_RIGHT, 5);
    EXPECT_EQ(screen.getSetup().seats[MAX_SETUP_PLAYERS - 1].computer, ComputerLevel::hard);
    EXPECT_EQ(row(MAX_SETUP_PLAYERS), "> Caster 8     (random name)        < hard computer >");
    press(GLUT_KEY_LEFT);
    EXPECT_EQ(screen.getSetup().seats[MAX_SETUP_PLAYERS - 1].computer, ComputerLevel::normal);

    // The battlefields, from small to huge and no further; the wind.
    press(GLUT_KEY_DOWN);
    press(GLUT_KEY_LEFT);
    EXPECT_EQ(screen.getSetup().width, 15);
    press(GLUT_KEY_RIGHT, 6);
    EXPECT_EQ(row(MAX_SETUP_PLAYERS + 1), "> Battlefield  < huge 256 x 256 x 61 >");
    press(GLUT_KEY_DOWN);
    press(GLUT_KEY_RIGHT);
    EXPECT_TRUE(screen.getSetup().wind);
    // The aiming help, from none to full and no further.
    press(GLUT_KEY_DOWN);
    press(GLUT_KEY_LEFT, 2);
    EXPECT_EQ(screen.getSetup().aimingHelp, AimingHelp::none);
    press(GLUT_KEY_RIGHT, 3);
    EXPECT_EQ(row(MAX_SETUP_PLAYERS + 3), "> Aiming help  < full >");
    press(GLUT_KEY_DOWN, 3);
    EXPECT_EQ(screen.getRow(), MAX_SETUP_PLAYERS + 4);
    EXPECT_EQ(row(MAX_SETUP_PLAYERS + 4), "> Start");
    // Start has no value to change.
    press(GLUT_KEY_LEFT);
    EXPECT_EQ(screen.getRow(), MAX_SETUP_PLAYERS + 4);
}

TEST_F(SetupScreenTest, FewerCastersTakeTheirRowsAwayAndKeepTheCursorOnTheScreen)
{
    press(GLUT_KEY_DOWN, 8); // Start, with four casters
    EXPECT_EQ(row(8), "> Start");
    press(GLUT_KEY_UP, 8);
    press(GLUT_KEY_LEFT, 2);
    EXPECT_EQ(screen.getRowCount(), 7);
    press(GLUT_KEY_DOWN, 20);
    EXPECT_EQ(screen.getRow(), 6);
    EXPECT_EQ(row(6), "> Start");
}

TEST_F(SetupScreenTest, LettersNameTheCasterOfTheirRowWithinTheNamesRules)
{
    type("abc"); // the casters' row takes no letters
    press(GLUT_KEY_DOWN, 2);
    type(" Ada; Stone!"); // a leading blank and the characters no name may hold are left out
    EXPECT_EQ(screen.getSetup().seats[1].name, "Ada Stone");
    EXPECT_EQ(row(2), "> Caster 2     Ada Stone_           < human >");
    type(std::string(3, '\b'));
    EXPECT_EQ(screen.getSetup().seats[1].name, "Ada St");
    type("\x7f");
    EXPECT_EQ(screen.getSetup().seats[1].name, "Ada S");
    type(std::string(40, 'x'));
    EXPECT_EQ(screen.getSetup().seats[1].name.size(), MAX_NAME_LENGTH);
    EXPECT_TRUE(screen.getSetup().seats[0].name.empty());
    // Rubbed out, the name is drawn at random again.
    type(std::string(MAX_NAME_LENGTH + 2, '\b'));
    EXPECT_EQ(row(2), "> Caster 2     (random name)        < human >");
}

TEST_F(SetupScreenTest, EnterStartsEscapeAndF2CloseAndAClosedScreenTakesNothing)
{
    press(GLUT_KEY_DOWN);
    type("Bo ");
    EXPECT_EQ(screen.keyboard(13), Answer::start);
    EXPECT_EQ(screen.getSetup().seats[0].name, "Bo"); // the blank typed last is left out
    EXPECT_EQ(screen.keyboard(27), Answer::close);
    EXPECT_EQ(screen.specialKeyboard(GLUT_KEY_F2), Answer::close);
    screen.close();
    EXPECT_FALSE(screen.isOpen());
    EXPECT_EQ(screen.keyboard(13), Answer::stay);
    EXPECT_EQ(screen.specialKeyboard(GLUT_KEY_RIGHT), Answer::stay);
    EXPECT_EQ(screen.getSetup().players, 4);
}

TEST_F(SetupScreenTest, ABattlefieldOfAnotherSizeIsOfferedBesideTheFourAndACountOutsideTheRangeIsBroughtIn)
{
    GameSetup odd;
    odd.width = 30;
    odd.depth = 12;
    odd.height = 9;
    odd.players = 12;
    screen.open(odd);
    EXPECT_EQ(screen.getSetup().players, MAX_SETUP_PLAYERS);
    press(GLUT_KEY_DOWN, MAX_SETUP_PLAYERS + 1);
    EXPECT_EQ(row(MAX_SETUP_PLAYERS + 1), "> Battlefield  < custom 30 x 12 x 9 >");
    press(GLUT_KEY_RIGHT);
    EXPECT_EQ(screen.getSetup().width, 15);
    press(GLUT_KEY_LEFT, 3);
    EXPECT_EQ(screen.getSetup().width, 30);
    EXPECT_EQ(screen.getSetup().height, 9);
}

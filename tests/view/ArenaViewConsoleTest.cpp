// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/gl.h>

#include "model/Player.h"
#include "scene/TransformNode.h"
#include "support/RecordingSoundPlayer.h"
#include "support/ScriptedRandom.h"
#include "view/ViewFixture.h"

namespace {

using Lines = std::vector<std::string>;

class ViewConsole : public ViewTest {
protected:
    Lines command(const std::string& line)
    {
        return printed([&] { view->handleConsoleCommand(line); });
    }
    void TearDown() override
    {
        GraphicNode::useDisplayList = true;
        glDisable(GL_LIGHT1);
        glDisable(GL_NORMALIZE);
        glDisable(GL_COLOR_MATERIAL);
        glDisable(GL_BLEND);
        glShadeModel(GL_SMOOTH);
        ViewTest::TearDown();
    }
};

} // namespace

TEST_F(ViewConsole, HelpListsTheSixteenCommands)
{
    EXPECT_EQ(command(" Help "), (Lines{"View:  Help ", "enable/disable lighting", "enable/disable light1",
                                        "enable/disable material", "enable/disable debug",
                                        "enable/disable normalize", "enable/disable displaylist",
                                        "enable/disable chunks", "enable/disable autocamera",
                                        "enable/disable aids", "enable/disable sound",
                                        "set light1 ambient/diffuse r g b a", "set shading flat/smooth",
                                        "set material back/front/front_back "
                                        "emission/ambient/specular/diffuse/ambient_diffuse",
                                        "set speed speedValue", "set volume v",
                                        "animate id animation length"}));
}

TEST_F(ViewConsole, EveryLineIsEchoedAndHidesTheConsole)
{
    view->updateConsoleCommandEdition("anything");
    EXPECT_TRUE(view->getOverlay().isConsoleVisible());
    EXPECT_EQ(command("no such command"), Lines{"View: no such command"});
    EXPECT_FALSE(view->getOverlay().isConsoleVisible());
    EXPECT_EQ(command("enable light1 now"), Lines{"View: enable light1 now"});
}

TEST_F(ViewConsole, FeaturesSwitchOnAndOff)
{
    for (auto [word, feature] : {std::pair{"lighting", GL_LIGHTING}, std::pair{"light1", GL_LIGHT1},
                                 std::pair{"material", GL_COLOR_MATERIAL}, std::pair{"normalize", GL_NORMALIZE}}) {
        command(std::string("disable ") + word);
        EXPECT_FALSE(glIsEnabled(feature)) << word;
        command(std::string("  ENABLE ") + word + " ");
        EXPECT_TRUE(glIsEnabled(feature)) << word;
    }
    command("disable lighting");
    command("enable debug");
    EXPECT_TRUE(view->isDebug());
    command("disable debug");
    command("disable debug");
    EXPECT_FALSE(view->isDebug());
    command("disable displaylist");
    EXPECT_FALSE(GraphicNode::useDisplayList);
    command("enable displaylist");
    EXPECT_TRUE(GraphicNode::useDisplayList);
}

TEST_F(ViewConsole, LightOneTakesNewColours)
{
    command("set light1 diffuse 1 0 0 1");
    GLfloat diffuse[4];
    glGetLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    EXPECT_EQ(diffuse[0], 1.0f);
    EXPECT_EQ(diffuse[1], 0.0f);
    command("set light1 ambient 0.5 0.25 0 1");
    GLfloat ambient[4];
    glGetLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    EXPECT_EQ(ambient[1], 0.25f);
    GLfloat specular[4];
    glGetLightfv(GL_LIGHT1, GL_SPECULAR, specular);
    EXPECT_EQ(command("set light1 specular 0.3 0.3 0.3 1"), Lines{"View: set light1 specular 0.3 0.3 0.3 1"});
    GLfloat after[4];
    glGetLightfv(GL_LIGHT1, GL_SPECULAR, after);
    EXPECT_EQ(after[0], specular[0]);
}

TEST_F(ViewConsole, ShadingAndColourMaterialChange)
{
    command("set shading flat");
    GLint shade = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(shade, GL_FLAT);
    command("set shading smooth");
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(shade, GL_SMOOTH);

    command("set material front emission");
    GLint face = 0;
    GLint mode = 0;
    glGetIntegerv(GL_COLOR_MATERIAL_FACE, &face);
    glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &mode);
    EXPECT_EQ(face, GL_FRONT);
    EXPECT_EQ(mode, GL_EMISSION);
}

TEST_F(ViewConsole, AnUnknownMaterialWordIsRefusedAndNothingChanges)
{
    for (const char* line : {"set material sideways diffuse", "set material back glow"}) {
        Lines lines = command(line);
        ASSERT_EQ(lines.size(), 2u) << line;
        EXPECT_EQ(lines[1].rfind("View: material ", 0), 0u) << lines[1];
        EXPECT_NE(lines[1].find("refused"), std::string::npos);
        GLint face = 0;
        GLint mode = 0;
        glGetIntegerv(GL_COLOR_MATERIAL_FACE, &face);
        glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &mode);
        EXPECT_EQ(face, GL_FRONT_AND_BACK);
        EXPECT_EQ(mode, GL_AMBIENT_AND_DIFFUSE);
    }
}

TEST_F(ViewConsole, SpeedChangesTheViewClockWithoutAJump)
{
    clocks.clock.set(1000);
    EXPECT_EQ(command("set speed 2"), (Lines{"View: set speed 2", "Speed setted to 2"}));
    EXPECT_EQ(clocks.time.getSpeed(), 2.0);
    EXPECT_EQ(clocks.time.getTick(), 1000);
    clocks.clock.advance(100);
    EXPECT_EQ(clocks.time.getTick(), 1200);
    command("set speed 0.5");
    command("set speed 1");
    EXPECT_EQ(clocks.time.getTick(), 1200);
    clocks.clock.advance(10);
    EXPECT_EQ(clocks.time.getTick(), 1210);
}

TEST_F(ViewConsole, UnusableSpeedsAreRefusedAndTheSpeedStays)
{
    command("set speed 1.5");
    for (const char* value : {"0", "-1", "fast", "1e9", "0.00001", "nan", "inf"}) {
        Lines lines = command(std::string("set speed ") + value);
        ASSERT_EQ(lines.size(), 2u) << value;
        EXPECT_EQ(lines[1].rfind(std::string("View: speed ") + value + " refused", 0), 0u) << lines[1];
        EXPECT_EQ(clocks.time.getSpeed(), 1.5) << value;
    }
}

TEST_F(ViewConsole, AnimateTakesAnIdANameAndALength)
{
    TestGrid grid(5, 5, 5, [](int, int, int) { return false; });
    newMap(grid, 5, 5, 5);
    Player player("Torva Murk", Vector(1, 0, 1), 1, 1.8, Vector(0.5, 0.9, 0.5), 1.15);
    ScriptedRandom script({0.7});
    printed([&] { view->onPlayer(0, player); });
    auto* node = static_cast<TransformNode*>(view->getCharacters().getPlayerNode(0));
    EXPECT_EQ(command("animate 0 cast 1500"), Lines{"View: animate 0 cast 1500"});
    EXPECT_TRUE(node->hasModelAnimation());
    Lines refused = command("animate 3 cast 1500");
    ASSERT_EQ(refused.size(), 2u);
    EXPECT_EQ(refused[1], "View: no character 3 to animate");
    EXPECT_EQ(command("animate 99999999999999999999 cast 10").size(), 2u);
    // A name without key frames is ignored quietly.
    EXPECT_EQ(command("animate 0 dance 1500").size(), 1u);
}

TEST_F(ViewConsole, SoundSwitchesAndTheVolumeTakesOnlyZeroToOne)
{
    RecordingSoundPlayer player;
    view->getSounds().setSoundPlayer(&player);
    EXPECT_EQ(command("disable sound"), Lines{"View: disable sound"});
    EXPECT_FALSE(player.isEnabled());
    command("enable sound");
    EXPECT_TRUE(player.isEnabled());
    EXPECT_EQ(command("set volume 0.25"), Lines{"View: set volume 0.25"});
    EXPECT_EQ(player.getVolume(), 0.25);
    for (const std::string value : {"2", "-0.1", "0.5x", "nan", "1e400"}) {
        EXPECT_EQ(command("set volume " + value),
                  (Lines{"View: set volume " + value,
                         "View: volume " + value + " refused: the volume runs from 0 (silent) to 1"}));
    }
    EXPECT_EQ(player.getVolume(), 0.25);
    command("set volume 0");
    EXPECT_EQ(player.getVolume(), 0.0);
    view->getSounds().setSoundPlayer(nullptr);
    // Without a player the lines still answer.
    EXPECT_EQ(command("set volume 1"), Lines{"View: set volume 1"});
}

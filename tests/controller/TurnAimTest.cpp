// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/freeglut.h>

#include <cmath>

#include "app/KeyReceiver.h"
#include "controller/ControllerFixture.h"
#include "model/SpellByName.h"

TEST_F(ControllerTest, TheSightShowsTheFirstQuarterOfTheAimsPathOnAHumansTurn)
{
    auto sight = [&] { return view->getAids().getSight().getPaths(); };
    EXPECT_TRUE(sight().empty());
    keys("t");
    auto quarterOf = [&](int id) {
        return std::vector<AimingSight::Path>{TurnAim::firstQuarter(
            model->getShotTrajectory(id, game->getYaw(id), game->getPitch(id), game->getPower(id)))};
    };
    auto length = [](const std::vector<Vector>& path) {
        double total = 0;
        for (std::size_t i = 0; i + 1 < path.size(); ++i) {
            total += (path[i + 1] - path[i]).getLength();
        }
        return total;
    };
    special(GLUT_KEY_UP, 30);
    special(GLUT_KEY_HOME, 10);
    ASSERT_EQ(sight().size(), 1u);
    ASSERT_GE(sight()[0].size(), 2u);
    EXPECT_EQ(sight(), quarterOf(0));
    const std::list<Vector> whole =
        model->getShotTrajectory(0, game->getYaw(0), game->getPitch(0), game->getPower(0));
    EXPECT_NEAR(length(sight()[0]), length(std::vector<Vector>(whole.begin(), whole.end())) / 4, 1e-9);
    EXPECT_EQ(sight()[0].front(), model->getPlayer(0).getCannonNose(0, 30));
    // It follows the aim, the wind included.
    const std::vector<AimingSight::Path> before = sight();
    special(GLUT_KEY_RIGHT);
    EXPECT_NE(sight(), before);
    EXPECT_EQ(sight(), quarterOf(0));
    printed([&] { model->handleConsoleCommand("set wind 0.3 0 0"); });
    controller->getTurnAim().updateSight();
    EXPECT_EQ(sight(), quarterOf(0));

    // Hidden on a computer player's turn, back on the next human's.
    controller->getComputerTurns().setComputer(1, ComputerLevel::easy);
    keys("\r");
    EXPECT_EQ(game->getCurrentPlayer(), 1);
    EXPECT_TRUE(sight().empty());
    controller->getComputerTurns().setHuman(1);
    controller->getTurnAim().updateSight();
    EXPECT_EQ(sight(), quarterOf(1));
}

TEST_F(ControllerTest, TGoesFromNoSightToTheShortToTheFullAndBack)
{
    special(GLUT_KEY_UP, 30);
    const std::list<Vector> whole = model->getShotTrajectory(0, game->getYaw(0), game->getPitch(0), game->getPower(0));
    const std::vector<AimingSight::Path> quarter = {TurnAim::firstQuarter(whole)};
    const std::vector<AimingSight::Path> all = {AimingSight::Path(whole.begin(), whole.end())};
    const struct {
        AimingHelp mode;
        std::vector<AimingSight::Path> paths;
        std::vector<Vector> landings;
    } presses[] = {
        {AimingHelp::shortPath, quarter, {}},
        {AimingHelp::fullPath, all, {whole.back()}},
        {AimingHelp::none, {}, {}},
        {AimingHelp::shortPath, quarter, {}},
    };
    for (const auto& press : presses) {
        keys("t");
        EXPECT_EQ(controller->getTurnAim().getSightMode(), press.mode);
        EXPECT_EQ(view->getAids().getSight().getPaths(), press.paths) << aimingHelpName(press.mode);
        EXPECT_EQ(view->getAids().getSight().getLandings(), press.landings) << aimingHelpName(press.mode);
    }
}

TEST_F(ControllerTest, TheFullSightsRingsLieWhereTheModelsOwnCastLandsAndAreDrawnThere)
{
    controller->getTurnAim().setSightMode(AimingHelp::fullPath);
    special(GLUT_KEY_LEFT, 9);
    special(GLUT_KEY_UP, 30);
    const AimingSight& sight = view->getAids().getSight();
    // The fireball, then the meteor, which splits at the top of this arc.
    for (const auto& [key, rings] : {std::pair{"1", 1u}, std::pair{"4", 3u}}) {
        keys(key);
        ArenaModel copy(*model);
        const std::unique_ptr<Projectile> cast = createSpell(game->getWeapon(), game->getRadiusBombSize());
        const ShotOutcome shot = copy.resolveShot(0, cast.get(), game->getYaw(0), game->getPitch(0), game->getPower(0));
        std::vector<Vector> landings;
        for (const SpellFragment& fragment : cast->getFragments()) {
            landings.push_back(fragment.path.back());
        }
        if (landings.empty()) {
            landings.push_back(shot.trajectory.back());
        }
        ASSERT_EQ(landings.size(), rings) << key;
        EXPECT_EQ(sight.getLandings(), landings) << key;
        EXPECT_EQ(sight.getPaths().front(), AimingSight::Path(shot.trajectory.begin(), shot.trajectory.end()));
    }

    // Looking straight down on the first ring: its cross fills the middle,
    // in the ring's orange, with no GL state left changed.
    const Vector centre = sight.getLandings().front();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(centre.x - 2, centre.x + 2, centre.z - 2, centre.z + 2, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(90, 1, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    const int attributes = stackDepth(GL_ATTRIB_STACK_DEPTH);
    sight.render();
    const auto middle = readPixel(GL_TEST_WINDOW_SIDE / 2, GL_TEST_WINDOW_SIDE / 2);
    EXPECT_GT(middle[0], 200);
    EXPECT_LT(middle[2], 80);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(stackDepth(GL_ATTRIB_STACK_DEPTH), attributes);
}

TEST_F(ControllerTest, ACastersPreviousShotIsKeptAsItFlewUntilANewBattlefield)
{
    special(GLUT_KEY_LEFT, 9);
    special(GLUT_KEY_UP, 30);
    keys("4");
    keys("\r");
    const AimingSight& sight = view->getAids().getSight();
    // The meteor's path to its split, then its three fireballs'.
    ASSERT_EQ(sight.getPreviousShot(0).size(), 4u);
    EXPECT_EQ(sight.getPreviousShot(0).front(),
              AimingSight::Path(shots.lastTrajectory.begin(), shots.lastTrajectory.end()));
    EXPECT_TRUE(sight.getPreviousShot(1).empty());
    waitForTheShot();
    controller->getTurnAim().newBattlefield();
    EXPECT_TRUE(sight.getPreviousShot(0).empty());
}

TEST_F(ControllerTest, TheWindowShowsEveryCastersAimFromTheStartOfABattlefield)
{
    printed([&] { game->apply(Command::NewBattlefield{5}); });
    for (int id = 0; id < model->getNumberOfPlayers(); ++id) {
        const ViewCannon shown = view->getCharacters().getCannon(id);
        EXPECT_EQ(shown.power, game->getPower(id)) << id;
        EXPECT_GT(shown.power, 0.0) << id;
    }
}

TEST_F(ControllerTest, WithShiftTheAimingKeysStepATenthAsFar)
{
    struct Step {
        int key;
        double yaw, pitch, power;
    };
    // Home has no finer step: with Shift it steps as without.
    for (const Step& step : {Step{GLUT_KEY_LEFT, -1, 0, 0}, Step{GLUT_KEY_RIGHT, 1, 0, 0}, Step{GLUT_KEY_UP, 0, 0.1, 0},
                             Step{GLUT_KEY_DOWN, 0, -0.1, 0}, Step{GLUT_KEY_PAGE_UP, 0, 0, 0.01},
                             Step{GLUT_KEY_PAGE_DOWN, 0, 0, -0.01}, Step{GLUT_KEY_HOME, 0, 0, 1}}) {
        SCOPED_TRACE(step.key);
        const double yaw = game->getYaw(0), pitch = game->getPitch(0), power = game->getPower(0);
        EXPECT_TRUE(special(step.key | SHIFTED_KEY).empty());
        EXPECT_NEAR(game->getYaw(0) - yaw, step.yaw, 1e-9);
        EXPECT_NEAR(game->getPitch(0) - pitch, step.pitch, 1e-9);
        EXPECT_NEAR(game->getPower(0) - power, step.power, 1e-9);
    }
    // Shift itself is no key of its own.
    EXPECT_TRUE(special(GLUT_KEY_SHIFT_L).empty());
}

TEST_F(ControllerTest, TheAutomaticCameraSwingsWithAHumansAimButNotAComputers)
{
    // The camera's view once it has come to rest.
    auto settledView = [&] {
        for (int frame = 0; frame < 30; ++frame) {
            clocks.clock.advance(100);
            view->getCamera().directCamera();
        }
        return (view->getCamera().getAvatarTarget() - view->getCamera().getAvatarPosition()).getNormalizedCopy();
    };
    auto flat = [](Vector looking) { return Vector(looking.x, 0, looking.z).getNormalizedCopy(); };
    // A yaw turns the model's +x about +y; the scene mirrors z. The pitch
    // tilts the view by a quarter of it.
    auto along = [](double yaw) { return Vector(std::cos(yaw * M_PI / 180), 0, std::sin(yaw * M_PI / 180)); };
    // A new battlefield tells every caster's aim, which turns no cannon.
    printed([&] { game->apply(Command::NewBattlefield{5}); });
    const CameraPose turn = view->getCamera().turnCameraPose(0);
    EXPECT_GT(settledView().dot((turn.target - turn.eye).getNormalizedCopy()), 0.999);
    special(GLUT_KEY_LEFT, 12);
    const Vector level = settledView();
    EXPECT_GT(flat(level).dot(along(game->getYaw(0))), 0.999);
    special(GLUT_KEY_UP, 20);
    EXPECT_NEAR(std::asin(settledView().y) - std::asin(level.y), 5.0 * M_PI / 180, 1e-3);
    controller->getComputerTurns().setComputer(1, ComputerLevel::easy);
    keys("\r");
    waitForTheShot();
    const Vector facing = flat(settledView());
    printed([&] { game->apply(Command::Aim{1, 120.0, 0.0, 4.0}); });
    EXPECT_GT(flat(settledView()).dot(facing), 0.999);
}

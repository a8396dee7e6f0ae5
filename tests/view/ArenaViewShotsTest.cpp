// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "animation/PathAnimation.h"
#include "model/HorizontalNova.h"
#include "model/Player.h"
#include "model/RadiusBomb.h"
#include "model/SpellFragment.h"
#include "model/VerticalStrike.h"
#include "scene/TransformNode.h"
#include "support/RecordingSoundPlayer.h"
#include "support/ScriptedRandom.h"
#include "view/ViewFixture.h"

namespace {

// A 10 x 10 map, floor and a few columns, two players standing on it, and
// shots reported to the view as the model would.
class ShotTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        newMap(grid, 10, 10, 10);
        ScriptedRandom script({0.7});
        printed([&] { view->onPlayer(0, shooter); });
        printed([&] { view->onPlayer(1, target); });
        view->onCurrentPlayer(0);
    }

    struct Shot {
        std::list<Vector> path = {Vector(0, 5, 0), Vector(4, 5, 0)};
        std::set<Vector> removed;
        std::map<Vector, int> falling;
        std::map<int, int> playerFalls;
        std::map<int, double> damages;
        std::set<int> killed;
    };

    std::vector<std::string> fire(Shot& shot, Projectile* spell)
    {
        return printed([&] {
            view->onProjectile(0, spell, shot.path, shot.removed, shot.falling, shot.playerFalls, shot.damages,
                               shot.killed);
        });
    }

    // One frame's worth of the parts that move the shot on.
    void frameAt(long tick)
    {
        clocks.clock.set(tick);
        printed([&] {
            view->renderTerrain();
            view->renderAnimations();
        });
    }

    bool inScene(GraphicNode* node) const
    {
        const auto& children = view->getCharacters().getSceneNode()->getChildren();
        return std::find(children.begin(), children.end(), node) != children.end();
    }

    // Column (5, 5) is four blocks high, everything else is floor.
    TestGrid grid{10, 10, 10, [](int x, int y, int z) { return y == 0 || (x == 5 && z == 5 && y < 4); }};
    Player shooter{"Torva Murk", Vector(1, 1, 1), 1, 1.8, Vector(0.5, 0.9, 0.5), 1.15};
    Player target{"Osri Quay", Vector(5, 4, 5), 1, 1.8, Vector(0.5, 0.9, 0.5), 1.15};
};

} // namespace

TEST_F(ShotTest, AShortShotLastsDelayFlightAndEffect)
{
    Shot shot;
    shot.path = {Vector(0, 0, 0), Vector(3, 4, 0)};
    RadiusBomb bomb(0.0);
    EXPECT_EQ(fire(shot, &bomb),
              (std::vector<std::string>{"Dead Players: 0", "Displaying the 103 blocks out of 103"}));
    EXPECT_TRUE(view->isAnimating());
    frameAt(2449);
    EXPECT_TRUE(view->isAnimating());
    frameAt(2450);
    EXPECT_FALSE(view->isAnimating());
    EXPECT_EQ(view->getRunningAnimations().getAnimations().size(), 2u);
}

TEST_F(ShotTest, AFlightLongerThanSixSecondsIsShownInSix)
{
    // Cells of a straight path, and when the shot is over: the 700 ms
    // start, the flight, the 1000 ms effect.
    for (const auto& [cells, end] : {std::pair{10.0, 3200L}, {40.0, 7700L}, {120.0, 7700L}}) {
        SCOPED_TRACE(cells);
        clocks.clock.set(0);
        Shot shot;
        shot.path = {Vector(0, 0, 0), Vector(cells, 0, 0)};
        RadiusBomb bomb(0.0);
        fire(shot, &bomb);
        frameAt(end - 1);
        EXPECT_TRUE(view->isAnimating());
        frameAt(end);
        EXPECT_FALSE(view->isAnimating());
    }
}

TEST_F(ShotTest, AShotWhosePointsCoincideFliesForNoTime)
{
    Shot shot;
    shot.path = {Vector(2, 2, 2), Vector(2, 2, 2)};
    RadiusBomb bomb(1.0);
    fire(shot, &bomb);
    frameAt(1699);
    EXPECT_TRUE(view->isAnimating());
    frameAt(1700);
    EXPECT_FALSE(view->isAnimating());
}

TEST_F(ShotTest, TheWholeTimelineOfAShot)
{
    // Flight 600 ms; effect 1000; one block destroyed; the top of the column
    // falls three cells; the target on it falls one; the shooter is hurt.
    Shot shot;
    shot.removed = {Vector(5, 0, 5)};
    shot.falling = {{Vector(5, 3, 5), 3}};
    shot.playerFalls = {{1, 1}};
    shot.damages = {{0, 20.0}, {1, 2.0}};
    target.setPosition(Vector(5, 3, 5));
    RadiusBomb bomb(1.0);
    ASSERT_EQ(view->getTerrain().getBlock(Vector(5, 3, 5)), TerrainChunks::GRASS);
    const int blocks = view->getTerrain().getBlockCount();
    GraphicNode* character = view->getCharacters().getPlayerNode(1);
    fire(shot, &bomb);

    // At once: the destroyed block leaves the terrain, the fallen one is
    // booked at its new cell but not yet drawn there, the character leaves
    // the scene, its aim record drops.
    EXPECT_EQ(view->getTerrain().getBlock(Vector(5, 0, 5)), TerrainChunks::EMPTY);
    EXPECT_EQ(view->getTerrain().getBlock(Vector(5, 3, 5)), TerrainChunks::EMPTY);
    EXPECT_EQ(view->getTerrain().getBlockCount(), blocks - 2);
    ASSERT_EQ(view->getTerrain().getPendingBlocks().size(), 1u);
    EXPECT_EQ(view->getTerrain().getPendingBlocks().front().cell, Vector(5, 0, 5));
    // They join the terrain as their fall ends: after the 700 ms start,
    // the flight, the effect and the debris, three cells of 100 ms each.
    EXPECT_EQ(view->getTerrain().getPendingBlocksTick(), 3600);
    EXPECT_FALSE(inScene(character));
    // The damage numbers wait for the hurt, which starts as the effect
    // plays.
    ASSERT_EQ(view->getAids().getDamageNumbers().size(), 2u);
    EXPECT_EQ(view->getAids().getDamageNumbers()[0].start, 1600);
    EXPECT_EQ(view->getAids().getDamageNumbers()[1].text, "-2");
    // The aim record was made at the old height (4.9 at the box centre).
    EXPECT_NEAR(view->getCharacters().getCannons().at(1).position.y, 3.9, 1e-9);

    frameAt(3600);
    EXPECT_EQ(view->getTerrain().getBlock(Vector(5, 0, 5)), TerrainChunks::EMPTY);
    frameAt(3601);
    // A grass block stays grass wherever it lands.
    EXPECT_EQ(view->getTerrain().getBlock(Vector(5, 0, 5)), TerrainChunks::GRASS);
    EXPECT_EQ(view->getTerrain().getBlockCount(), blocks - 1);
    EXPECT_TRUE(view->getTerrain().getPendingBlocks().empty());

    frameAt(3799);
    EXPECT_TRUE(view->isAnimating());
    EXPECT_FALSE(inScene(character));
    frameAt(3800);
    EXPECT_FALSE(view->isAnimating());
    EXPECT_TRUE(inScene(character));
    // The character ends where the path ended, one cell lower.
    EXPECT_EQ(character->getTranslation(), Vector(5.5, 3, -5.5));
}

TEST_F(ShotTest, TheDeadArePrintedAndOnlyDieTheHurtFlinch)
{
    Shot shot;
    shot.damages = {{0, 30.0}, {1, 100.0}};
    shot.killed = {1};
    target.damage(100);
    shooter.damage(30);
    RadiusBomb bomb(1.0);
    EXPECT_EQ(fire(shot, &bomb),
              (std::vector<std::string>{"Dead Players: 1", "1", "Displaying the 103 blocks out of 103"}));
    auto* killedNode = static_cast<TransformNode*>(view->getCharacters().getPlayerNode(1));
    auto* shooterNode = static_cast<TransformNode*>(view->getCharacters().getPlayerNode(0));
    EXPECT_TRUE(killedNode->hasModelAnimation());
    EXPECT_EQ(killedNode->queuedAnimationCount(), 0u);
    // The shooter casts first, then flinches.
    EXPECT_TRUE(shooterNode->hasModelAnimation());
    EXPECT_EQ(shooterNode->queuedAnimationCount(), 1u);
}

TEST_F(ShotTest, TheAlreadyDeadReactToNothing)
{
    Shot shot;
    shot.damages = {{1, 50.0}};
    target.damage(200);
    RadiusBomb bomb(1.0);
    fire(shot, &bomb);
    EXPECT_FALSE(static_cast<TransformNode*>(view->getCharacters().getPlayerNode(1))->hasModelAnimation());
    EXPECT_TRUE(view->getAids().getDamageNumbers().empty());
}

TEST_F(ShotTest, ExplosionPathsRiseAndFallAlongOneDirection)
{
    ScriptedRandom script({0.5, 0.25});
    std::list<Vector> path = view->createExplosionPath(Vector(2, 3, 4));
    ASSERT_EQ(path.size(), 11u);
    EXPECT_EQ(path.front(), Vector(2, 3, 4));
    // Rise 1 at one unit out, level at two, about 3 below after three.
    Vector direction(1, 0, 0);
    direction.rotate(90, 0, 1, 0);
    auto point = path.begin();
    for (int i = 0; i < 11; ++i, ++point) {
        const double t = 0.3 * i;
        EXPECT_NEAR(point->x, 2 + direction.x * t, 1e-9);
        EXPECT_NEAR(point->z, 4 + direction.z * t, 1e-9);
        EXPECT_NEAR(point->y, 3 + 2 * t - t * t, 1e-9);
    }
}

TEST_F(ShotTest, TheArrowHidesWhileAShotPlays)
{
    // Only the arrow among the running animations is a counted mesh.
    GraphicNode::resetTriangleCount();
    view->renderAnimations();
    EXPECT_GT(GraphicNode::getTriangleCount(), 0);
    Shot shot;
    RadiusBomb bomb(1.0);
    fire(shot, &bomb);
    clocks.clock.set(10);
    GraphicNode::resetTriangleCount();
    view->renderAnimations();
    EXPECT_EQ(GraphicNode::getTriangleCount(), 0);
}

TEST_F(ShotTest, TheTrajectoryIsKeptForDebugDrawingAcrossMaps)
{
    Shot shot;
    RadiusBomb bomb(1.0);
    fire(shot, &bomb);
    EXPECT_EQ(view->getShots().getTrajectory(), shot.path);
    EXPECT_EQ(countTriangles([&] { view->renderTrajectory(); }), 0);
    printed([&] { view->handleConsoleCommand("enable debug"); });
    glMatrixMode(GL_PROJECTION);
    glOrtho(-10, 10, -10, 10, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    EXPECT_GT(countTriangles([&] { view->renderTrajectory(); }), 0);
    newMap(grid, 10, 10, 10);
    EXPECT_EQ(view->getShots().getTrajectory(), shot.path);
}

TEST_F(ShotTest, ANewMapInTheMiddleOfAShotLeavesNothingBehind)
{
    // Everything in flight at once: debris, a falling block, a falling
    // character; then the console starts a new game.
    Shot shot;
    shot.removed = {Vector(5, 0, 5)};
    shot.falling = {{Vector(5, 3, 5), 1}};
    shot.playerFalls = {{1, 1}};
    shot.damages = {{1, 2.0}};
    VerticalStrike strike;
    fire(shot, &strike);
    frameAt(1500);
    TestGrid floor(4, 4, 3, [](int, int y, int) { return y == 0; });
    newMap(floor, 4, 4, 3);
    EXPECT_TRUE(view->getTerrain().getPendingBlocks().empty());
    EXPECT_TRUE(view->getCharacters().getSceneNode()->getChildren().empty());
    EXPECT_FALSE(view->isAnimating());
    EXPECT_EQ(view->getRunningAnimations().getAnimations().size(), 2u);
    EXPECT_EQ(view->getTerrain().getBlockCount(), 16);
    for (long tick : {2000, 4000, 9000}) {
        frameAt(tick);
    }
    EXPECT_EQ(view->getTerrain().getBlockCount(), 16);
    // Nothing of the old shot lands on the new battlefield.
    EXPECT_EQ(view->getTerrain().getBlock(Vector(5, 0, 5)), TerrainChunks::EMPTY);
    EXPECT_EQ(view->getTerrain().getBlock(Vector(0, 1, 0)), TerrainChunks::EMPTY);
    EXPECT_TRUE(view->getCharacters().getSceneNode()->getChildren().empty());
}

TEST_F(ShotTest, AShotAndItsFramesDrawNothingFromTheGameStream)
{
    // Debris arcs and the cyclone's particles come from the effects' stream:
    // however many frames the shot takes to show, the next battlefield drawn
    // from the game's stream stays the same.
    ScriptedRandom game({0.5});
    Main::setEffectsRandomSource([] { return 0.25; });
    Shot shot;
    shot.removed = {Vector(5, 0, 5), Vector(5, 1, 5)};
    VerticalStrike cyclone;
    fire(shot, &cyclone);
    for (long tick = 0; tick <= 4000; tick += 7) {
        frameAt(tick);
    }
    Main::setEffectsRandomSource({});
    EXPECT_FALSE(view->isAnimating());
    EXPECT_EQ(game.drawn(), 0u);
}

namespace {

void expectAt(const ArenaView& view, const CameraPose& pose)
{
    EXPECT_NEAR((view.getCamera().getAvatarPosition() - pose.eye).getLength(), 0.0, 1e-9) << view.getCamera().getAvatarPosition();
    EXPECT_NEAR((view.getCamera().getAvatarTarget() - pose.target).getLength(), 0.0, 1e-9) << view.getCamera().getAvatarTarget();
}

} // namespace

TEST_F(ShotTest, TheAutomaticCameraShowsTheTurnThenFollowsTheShotToTheNextCaster)
{
    // The fixture's turn started at tick 0: glide there.
    clocks.clock.set(0);
    view->getCamera().directCamera();
    clocks.clock.set(800);
    view->getCamera().directCamera();
    expectAt(*view, view->getCamera().turnCameraPose(0));

    Shot shot;
    shot.path = {Vector(1, 3, 1), Vector(5, 6, 1), Vector(9, 3, 1)};
    RadiusBomb bomb(1.0);
    fire(shot, &bomb);
    view->onCurrentPlayer(1);
    // Cast at 800, the flight from 1500 to 3000: the camera looks at the
    // projectile, then holds on the impact.
    clocks.clock.set(2300);
    view->getCamera().directCamera();
    const Vector looked = view->getCamera().getAvatarTarget();
    EXPECT_GT(looked.x, 4.0);
    EXPECT_LT(looked.x, 9.0);
    EXPECT_NEAR(looked.z, -1.0, 1e-9);
    clocks.clock.set(3500);
    view->getCamera().directCamera();
    EXPECT_NEAR((view->getCamera().getAvatarTarget() - Vector(9, 3, -1)).getLength(), 0.0, 1e-9);
    // Once everything has played, to the next caster.
    for (long t = 3500; t <= 9000; t += 100) {
        clocks.clock.set(t);
        view->getCamera().directCamera();
    }
    expectAt(*view, view->getCamera().turnCameraPose(1));
}

TEST_F(ShotTest, SwitchedOffOrTakenOverTheCameraIsTheFreeCameraItWas)
{
    view->getCamera().setAutoCameraEnabled(false);
    view->onCurrentPlayer(1);
    for (long t : {0L, 400L, 800L, 2000L}) {
        clocks.clock.set(t);
        view->getCamera().directCamera();
        expectAt(*view, {ArenaView::START_EYE, ArenaView::START_TARGET});
    }
    // On again: a hand move holds it until the next turn, "v" too.
    view->getCamera().setAutoCameraEnabled(true);
    view->onCurrentPlayer(0);
    view->moveAvatar(1.0, 0.0);
    const Vector eye = view->getCamera().getAvatarPosition();
    clocks.clock.set(3000);
    view->getCamera().directCamera();
    EXPECT_EQ(view->getCamera().getAvatarPosition(), eye);
    view->onCurrentPlayer(1);
    view->resetAvatar();
    clocks.clock.set(4000);
    view->getCamera().directCamera();
    expectAt(*view, {ArenaView::START_EYE, ArenaView::START_TARGET});
}

TEST_F(ShotTest, SwitchedOnLaterTheCameraGlidesFromWhereItIsToTheTurnAsItStandsNow)
{
    // Off, moved by hand, and the caster's cannon turned since the turn began.
    view->getCamera().setAutoCameraEnabled(false);
    view->moveAvatar(1.0, 0.0);
    view->updatePlayerDirection(0, shooter, 120.0, 10.0, 4.0);
    const Vector eye = view->getCamera().getAvatarPosition();
    clocks.clock.set(5000);
    view->getCamera().setAutoCameraEnabled(true);
    view->getCamera().directCamera();
    EXPECT_EQ(view->getCamera().getAvatarPosition(), eye);
    clocks.clock.set(5000 + CameraDirector::GLIDE_LENGTH);
    view->getCamera().directCamera();
    expectAt(*view, view->getCamera().turnCameraPose(0));
}

TEST_F(ShotTest, TheTurnCameraSeesTheCasterOverTheTerrainBehindIt)
{
    // A wall six blocks high behind player 1, who looks towards the middle.
    TestGrid walled(12, 12, 10, [](int x, int y, int) { return y == 0 || (x == 1 && y < 7); });
    newMap(walled, 12, 12, 10);
    Player caster{"Osri Quay", Vector(3, 1, 6), 1, 1.8, Vector(0.5, 0.9, 0.5), 1.15};
    printed([&] { view->onPlayer(1, caster); });
    const CameraPose pose = view->getCamera().turnCameraPose(1);
    const Vector cannon = caster.getCannonPosition(0);
    // No block on the line from the cannon to the eye; the scene mirrors z.
    for (double share = 0.0; share <= 1.0; share += 0.01) {
        const Vector point = Vector(cannon.x, cannon.y, -cannon.z) + (pose.eye - Vector(cannon.x, cannon.y, -cannon.z)) * share;
        const Vector cell(std::floor(point.x), std::floor(point.y), std::floor(-point.z));
        ASSERT_EQ(view->getTerrain().getBlock(cell), TerrainChunks::EMPTY) << point;
    }
}

namespace {

// The same shots, heard through a player that writes down what it is asked.
class ShotSounds : public ShotTest {
protected:
    void SetUp() override
    {
        ShotTest::SetUp();
        view->getSounds().setSoundPlayer(&player);
    }
    void TearDown() override
    {
        view->getSounds().setSoundPlayer(nullptr);
        ShotTest::TearDown();
    }

    std::vector<std::string> soundsAt(long tick)
    {
        clocks.clock.set(tick);
        view->playSounds();
        return player.take();
    }

    RecordingSoundPlayer player;
};

} // namespace

TEST_F(ShotSounds, EachSoundComesAsItsEventIsShownAndFromWhereItIs)
{
    using Calls = std::vector<std::string>;
    std::string nova = "nova";
    view->onWeapon(nova);
    EXPECT_EQ(soundsAt(0), Calls{"near turn_chime"});
    EXPECT_TRUE(soundsAt(0).empty());

    // Flight 600 ms after the 700 ms start; the shooter is hurt, the target
    // dies; the top of the column falls three cells.
    Shot shot;
    shot.path = {Vector(0, 5, 2), Vector(4, 5, 2)};
    shot.damages = {{0, 20.0}, {1, 2.0}};
    shot.killed = {1};
    shot.falling = {{Vector(5, 3, 5), 3}};
    shot.playerFalls = {{0, 1}};
    shooter.setPosition(Vector(1, 0, 1));
    HorizontalNova spell;
    fire(shot, &spell);
    // The shooter, one cell lower in the model already, is heard where it is
    // seen until it falls: its middle at (1.5, 1.9, 1.5); the scene mirrors z.
    EXPECT_EQ(soundsAt(0), Calls{"play cast_nova 1.5 1.9 -1.5"});
    EXPECT_EQ(soundsAt(700), Calls{"loop flight 0 5 -2"});
    EXPECT_EQ(soundsAt(1000), Calls{"move 2 5 -2"});
    EXPECT_EQ(soundsAt(1300), (Calls{"stop", "play ring_nova 4 5 -2"}));
    // With the hurt and death animations.
    EXPECT_EQ(soundsAt(1600), (Calls{"play hurt 1.5 1.9 -1.5", "play death 5.5 4.9 -5.5"}));
    // The block falls as the effect ends (no debris here) and lands three
    // cells of 100 ms later, as the shot's last sound.
    EXPECT_TRUE(soundsAt(2299).empty());
    EXPECT_EQ(soundsAt(2300), Calls{"play block_fall 5.5 3.5 -5.5"});
    EXPECT_TRUE(soundsAt(2599).empty());
    EXPECT_EQ(soundsAt(2600), Calls{"play block_land 5.5 0.5 -5.5"});
    // Then the shooter drops a cell in 200 ms, and lands on the floor.
    EXPECT_EQ(soundsAt(2800), Calls{"play block_land 1.5 0 -1.5"});
    EXPECT_EQ(view->getSounds().getSoundCues().getPendingCount(), 0u);
    // The next turn is chimed once the shot has been seen.
    frameAt(2799);
    EXPECT_TRUE(soundsAt(2799).empty());
    frameAt(2800);
    EXPECT_EQ(soundsAt(2800), Calls{"near turn_chime"});
}

TEST_F(ShotSounds, ABlastOnTheLeftOfThePictureIsHeardOnTheLeft)
{
    printed([&] { view->reshape(GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE); });
    view->getCamera().setAutoCameraEnabled(false);
    Shot shot;
    // Seen from the start place, (-25, 25, 15) looking at the middle of the
    // scene, each end of the battlefield's near edge.
    for (const Vector& impact : {Vector(0, 0, 9), Vector(9, 0, 0)}) {
        shot.path = {Vector(5, 5, 5), impact};
        RadiusBomb bomb(0.0);
        fire(shot, &bomb);
        // Frames through the whole shot.
        for (int frame = 0; frame < 50; ++frame) {
            clocks.clock.advance(100);
            printed([&] { view->renderScene(); });
        }
        ASSERT_EQ(player.played.count(Sound::blastFireball), 1u);
        const Vector heard = player.played[Sound::blastFireball];
        EXPECT_EQ(heard, Vector(impact.x, impact.y, -impact.z));
        // Where the picture shows it...
        GLdouble modelview[16];
        GLdouble projection[16];
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        GLdouble x = 0;
        GLdouble y = 0;
        GLdouble z = 0;
        gluProject(heard.x, heard.y, heard.z, modelview, projection, viewport, &x, &y, &z);
        const bool leftInPicture = x < viewport[2] / 2.0;
        // ...and where the listener hears it: OpenAL's right is forward x up.
        const Vector& f = player.forward;
        const Vector& u = player.up;
        const Vector right(f.y * u.z - f.z * u.y, f.z * u.x - f.x * u.z, f.x * u.y - f.y * u.x);
        const Vector towards = heard - player.listener;
        const double side = towards.x * right.x + towards.y * right.y + towards.z * right.z;
        EXPECT_EQ(leftInPicture, side < 0) << "impact " << impact << " at x " << x;
        // Well off the middle of the 64-pixel window.
        EXPECT_GT(std::abs(x - viewport[2] / 2.0), 6.0);
        player.played.clear();
    }
}

TEST_F(ShotSounds, TheInterfaceClicksOnceForEachChangeAndTheWinnerHasItsFanfareOnce)
{
    using Calls = std::vector<std::string>;
    soundsAt(0);
    view->updateConsoleCommandEdition("s");
    view->updateConsoleCommandEdition("s");
    view->updateConsoleCommandEdition("se");
    EXPECT_EQ(player.take(), (Calls{"near key_click", "near key_click"}));
    view->showSetupScreen({"Casters 4", "Start"}, 0);
    view->showSetupScreen({"Casters 4", "Start"}, 0);
    view->showSetupScreen({"Casters 4", "Start"}, 1);
    EXPECT_EQ(player.take(), (Calls{"near key_click", "near key_click"}));
    view->hideSetupScreen();
    view->showWinner(0, false);
    view->showWinner(0, false);
    EXPECT_EQ(player.take(), Calls{"near fanfare"});
    // Nobody left standing is no fanfare.
    printed([&] { view->cleanup(); });
    view->showWinner(-1, false);
    EXPECT_TRUE(player.take().empty());
}

namespace {

// A shot that broke in two at the end of its path, as the meteor reports it.
class SplitShot : public RadiusBomb {
public:
    SplitShot() : RadiusBomb(1.0)
    {
        parts.push_back({{Vector(4, 5, 2), Vector(4, 3, 2)}, std::make_unique<RadiusBomb>(0.5)});
        parts.push_back({{Vector(4, 5, 2), Vector(4, 1, 2)}, std::make_unique<RadiusBomb>(0.5)});
    }
    const std::vector<SpellFragment>& getFragments() const override { return parts; }

private:
    std::vector<SpellFragment> parts;
};

} // namespace

TEST_F(ShotSounds, ASplitShotCracksWhereItSplitsAndEachFragmentBlastsWhereItLands)
{
    using Calls = std::vector<std::string>;
    std::string meteor = "meteor";
    view->onWeapon(meteor);
    soundsAt(0);
    Shot shot;
    shot.path = {Vector(0, 5, 2), Vector(4, 5, 2)};
    SplitShot spell;
    fire(shot, &spell);
    EXPECT_EQ(soundsAt(0), Calls{"play cast_meteor 1.5 1.9 -1.5"});
    soundsAt(700);
    // The meteor's flight of 600 ms ends at the split; the fragments fly
    // 300 and 600 ms on from there, each blasting where it lands.
    // The flight's sound rides on with the last fragment.
    EXPECT_EQ(soundsAt(1300), (Calls{"move 4 5 -2", "play split_meteor 4 5 -2"}));
    EXPECT_EQ(soundsAt(1600), (Calls{"move 4 3 -2", "play blast_fireball 4 3 -2"}));
    EXPECT_EQ(soundsAt(1900), (Calls{"stop", "play blast_fireball 4 1 -2"}));
    // The later fragment's blast of 1000 ms ends the shot.
    frameAt(2899);
    EXPECT_TRUE(view->isAnimating());
    frameAt(2900);
    EXPECT_FALSE(view->isAnimating());
}

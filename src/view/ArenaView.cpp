// SPDX-License-Identifier: GPL-3.0-or-later
// The view's core: its resources, the fixed OpenGL state, the projection, the
// order in which one frame is drawn, and the free-flying camera.
#include "view/ArenaView.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <iostream>

#include "animation/Animation.h"
#include "animation/PathAnimation.h"
#include "animation/WindAnimation.h"
#include "model/Player.h"
#include "platform/ResourcePath.h"
#include "scene/TransformNode.h"
#include "scene/graphicnode.h"
#include "scene/timesensor.h"
#include "scene/wrlanimationloader.h"
#include "scene/wrlsceneloader.h"
#include "view/FrameLog.h"

namespace {

// Ticks of the view clock.
constexpr long ARROW_PERIOD = 500;
constexpr long WIND_PERIOD = 1000;

constexpr int FRAME_RATE_SAMPLES = 10;

struct Resource {
    const char* file;
    const char* key;
    bool keyFrames;
};

// Loaded in this order.
const Resource RESOURCES[] = {
    {"res/arrow.wrl", "arrow", false},
    {"res/grassCube.wrl", "grass", false},
    {"res/dirtCube.wrl", "dirt", false},
    {"res/fireball.wrl", "fireball", false},
    {"res/wizard.wrl", "wizard", false},
    {"res/sorcerer.wrl", "sorcerer", false},
    {"res/wizard_kill.wrl", "wizard_die", true},
    {"res/wizard_spell.wrl", "wizard_cast", true},
    {"res/wizard_hit.wrl", "wizard_hurt", true},
    {"res/wizard_idle.wrl", "wizard_idle", true},
    {"res/sorcerer_kill.wrl", "sorcerer_die", true},
    {"res/sorcerer_spell.wrl", "sorcerer_cast", true},
    {"res/sorcerer_hit.wrl", "sorcerer_hurt", true},
    {"res/sorcerer_idle.wrl", "sorcerer_idle", true},
};

// "res/wizard.wrl" -> "wizard.wrl": the file's name within the data folder.
std::string resourceName(const std::string& file)
{
    const std::size_t slash = file.find_last_of("/\\");
    return slash == std::string::npos ? file : file.substr(slash + 1);
}

} // namespace

ArenaView::ArenaView(TimeSystem& timeSystem)
    : timeSystem(timeSystem),
      width(0),
      height(0),
      depth(0),
      sceneNode(nullptr),
      avatarPosition(START_EYE),
      avatarTarget(START_TARGET),
      avatarUp(0, 1, 0),
      autoCamera(timeSystem),
      showingFPS(false),
      windowWidth(0),
      windowHeight(0),
      frameRate(FRAME_RATE_SAMPLES),
      frameCount(0),
      lastFrameTick(0),
      consoleVisible(false),
      arrowAnimation(nullptr),
      windAnimation(nullptr),
      debug(false),
      terrainBlockCount(0),
      pendingBlocksTick(0),
      currentPlayer(0),
      showingWinner(false),
      winner(-1),
      winnerCountdown(false),
      setupChosenRow(0),
      aidsShown(true),
      chunksEnabled(true),
      chimedTurn(-1)
{
    loadResources(dataFolderCandidates(""));
    sceneNode = new GraphicNode();
    // The arrow gets its path when a player's turn comes.
    arrowAnimation = new PathAnimation(ARROW_PERIOD, timeSystem, true, {}, new TransformNode(models["arrow"]), false);
    animations.push_back(arrowAnimation);
    windAnimation = new WindAnimation(WIND_PERIOD, timeSystem);
    animations.push_back(windAnimation);
}

ArenaView::~ArenaView()
{
    cleanup();
    // What cleanup keeps: the looping arrow and wind.
    for (Animation* animation : animations) {
        delete animation;
    }
    animations.clear();
    delete sceneNode;
    for (auto& [key, model] : models) {
        delete model;
    }
    for (auto& [key, keyFrames] : modelAnimations) {
        delete keyFrames;
    }
}

void ArenaView::loadResources(const std::vector<std::string>& folders)
{
    std::vector<std::string> files;
    for (const Resource& resource : RESOURCES) {
        files.push_back(resourceName(resource.file));
    }
    dataFolderSearch = folders;
    dataFolder = findDataFolder(folders, files);
    for (const Resource& resource : RESOURCES) {
        if (resource.keyFrames) {
            loadModelAnimation(resource.key, resource.file);
        } else {
            loadModel(resource.key, resource.file);
        }
    }
}

void ArenaView::loadModel(std::string key, std::string file)
{
    // A mesh loaded again is refilled in place: nodes may wrap it already.
    GraphicNode*& node = models[key];
    if (node == nullptr) {
        node = new GraphicNode();
    } else {
        node->clearChildren();
    }
    // Without a data folder the mesh stays empty and draws nothing.
    if (!dataFolder.empty()) {
        WRLSceneLoader::load((dataFolder + "/" + resourceName(file)).c_str(), *node);
    }
    node->computeNormal();
}

void ArenaView::loadModelAnimation(std::string key, std::string file)
{
    auto* sensor = new TimeSensor();
    if (!dataFolder.empty()) {
        WRLAnimationLoader::load((dataFolder + "/" + resourceName(file)).c_str(), *sensor);
    }
    TimeSensor*& slot = modelAnimations[key];
    delete slot;
    slot = sensor;
}

const std::string& ArenaView::getDataFolder() const
{
    return dataFolder;
}

const std::vector<std::string>& ArenaView::getDataFolderSearch() const
{
    return dataFolderSearch;
}

void ArenaView::cleanup()
{
    // The shot animations go first: a falling character hands its node back
    // to the scene when its animation is deleted, and must be cleared with
    // the others rather than survive into the next map.
    for (auto animation = animations.begin(); animation != animations.end();) {
        if (!(*animation)->isLooping()) {
            delete *animation;
            animation = animations.erase(animation);
        } else {
            ++animation;
        }
    }
    sceneNode->clearChildren();
    nodeModels.clear();
    pendingBlocks.clear();
    autoCamera.reset();
    surfaceBlocks.clear();
    terrainBlockCount = 0;
    playerNodes.clear();
    players.clear();
    cannons.clear();
    showingWinner = false;
    sounds.clear();
    chimedTurn = -1;
    damageNumbers.clear();
    placedDamageNumbers.clear();
    sight.clear();
}

void ArenaView::initialize()
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const GLfloat ambient[] = {0.04f, 0.04f, 0.04f, 1.0f};
    const GLfloat diffuse[] = {0.4f, 0.4f, 0.4f, 1.0f};
    const GLfloat position[] = {-5.0f, 5.0f, 5.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT1, GL_POSITION, position);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glColor3f(1.0f, 1.0f, 1.0f);
}

void ArenaView::reshape(int w, int h)
{
    windowWidth = w;
    windowHeight = h;
    std::cout << "Reshape " << w << " " << h << std::endl;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A window without height would make the aspect infinite: take it as one
    // pixel high.
    const double aspect = static_cast<double>(w) / static_cast<double>(h > 0 ? h : 1);
    gluPerspective(45.0, aspect, 0.1f, 100.0);
    glViewport(0, 0, w, h);
    glMatrixMode(GL_MODELVIEW);
}

void ArenaView::renderScene()
{
    GraphicNode::resetTriangleCount();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    directCamera();
    gluLookAt(avatarPosition.x, avatarPosition.y, avatarPosition.z, avatarTarget.x, avatarTarget.y,
              avatarTarget.z, avatarUp.x, avatarUp.y, avatarUp.z);
    playSounds();
    renderBounds();
    renderSceneNode();
    renderTerrain();
    renderPlayer();
    renderTrajectory();
    renderAnimations();
    renderSight();
    placeDamageNumbers();
    const bool lighting = glIsEnabled(GL_LIGHTING) == GL_TRUE;
    if (lighting) {
        glDisable(GL_LIGHTING);
    }
    setOrthographicProjection();
    glPushMatrix();
    glLoadIdentity();
    // The damage numbers first: the overlay's lines stay readable over them.
    displayDamageNumbers();
    displayFramePerSecond();
    displayPlayerInfo();
    displayConsole();
    displayCredits();
    displayReplayLine();
    if (setupRows.empty()) {
        displayTurnLine();
        displayWinner();
    }
    displaySetupScreen();
    glPopMatrix();
    resetPerspectiveProjection();
    if (lighting) {
        glEnable(GL_LIGHTING);
    }
    glutSwapBuffers();
    glFlush();
    updateFrameCount();
    FrameLog::markFrame();
}

void ArenaView::renderSceneNode()
{
    sceneNode->draw();
}

void ArenaView::updatePlayerDirection(int id, const Player& player, double yaw, double pitch, double power)
{
    ViewCannon& cannon = cannons[id];
    cannon.position = player.getCannonPosition(yaw);
    cannon.length = player.getCannonLength();
    cannon.yaw = yaw;
    cannon.pitch = pitch;
    cannon.power = power;
    auto node = playerNodes.find(id);
    if (node != playerNodes.end()) {
        node->second->setRotation(0.0f, 1.0f, 0.0f, static_cast<float>(90.0 - yaw));
    }
}

const Vector& ArenaView::getAvatarPosition() const
{
    return avatarPosition;
}

const Vector& ArenaView::getAvatarTarget() const
{
    return avatarTarget;
}

const std::map<int, ViewCannon>& ArenaView::getCannons() const
{
    return cannons;
}

const std::vector<Vector>& ArenaView::getSurfaceBlocks() const
{
    return surfaceBlocks;
}

const std::list<PendingBlock>& ArenaView::getPendingBlocks() const
{
    return pendingBlocks;
}

long ArenaView::getPendingBlocksTick() const
{
    return pendingBlocksTick;
}

GraphicNode* ArenaView::getSceneNode() const
{
    return sceneNode;
}

GraphicNode* ArenaView::getPlayerNode(int id) const
{
    auto node = playerNodes.find(id);
    return node == playerNodes.end() ? nullptr : node->second;
}

std::string ArenaView::getNodeModel(GraphicNode* node) const
{
    auto model = nodeModels.find(node);
    return model == nodeModels.end() ? "" : model->second;
}

const SpellEffects& ArenaView::getSpellEffects() const
{
    return effects;
}

TimeSystem& ArenaView::getTimeSystem() const
{
    return timeSystem;
}

const std::list<Animation*>& ArenaView::getAnimations() const
{
    return animations;
}

PathAnimation* ArenaView::getArrowAnimation() const
{
    return arrowAnimation;
}

WindAnimation* ArenaView::getWindAnimation() const
{
    return windAnimation;
}

GraphicNode* ArenaView::getModel(const std::string& key) const
{
    auto model = models.find(key);
    return model == models.end() ? nullptr : model->second;
}

TimeSensor* ArenaView::getKeyFrames(const std::string& key) const
{
    auto keyFrames = modelAnimations.find(key);
    return keyFrames == modelAnimations.end() ? nullptr : keyFrames->second;
}

int ArenaView::getCurrentPlayer() const
{
    return currentPlayer;
}

const std::string& ArenaView::getWeapon() const
{
    return weapon;
}

const std::string& ArenaView::getConsoleCommand() const
{
    return consoleCommand;
}

bool ArenaView::isConsoleVisible() const
{
    return consoleVisible;
}

bool ArenaView::isDebug() const
{
    return debug;
}

const std::list<Vector>& ArenaView::getTrajectory() const
{
    return trajectory;
}

int ArenaView::getWindowWidth() const
{
    return windowWidth;
}

int ArenaView::getWindowHeight() const
{
    return windowHeight;
}

const MovingAverage& ArenaView::getFrameRate() const
{
    return frameRate;
}

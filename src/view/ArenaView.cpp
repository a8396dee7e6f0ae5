// SPDX-License-Identifier: GPL-3.0-or-later
// The view's core: its parts, the fixed OpenGL state, the projection, the
// order in which one frame is drawn, and the model's events handed on.
#include "view/ArenaView.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <iostream>

#include "animation/WindAnimation.h"
#include "audio/Sound.h"
#include "model/Player.h"
#include "platform/ResourcePath.h"
#include "scene/graphicnode.h"
#include "view/CasterMark.h"
#include "view/FrameLog.h"

ArenaView::ArenaView(TimeSystem& timeSystem)
    : timeSystem(timeSystem),
      debug(false),
      resources(dataFolderCandidates("")),
      animations(timeSystem, resources.getModel("arrow")),
      terrain(resources),
      characters(timeSystem, resources, *animations.getArrowAnimation()),
      camera(timeSystem, characters, terrain),
      sounds(timeSystem),
      overlay(timeSystem, characters),
      aids(timeSystem, characters, animations, setupPanel, overlay),
      edgeMarkers(characters, aids, overlay),
      healthBars(timeSystem, characters, aids, overlay),
      keyHint(aids, overlay),
      shots({timeSystem, resources, animations, characters, terrain, sounds, aids, healthBars, camera})
{
}

ArenaView::~ArenaView()
{
    // The parts go in the reverse order of their building; the shots'
    // animations must go first, while the scene their characters return to
    // is still there.
    cleanup();
}

void ArenaView::cleanup()
{
    // The shot animations go first: a falling character hands its node back
    // to the scene when its animation is deleted, and must be cleared with
    // the others rather than survive into the next map.
    animations.clearShots();
    characters.clear();
    terrain.clear();
    camera.reset();
    aids.clear();
    healthBars.clear();
    sounds.clear();
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
    overlay.reshape(w, h);
    std::cout << "Reshape " << w << " " << h << std::endl;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A window without height would make the aspect infinite: take it as one
    // pixel high.
    const double aspect = static_cast<double>(w) / static_cast<double>(h > 0 ? h : 1);
    gluPerspective(CameraDirector::FIELD_OF_VIEW, aspect, 0.1f, 100.0);
    glViewport(0, 0, w, h);
    glMatrixMode(GL_MODELVIEW);
}

void ArenaView::renderScene()
{
    GraphicNode::resetTriangleCount();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    camera.directCamera();
    camera.look();
    playSounds();
    renderBounds();
    renderSceneNode();
    renderTerrain();
    renderPlayer();
    CasterMark::paint(characters);
    renderTrajectory();
    renderAnimations();
    aids.renderSight();
    aids.placeDamageNumbers();
    healthBars.place();
    edgeMarkers.place();
    const bool lighting = glIsEnabled(GL_LIGHTING) == GL_TRUE;
    if (lighting) {
        glDisable(GL_LIGHTING);
    }
    setOrthographicProjection();
    glPushMatrix();
    glLoadIdentity();
    displayOverlays();
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

void ArenaView::displayOverlays()
{
    // The bars and the damage numbers first: the overlay's lines stay
    // readable over them.
    if (!setupPanel.isShowing()) {
        healthBars.display();
    }
    aids.displayDamageNumbers();
    displayFramePerSecond();
    displayPlayerInfo();
    displayConsole();
    displayCredits();
    overlay.displayReplayLine();
    if (!setupPanel.isShowing()) {
        aids.displayTurnLine();
        aids.displayWinner();
        edgeMarkers.display();
        keyHint.display();
        overlay.displayMessages();
        overlay.displayTurnCountdown();
        overlay.displayWaitingLine();
    }
    setupPanel.display(overlay.getWindowWidth());
}

void ArenaView::renderSceneNode()
{
    characters.getSceneNode()->draw();
}

void ArenaView::playSounds()
{
    const bool waiting = aids.isTurnWaiting();
    sounds.play(camera.getAvatarPosition(), camera.getAvatarTarget(), camera.getAvatarUp(),
                waiting ? characters.getCurrentPlayer() : -1);
}

// --- The model's and the controller's events -----------------------------

void ArenaView::onNewMap(int w, int d, int h, bool*** grid, const Vector& wind)
{
    animations.getWindAnimation()->setDirection(wind);
    std::cout << "New Map: " << w << " " << d << " " << h << std::endl;
    cleanup();
    terrain.reset(w, d, h, grid);
    camera.setBattlefield(w, d, h);
}

void ArenaView::onPlayer(int id, Player& player)
{
    std::cout << "On player " << id << ": " << player << std::endl;
    characters.onPlayer(id, player);
}

void ArenaView::onCurrentPlayer(int id)
{
    // No such player on this map: the arrow stays where it is.
    if (characters.onCurrentPlayer(id)) {
        camera.onTurn(id);
    }
}

void ArenaView::onLastManStanding(int id)
{
    std::cout << "Last man standing " << id << std::endl;
}

void ArenaView::onWeapon(std::string& name)
{
    characters.setWeapon(name);
}

void ArenaView::onProjectile(int playerId, Projectile* projectile, std::list<Vector>& trajectory,
                             std::set<Vector>& removedBlocks, std::map<Vector, int>& fallingBlocks,
                             std::map<int, int>& playerFalls, std::map<int, double>& damages,
                             std::set<int>& killedPlayers)
{
    aids.getSight().rememberShot(playerId, AimingSight::flightOf(trajectory, projectile));
    shots.present(playerId, projectile, trajectory,
                  {removedBlocks, fallingBlocks, playerFalls, damages, killedPlayers});
}

void ArenaView::updatePlayerDirection(int id, const Player& player, double yaw, double pitch, double power)
{
    characters.updateDirection(id, player, yaw, pitch, power);
}

void ArenaView::onAim(int id, double yaw, double pitch, bool computer)
{
    // A computer's aim, or one a replay plays, is watched from the turn's
    // place; only the hand on the keys takes the camera round with it.
    if (!computer && overlay.getReplayLine().empty()) {
        camera.onAim(id, yaw, pitch);
    }
}

void ArenaView::showWinner(int id, bool demonstration)
{
    if (aids.showWinner(id, demonstration)) {
        sounds.playNear(Sound::fanfare);
    }
}

void ArenaView::showSetupScreen(const std::vector<std::string>& rows, int chosen)
{
    if (setupPanel.show(rows, chosen)) {
        sounds.playNear(Sound::keyClick);
    }
}

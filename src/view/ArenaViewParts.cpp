// SPDX-License-Identifier: GPL-3.0-or-later
// The view's operations that one part carries out alone, handed on to it, and
// the parts themselves for those who read or drive them.
#include "view/ArenaView.h"

#include "scene/graphicnode.h"
#include "view/BitmapText.h"

// --- Resources ------------------------------------------------------------

void ArenaView::loadResources(const std::vector<std::string>& folders)
{
    resources.load(folders);
}

void ArenaView::loadModel(std::string key, std::string file)
{
    resources.loadModel(key, file);
}

void ArenaView::loadModelAnimation(std::string key, std::string file)
{
    resources.loadModelAnimation(key, file);
}



TimeSensor* ArenaView::getModelAnimation(std::string model, std::string animation)
{
    return resources.getCharacterKeyFrames(model, animation);
}


TimeSystem& ArenaView::getTimeSystem() const
{
    return timeSystem;
}

// --- Camera ---------------------------------------------------------------

void ArenaView::moveAvatar(double strafe, double forward)
{
    camera.moveAvatar(strafe, forward);
}

void ArenaView::moveAvatarVision(double yaw, double pitch)
{
    camera.moveAvatarVision(yaw, pitch);
}

void ArenaView::resetAvatar()
{
    camera.resetAvatar();
}







// --- Terrain --------------------------------------------------------------

void ArenaView::calculateSurfaceBlocks()
{
    terrain.calculateSurfaceBlocks();
}

void ArenaView::renderTerrain()
{
    terrain.render(timeSystem.getTick());
}

void ArenaView::renderBounds()
{
    terrain.renderBounds();
}

bool ArenaView::isInsideGrid(const Vector& v) const
{
    return terrain.isInsideGrid(v);
}




// --- Characters -----------------------------------------------------------

void ArenaView::renderPlayer()
{
    characters.render(debug);
}

void ArenaView::animate(int id, std::string animation, long length, long delay, bool hold)
{
    characters.animate(id, animation, length, delay, hold);
}

void ArenaView::idleAnimation(int id, std::string animation, long length)
{
    characters.idleAnimation(id, animation, length);
}






// --- Shots and animations -------------------------------------------------

std::list<Vector> ArenaView::createExplosionPath(Vector centre)
{
    return ShotPresentation::createExplosionPath(centre);
}

void ArenaView::renderTrajectory()
{
    shots.renderTrajectory(debug);
}

void ArenaView::renderAnimations()
{
    animations.render();
}

bool ArenaView::isAnimating() const
{
    return animations.isAnimating();
}

// --- Overlay, aids and the new-game screen --------------------------------

void ArenaView::showFPS()
{
    overlay.showFPS();
}

void ArenaView::hideFPS()
{
    overlay.hideFPS();
}

bool ArenaView::isShowingFPS() const
{
    return overlay.isShowingFPS();
}

void ArenaView::displayFramePerSecond()
{
    overlay.displayFramePerSecond();
}

void ArenaView::displayPlayerInfo()
{
    overlay.displayPlayerInfo();
}

void ArenaView::displayConsole()
{
    overlay.displayConsole();
}

void ArenaView::displayCredits()
{
    overlay.displayCredits();
}

void ArenaView::renderBitmapString(float x, float y, float z, void* font, const char* text)
{
    BitmapText::draw(x, y, z, font, text);
}

void ArenaView::setOrthographicProjection()
{
    overlay.setOrthographicProjection();
}

void ArenaView::resetPerspectiveProjection()
{
    overlay.resetPerspectiveProjection();
}

void ArenaView::updateFrameCount()
{
    overlay.updateFrameCount();
}

double ArenaView::abs(double x)
{
    return x < 0 ? -x : x;
}





void ArenaView::hideSetupScreen()
{
    setupPanel.hide();
}





// --- Sound and console ----------------------------------------------------


bool ArenaView::isDebug() const
{
    return debug;
}

// --- The parts ------------------------------------------------------------

const ViewResources& ArenaView::getResources() const
{
    return resources;
}

const ViewAnimations& ArenaView::getRunningAnimations() const
{
    return animations;
}

const ViewTerrain& ArenaView::getTerrain() const
{
    return terrain;
}

ViewTerrain& ArenaView::getTerrain()
{
    return terrain;
}

const ViewCharacters& ArenaView::getCharacters() const
{
    return characters;
}

ViewCharacters& ArenaView::getCharacters()
{
    return characters;
}

const ViewCamera& ArenaView::getCamera() const
{
    return camera;
}

ViewCamera& ArenaView::getCamera()
{
    return camera;
}

const ViewSounds& ArenaView::getSounds() const
{
    return sounds;
}

ViewSounds& ArenaView::getSounds()
{
    return sounds;
}

const ViewOverlay& ArenaView::getOverlay() const
{
    return overlay;
}

ViewOverlay& ArenaView::getOverlay()
{
    return overlay;
}

const PlayingAids& ArenaView::getAids() const
{
    return aids;
}

PlayingAids& ArenaView::getAids()
{
    return aids;
}

const SetupPanel& ArenaView::getSetupPanel() const
{
    return setupPanel;
}

EdgeMarkers& ArenaView::getEdgeMarkers()
{
    return edgeMarkers;
}

HealthBars& ArenaView::getHealthBars()
{
    return healthBars;
}

KeyHint& ArenaView::getKeyHint()
{
    return keyHint;
}

const ShotPresentation& ArenaView::getShots() const
{
    return shots;
}

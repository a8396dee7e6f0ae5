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

const std::string& ArenaView::getDataFolder() const
{
    return resources.getDataFolder();
}

const std::vector<std::string>& ArenaView::getDataFolderSearch() const
{
    return resources.getDataFolderSearch();
}

TimeSensor* ArenaView::getModelAnimation(std::string model, std::string animation)
{
    return resources.getCharacterKeyFrames(model, animation);
}

GraphicNode* ArenaView::getModel(const std::string& key) const
{
    return resources.getModel(key);
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

void ArenaView::zoom(double steps)
{
    camera.zoom(steps);
}

void ArenaView::setAutoCameraEnabled(bool enabled)
{
    camera.setAutoCameraEnabled(enabled);
}

bool ArenaView::isAutoCameraEnabled() const
{
    return camera.isAutoCameraEnabled();
}

const Vector& ArenaView::getAvatarPosition() const
{
    return camera.getAvatarPosition();
}

const Vector& ArenaView::getAvatarTarget() const
{
    return camera.getAvatarTarget();
}

const CameraDirector& ArenaView::getAutoCamera() const
{
    return camera.getAutoCamera();
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

const TerrainChunks& ArenaView::getChunks() const
{
    return terrain.getChunks();
}

TerrainChunks::Block ArenaView::getTerrainBlock(const Vector& cell) const
{
    return terrain.getBlock(cell);
}

void ArenaView::setChunksEnabled(bool enabled)
{
    terrain.setChunksEnabled(enabled);
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

void ArenaView::setPlayerNote(int id, const std::string& note)
{
    characters.setPlayerNote(id, note);
}

const std::map<int, ViewCannon>& ArenaView::getCannons() const
{
    return characters.getCannons();
}

int ArenaView::getCurrentPlayer() const
{
    return characters.getCurrentPlayer();
}

const std::string& ArenaView::getWeapon() const
{
    return characters.getWeapon();
}

const std::map<int, std::string>& ArenaView::getPlayerNotes() const
{
    return characters.getPlayerNotes();
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

void ArenaView::setReplayLine(const std::string& line)
{
    overlay.setReplayLine(line);
}

const std::string& ArenaView::getReplayLine() const
{
    return overlay.getReplayLine();
}

const std::string& ArenaView::getConsoleCommand() const
{
    return overlay.getConsoleCommand();
}

bool ArenaView::isConsoleVisible() const
{
    return overlay.isConsoleVisible();
}

void ArenaView::hideSetupScreen()
{
    setupPanel.hide();
}

bool ArenaView::isShowingSetupScreen() const
{
    return setupPanel.isShowing();
}

void ArenaView::setSight(const std::vector<Vector>& path)
{
    aids.setSight(path);
}

const std::vector<Vector>& ArenaView::getSight() const
{
    return aids.getSight();
}

std::vector<std::string> ArenaView::winnerLines() const
{
    return aids.winnerLines();
}

// --- Sound and console ----------------------------------------------------

void ArenaView::setSoundPlayer(SoundPlayer* player)
{
    sounds.setSoundPlayer(player);
}

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

const ShotPresentation& ArenaView::getShots() const
{
    return shots;
}

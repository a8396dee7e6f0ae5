// SPDX-License-Identifier: GPL-3.0-or-later
// The OpenGL view of the game. It listens to the model and hands each event
// to the part of the view it concerns: the resources, the running animations,
// the terrain, the characters, the camera, the sounds, the overlay, the
// playing aids, the new-game panel and the shots. It draws one frame per
// display callback: terrain, characters, shots and the text overlay.
#pragma once

#include <list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "math/TimeSystem.h"
#include "math/Vector.h"
#include "model/ArenaModelListener.h"
#include "view/CameraDirector.h"
#include "view/EdgeMarkers.h"
#include "view/HealthBars.h"
#include "view/KeyHint.h"
#include "view/PlayingAids.h"
#include "view/SetupPanel.h"
#include "view/ShotPresentation.h"
#include "view/ViewAnimations.h"
#include "view/ViewCamera.h"
#include "view/ViewCannon.h"
#include "view/ViewCharacters.h"
#include "view/ViewOverlay.h"
#include "view/ViewResources.h"
#include "view/ViewSounds.h"
#include "view/ViewTerrain.h"

class GraphicNode;
class Player;
class SoundPlayer;
class TimeSensor;

class ArenaView : public ArenaModelListener {
public:
    // The camera's start place, where "v" puts it back.
    static constexpr Vector START_EYE = ViewCamera::START_EYE;
    static constexpr Vector START_TARGET = ViewCamera::START_TARGET;

    // Loads every resource; makes no OpenGL call (it runs before the window
    // exists). timeSystem: not owned; the view clock, which outlives the view.
    explicit ArenaView(TimeSystem& timeSystem);
    ~ArenaView() override;
    ArenaView(const ArenaView&) = delete;
    ArenaView& operator=(const ArenaView&) = delete;

    // --- Core, resources and camera -------------------------------------

    // file: named like "res/wizard.wrl"; read from the data folder.
    void loadModel(std::string key, std::string file);
    void loadModelAnimation(std::string key, std::string file);
    // Discards the current map's blocks, characters, aims and shot animations.
    void cleanup();
    // The fixed OpenGL state; once the window exists.
    void initialize();
    void reshape(int w, int h);
    void renderScene();
    void renderSceneNode();
    // Moves eye and target together: strafe to the right for positive values,
    // forward away from the target for positive values.
    void moveAvatar(double strafe, double forward);
    // Turns the target about the eye: yaw in degrees about the vertical, pitch
    // added to the height of the unit view direction.
    void moveAvatarVision(double yaw, double pitch);
    void resetAvatar();
    void updatePlayerDirection(int id, const Player& player, double yaw, double pitch, double power);
    // The current player's cannon turned (degrees): on a human's turn, but
    // not in a replay, the automatic camera swings with it.
    void onAim(int id, double yaw, double pitch, bool computer);
    // The frame's sounds: the listener at the camera, the sounds due by now,
    // and the chime when a turn starts to wait for its cast.
    void playSounds();

    // --- Terrain ---------------------------------------------------------

    void onNewMap(int width, int depth, int height, bool*** terrain, const Vector& wind) override;
    // Rebuilds the list of blocks with at least one empty neighbour.
    void calculateSurfaceBlocks();
    void renderTerrain();
    void renderBounds();
    bool isInsideGrid(const Vector& v) const;

    // --- Characters ------------------------------------------------------

    void onPlayer(int id, Player& player) override;
    void onCurrentPlayer(int id);
    void onLastManStanding(int id);
    void onWeapon(std::string& name);
    void renderPlayer();
    // The key-frame set of a model's animation ("death", "cast", "hurt",
    // "idle"), or null.
    TimeSensor* getModelAnimation(std::string model, std::string animation);
    // A one-shot animation of a character; hold keeps its last pose.
    void animate(int id, std::string animation, long length, long delay, bool hold);
    void idleAnimation(int id, std::string animation, long length);

    // --- Shots -----------------------------------------------------------

    void onProjectile(int playerId, Projectile* projectile, std::list<Vector>& trajectory,
                      std::set<Vector>& removedBlocks, std::map<Vector, int>& fallingBlocks,
                      std::map<int, int>& playerFalls, std::map<int, double>& damages,
                      std::set<int>& killedPlayers) override;
    // The arc of one destroyed block flung from centre; eleven points.
    std::list<Vector> createExplosionPath(Vector centre);
    void renderTrajectory();
    void renderAnimations();
    // True while anything but the looping arrow and wind plays.
    bool isAnimating() const;

    // --- Overlay ---------------------------------------------------------

    void showFPS();
    void hideFPS();
    bool isShowingFPS() const;
    void displayFramePerSecond();
    void displayPlayerInfo();
    void displayConsole();
    void displayCredits();
    void renderBitmapString(float x, float y, float z, void* font, const char* text);
    void setOrthographicProjection();
    void resetPerspectiveProjection();
    void updateFrameCount();
    double abs(double x);

    // --- Console ---------------------------------------------------------

    // True when the line was one of the view's commands or help.
    bool handleConsoleCommand(std::string line);
    void updateConsoleCommandEdition(std::string line);
    // Debug drawing: the trajectory, the names, boxes and cannons.
    void setDebug(bool on);
    bool isDebug() const;

    // --- The parts -------------------------------------------------------

    const ViewResources& getResources() const;
    const ViewAnimations& getRunningAnimations() const;
    const ViewTerrain& getTerrain() const;
    ViewTerrain& getTerrain();
    const ViewCharacters& getCharacters() const;
    ViewCharacters& getCharacters();
    const ViewCamera& getCamera() const;
    ViewCamera& getCamera();
    const ViewSounds& getSounds() const;
    ViewSounds& getSounds();
    const ViewOverlay& getOverlay() const;
    ViewOverlay& getOverlay();
    const PlayingAids& getAids() const;
    PlayingAids& getAids();
    const SetupPanel& getSetupPanel() const;
    EdgeMarkers& getEdgeMarkers();
    HealthBars& getHealthBars();
    KeyHint& getKeyHint();
    const ShotPresentation& getShots() const;

    // --- Used by the controller and the program --------------------------

    // The new-game screen, with the key click of each change.
    void showSetupScreen(const std::vector<std::string>& rows, int chosen);
    void hideSetupScreen();
    // Shows in the middle of the window who won, until the next battlefield;
    // -1 when nobody is left standing. The winner's fanfare plays with it.
    void showWinner(int id, bool demonstration);
    void loadResources(const std::vector<std::string>& folders);
    // The view clock: the game clock of replays.
    TimeSystem& getTimeSystem() const;

private:
    // The overlays, drawn in window pixels over the frame.
    void displayOverlays();

    TimeSystem& timeSystem; // not owned: the view clock
    bool debug;
    // In the order they are built: each part may lean on those above it.
    ViewResources resources;
    ViewAnimations animations;
    ViewTerrain terrain;
    ViewCharacters characters;
    ViewCamera camera;
    ViewSounds sounds;
    ViewOverlay overlay;
    SetupPanel setupPanel;
    PlayingAids aids;
    EdgeMarkers edgeMarkers;
    HealthBars healthBars;
    KeyHint keyHint;
    ShotPresentation shots;
};

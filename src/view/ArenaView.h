// SPDX-License-Identifier: GPL-3.0-or-later
// The OpenGL view of the game. It listens to the model and builds its own scene
// from the events (the terrain's cells, drawn in chunks, a character per
// player, the aim of each player), owns every mesh and key-frame set loaded
// from res/ and every running animation, and draws one frame per display
// callback: terrain, characters, shots and the text overlay, through a
// free-flying camera.
#pragma once

#include <list>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "math/MovingAverage.h"
#include "math/TimeSystem.h"
#include "animation/EffectAnimations.h"
#include "math/Vector.h"
#include "model/ArenaModelListener.h"
#include "view/BlockFaces.h"
#include "view/CameraDirector.h"
#include "view/DamageNumber.h"
#include "view/PendingBlock.h"
#include "view/SoundCues.h"
#include "view/TerrainChunks.h"
#include "view/ViewCannon.h"

class Animation;
class GraphicNode;
class PathAnimation;
class Player;
class SoundPlayer;
class TimeSensor;
class TransformNode;
class WindAnimation;

class ArenaView : public ArenaModelListener {
public:
    // The camera's start place, where "v" puts it back.
    static constexpr Vector START_EYE{-25, 25, 15};
    static constexpr Vector START_TARGET{0, 0, 0};
    // The new-game screen's rows, in the overlay's 8 x 13 font: the first
    // row's baseline and the step to the next, from the window's top, and
    // their left edge for a window of this width.
    static constexpr int SETUP_FIRST_BASELINE = 160;
    static constexpr int SETUP_LINE_SPACING = 20;
    static int setupLineLeft(int windowWidth);

    // Loads every resource; makes no OpenGL call (it runs before the window
    // exists). timeSystem: not owned; the view clock, which outlives the view.
    explicit ArenaView(TimeSystem& timeSystem);
    ~ArenaView() override;
    ArenaView(const ArenaView&) = delete;
    ArenaView& operator=(const ArenaView&) = delete;

    // --- Core, resources and camera -------------------------------------

    // Loads every mesh and key-frame set from the first of the folders that
    // holds all of them, or none when no folder does. Meshes already loaded
    // are refilled in place; call it before the first map, while no
    // character uses the key-frame sets.
    void loadResources(const std::vector<std::string>& folders);
    // file: named like "res/wizard.wrl"; read from the data folder.
    void loadModel(std::string key, std::string file);
    void loadModelAnimation(std::string key, std::string file);
    // The folder the resources came from, "" when none held them all, and
    // the folders that were tried.
    const std::string& getDataFolder() const;
    const std::vector<std::string>& getDataFolderSearch() const;
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
    // Moves the camera along its view direction, towards what it looks at for
    // positive steps.
    void zoom(double steps);
    // The automatic camera, on by default; "c" and "enable/disable
    // autocamera". Off, the camera moves only by hand.
    void setAutoCameraEnabled(bool enabled);
    bool isAutoCameraEnabled() const;
    const CameraDirector& getAutoCamera() const;
    // Lets the automatic camera place the camera for this frame.
    void directCamera();
    // Where the automatic camera shows a player's turn from.
    CameraPose turnCameraPose(int id) const;
    void updatePlayerDirection(int id, const Player& player, double yaw, double pitch, double power);

    // --- Terrain ---------------------------------------------------------

    void onNewMap(int width, int depth, int height, bool*** terrain, const Vector& wind) override;
    // Rebuilds the list of blocks with at least one empty neighbour.
    void calculateSurfaceBlocks();
    // The terrain is drawn from chunks (true) or block by block (false, the
    // reference picture); "enable/disable chunks".
    void setChunksEnabled(bool enabled);
    bool isChunksEnabled() const;
    const TerrainChunks& getChunks() const;
    void renderTerrain();
    // Fallen blocks whose fall has been shown join the terrain.
    void landPendingBlocks();
    void renderBounds();
    bool isInsideGrid(const Vector& v) const;

    // --- Characters ------------------------------------------------------

    void onPlayer(int id, Player& player) override;
    void onCurrentPlayer(int id);
    void onLastManStanding(int id);
    // A short note drawn after a player's overlay line (which kind of player
    // it is); "" for none. Kept from one battlefield to the next.
    void setPlayerNote(int id, const std::string& note);
    // Shows in the middle of the window who won, until the next battlefield;
    // -1 when nobody is left standing. In a demonstration the next
    // battlefield comes by itself, otherwise "r" asks for it.
    void showWinner(int id, bool demonstration);
    // The new-game screen over everything else: its rows, the chosen one
    // picked out, until it is hidden.
    void showSetupScreen(const std::vector<std::string>& rows, int chosen);
    void hideSetupScreen();
    bool isShowingSetupScreen() const;
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
    void displayWinner();
    void displaySetupScreen();
    void renderBitmapString(float x, float y, float z, void* font, const char* text);
    void setOrthographicProjection();
    void resetPerspectiveProjection();
    void updateFrameCount();
    double abs(double x);
    // The overlay's texts: "FPS: 59.9 (60) TriangleCount: 5124" and
    // "Player: Torva Murk(100) 30 15 4.5 (3, 6, 7)".
    std::string frameRateLine() const;
    std::string playerLine(int id, const Player& player);
    // The winner's lines, "Torva Murk wins" and what follows; empty unless
    // a winner is shown.
    std::vector<std::string> winnerLines() const;
    // "Torva Murk — fireball" at the top while a caster's turn waits for
    // a cast; "" otherwise.
    std::string turnLine() const;
    // True while the current caster's turn waits for a cast: nothing plays,
    // no winner or new-game screen shows.
    bool isTurnWaiting() const;
    void displayTurnLine();
    // A number over each hurt caster, shown from start (ticks of the view
    // clock) as the hurt or death animation starts; falls: cells each
    // caster falls after it.
    void addDamageNumbers(const std::map<int, double>& damages, const std::set<int>& killed,
                          const std::map<int, int>& falls, long start);
    // Finds, in the scene's matrices, where each number shows in the window;
    // then draws them over the frame.
    void placeDamageNumbers();
    void displayDamageNumbers();
    const std::vector<DamageNumber>& getDamageNumbers() const;
    // The turn line and the damage numbers, shown unless "disable aids".
    void setAidsShown(bool shown);
    bool areAidsShown() const;
    // A line above the credits saying a replay plays and how far it has got;
    // "" hides it.
    void setReplayLine(const std::string& line);
    const std::string& getReplayLine() const;
    void displayReplayLine();
    // The aiming sight's path, model coordinates; empty hides it.
    void setSight(const std::vector<Vector>& path);
    const std::vector<Vector>& getSight() const;
    void renderSight();

    // --- Sound -----------------------------------------------------------

    // What the view's events are heard through; not owned, outlives the
    // view (or is replaced before it goes). Null: silence.
    void setSoundPlayer(SoundPlayer* player);
    // The shot's sounds still to come.
    const SoundCues& getSoundCues() const;
    // The frame's sounds: the listener to the camera, the sounds due by now,
    // and the chime when a turn starts to wait for its cast.
    void playSounds();

    // --- Console ---------------------------------------------------------

    void handleConsoleCommand(std::string line);
    void updateConsoleCommandEdition(std::string line);

    // --- Read access for the controller, the overlay's tests and tools ---

    // What the shots' spells make their effect animations with.
    const SpellEffects& getSpellEffects() const;
    // The view clock: the game clock of replays.
    TimeSystem& getTimeSystem() const;

    const Vector& getAvatarPosition() const;
    const Vector& getAvatarTarget() const;
    const std::map<int, ViewCannon>& getCannons() const;
    // The cells of the terrain's blocks with an empty neighbour.
    const std::vector<Vector>& getSurfaceBlocks() const;
    // The terrain's block in a cell (empty while its block falls or flies),
    // and how many blocks the terrain holds.
    TerrainChunks::Block getTerrainBlock(const Vector& cell) const;
    int getTerrainBlockCount() const;
    const std::list<PendingBlock>& getPendingBlocks() const;
    long getPendingBlocksTick() const;
    GraphicNode* getSceneNode() const;
    // The character node of a player, or null.
    GraphicNode* getPlayerNode(int id) const;
    // "wizard" or "sorcerer" for a character node, or "".
    std::string getNodeModel(GraphicNode* node) const;
    const std::list<Animation*>& getAnimations() const;
    PathAnimation* getArrowAnimation() const;
    WindAnimation* getWindAnimation() const;
    GraphicNode* getModel(const std::string& key) const;
    TimeSensor* getKeyFrames(const std::string& key) const;
    int getCurrentPlayer() const;
    const std::string& getWeapon() const;
    const std::string& getConsoleCommand() const;
    bool isConsoleVisible() const;
    const std::map<int, std::string>& getPlayerNotes() const;
    bool isDebug() const;
    const std::list<Vector>& getTrajectory() const;
    int getWindowWidth() const;
    int getWindowHeight() const;
    const MovingAverage& getFrameRate() const;

private:
    // The character of a player and its key frames of an animation, or null
    // when it has no character or no such animation.
    TransformNode* characterWithAnimation(int id, const std::string& animation, TimeSensor*& sensor);
    // Takes a cell's block out of the terrain as a node of its own, to fall
    // or fly; null when the terrain has no block there. block, when given,
    // receives its kind.
    GraphicNode* takeTerrainBlock(const Vector& cell, TerrainChunks::Block* block);
    // Index of a cell inside the grid in bookedCells.
    std::size_t cellIndex(const Vector& cell) const;
    // Where a terrain block's mesh is placed in the scene for its cell.
    static Vector blockPlace(const Vector& cell);

    TimeSystem& timeSystem; // not owned: the view clock
    int width;
    int height;
    int depth;
    GraphicNode* sceneNode;                   // owned: its children are the character nodes
    std::map<int, GraphicNode*> playerNodes;  // not owned: children of sceneNode (or of a fall animation)
    std::map<int, const Player*> players;     // not owned: the model's players
    std::list<Vector> trajectory;
    Vector avatarPosition;
    Vector avatarTarget;
    Vector avatarUp;
    CameraDirector autoCamera;
    bool showingFPS;
    int windowWidth;
    int windowHeight;
    MovingAverage frameRate;
    int frameCount;
    long lastFrameTick; // ticks of the view clock
    std::map<int, ViewCannon> cannons;
    std::string consoleCommand;
    bool consoleVisible;
    std::list<Animation*> animations; // owned: deleted when over, by cleanup or the destructor
    PathAnimation* arrowAnimation;    // not owned: an element of animations
    WindAnimation* windAnimation;     // not owned: an element of animations
    bool debug;
    // The terrain itself is the chunks' grid of cells: a block gets a node
    // of its own only while it falls or flies.
    std::vector<Vector> surfaceBlocks;
    int terrainBlockCount;
    // Fallen blocks and the cells they rejoin the terrain at. Their landing
    // cells count as taken meanwhile, though no terrain is drawn there yet.
    std::list<PendingBlock> pendingBlocks;
    std::vector<TerrainChunks::Block> bookedCells; // [x][z][y], like the chunks' grid
    long pendingBlocksTick; // ticks of the view clock
    std::map<std::string, GraphicNode*> models;         // owned: meshes by resource key
    std::map<std::string, TimeSensor*> modelAnimations; // owned: key-frame sets by resource key
    std::map<GraphicNode*, std::string> nodeModels;     // model key of each character node
    std::string weapon;
    int currentPlayer;
    std::map<int, std::string> playerNotes; // by player id
    bool showingWinner;
    int winner; // player id, or -1 for nobody
    bool winnerCountdown;
    std::vector<std::string> setupRows; // empty while the new-game screen is hidden
    int setupChosenRow;
    std::vector<DamageNumber> damageNumbers;
    std::vector<DamageNumber> placedDamageNumbers; // this frame's, at window pixels
    std::vector<Vector> sight;
    bool aidsShown;
    std::string replayLine;
    EffectAnimations effects;
    // The drawn terrain again, in chunks; the block meshes' faces it uses
    // are taken from the models at every new map.
    TerrainChunks chunks;
    std::unique_ptr<BlockFaces> grassFaces;
    std::unique_ptr<BlockFaces> dirtFaces;
    bool chunksEnabled;
    SoundCues sounds;
    int chimedTurn; // the player whose waiting turn was chimed, or -1
    std::string dataFolder; // "" when no folder held the resource files
    std::vector<std::string> dataFolderSearch;
};

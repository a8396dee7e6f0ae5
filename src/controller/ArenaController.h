// SPDX-License-Identifier: GPL-3.0-or-later
// Turns input into game actions: keys, mouse, joystick, the console line, the
// new-game screen and the computer players each make commands, which the
// controller hands to the game (the one place that applies them), unless a
// replay is playing: then the replay alone moves the game. Keys arrive one at
// a time from the key polling; mouse, window size and joystick straight from
// the GLUT callbacks. It listens to the model and to the game and shows what
// they tell in the view.
#pragma once

#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ai/BackgroundChooser.h"
#include "ai/ComputerLevel.h"
#include "controller/SetupScreen.h"
#include "game/CommandSink.h"
#include "game/GameListener.h"
#include "math/TimeSystem.h"
#include "math/Vector.h"
#include "model/ArenaModelListener.h"

class ArenaModel;
class ArenaView;
class Game;
class ReplayPlayback;

class ArenaController : public ArenaModelListener, public GameListener, public CommandSink {
public:
    // game, view: not owned; both outlive the controller. clock: not owned;
    // the input clock, which paces the computer players' aiming and the
    // demonstration's pause between battlefields. The controller listens to
    // the game and stands in front of it for the model's console.
    ArenaController(Game& game, ArenaView& view, TimeSystem& clock);
    // The same with a game of its own over model (not owned, outlives the
    // controller), which listens to the model from now on.
    ArenaController(ArenaModel& model, ArenaView& view, TimeSystem& clock);
    ~ArenaController() override;
    ArenaController(const ArenaController&) = delete;
    ArenaController& operator=(const ArenaController&) = delete;

    // Hands a command to the game; refused while a replay plays. Returns why
    // it was refused, or empty.
    std::string submit(const GameCommand& command) override;
    Game& getGame();

    void onNewMap(int width, int depth, int height, bool*** terrain, const Vector& wind) override;
    void onPlayer(int id, Player& player) override;
    void onProjectile(int playerId, Projectile* projectile, std::list<Vector>& trajectory,
                      std::set<Vector>& removedBlocks, std::map<Vector, int>& fallingBlocks,
                      std::map<int, int>& playerFalls, std::map<int, double>& damages,
                      std::set<int>& killedPlayers) override;

    // What the game tells, shown in the view.
    void onAim(int id, double yaw, double pitch, double power) override;
    void onLastManStanding(int id) override;
    void onCurrentPlayer(int id) override;
    void onWeapon(const std::string& name) override;
    void onKinds() override;

    // Once, after the first battlefield: hides the pointer, shows the turn and
    // the first spell, remembers the window's screen position.
    void initialize(int x, int y);
    void keyboard(unsigned char key);
    void specialKeyboard(int key);
    bool isKeyFastRepeat(unsigned char key);
    bool isKeyFastRepeat(int key);
    void mousePassiveMotion(int x, int y);
    void mouseEntry(int state);
    // The wheel zooms the camera.
    void mouseButton(int button, int state);
    void joystick(unsigned int buttons, int x, int y, int z);
    void reshape(int w, int h);
    // Ends the main loop: the program leaves once this frame is over. No key
    // acts after it.
    void quit();
    bool isQuitting() const;
    // Casts the chosen spell for the current player; the game then passes the
    // turn.
    void fire();
    // Passes the turn without a cast.
    void nextPlayer();
    void moveCannon(double dYaw, double dPitch);
    void modifyPower(double dPower);
    void setWeapon(std::string name);
    // Puts the current player's aim at these values (power kept within 0 and
    // the strongest shot), as the keys would.
    void setAim(double yaw, double pitch, double power);
    // The aiming sight ("t"): the first quarter of the path the current aim
    // would take, shown on a human's turn while the game goes on.
    void updateSight();
    bool isSightOn() const;
    // The start of a path up to a quarter of its length.
    static std::vector<Vector> firstQuarter(const std::list<Vector>& path);

    // --- Computer players ------------------------------------------------

    // Once per idle step: a computer player's turn (think on a copy of the
    // battlefield, turn the cannon over about a second, pick the spell, cast)
    // and, when only computer players are left alive after the last man
    // standing, a new battlefield 5 s after the winner is shown.
    void idle();
    // The player with this id, on this battlefield or a larger one later,
    // plays as a computer player of that level, or as a human. Ids from 0 to
    // MAX_PLAYERS - 1; others are ignored.
    void setComputer(int id, ComputerLevel level);
    void setHuman(int id);
    // The level of a computer player, or nothing for a human.
    std::optional<ComputerLevel> getComputerLevel(int id) const;
    // The current player is a living computer player: keys that aim or cast
    // do nothing.
    bool isComputerTurn() const;
    // Since the last new battlefield, the turn found no other living player.
    bool isLastManStanding() const;
    // Waits for a computer player's choice in progress, if any; for tests.
    void waitForComputer();

    // --- Replays ------------------------------------------------------------

    // Plays replay back from now on, paced by the view clock; keys that would
    // change the game do nothing until it ends, and the game then goes on
    // live. Null stops a replay.
    void playReplay(std::unique_ptr<ReplayPlayback> replay);
    bool isReplaying() const;
    const ReplayPlayback* getReplay() const;

    // --- The new-game screen (F2) -----------------------------------------

    // The set-up the game was started from, which the screen starts from.
    void setSetup(const GameSetup& setup);
    const GameSetup& getSetup() const;
    // The set-up of the game as it runs now: the console may have changed it
    // since it started. Names the model no longer shows are left out.
    GameSetup getLiveSetup() const;
    // Told of every set-up the screen starts, after it has started.
    void setSetupListener(std::function<void(const GameSetup&)> listener);
    bool isSetupScreenOpen() const;
    // Opens the screen on the live set-up; while it is open every key is its
    // own and the computer players wait.
    void openSetupScreen();
    void closeSetupScreen();
    // A new game of this set-up through the console's own operations: the
    // wind, the grid and the players (which draws new names and a new
    // battlefield), each seat's kind, then the names given.
    void startGame(const GameSetup& setup);
    bool isTyping() const;

    void fireConsoleCommand();
    void growConsoleCommand(unsigned char key);
    void handleConsoleCommand(std::string line);

    int getCurrentPlayer() const;
    double getYaw(int id) const;
    double getPitch(int id) const;
    double getPower(int id) const;
    const std::string& getWeapon() const;
    double getRadiusBombSize() const;
    bool isConsoleActive() const;
    // True for a key that, pressed now, opens the console line.
    bool opensConsole(unsigned char key) const;
    const std::string& getConsoleCommand() const;

private:
    // game: owned when owned is true.
    ArenaController(Game* game, bool owned, ArenaView& view, TimeSystem& clock);
    // A current player to act for: false on a battlefield without players.
    bool hasCurrentPlayer() const;
    // The replay's commands due by now, and the overlay's replay line.
    void playReplayStep();
    void openConsole();
    // A new battlefield, as the key "r" asks for.
    void newBattlefield();
    // Steps of idle: the computer player's turn and the demonstration.
    void playComputerTurn();
    void playDemonstration();
    // Ends a computer player's turn in progress without casting.
    void dropComputerTurn();
    // The spell the humans chose, back after a computer player picked its own.
    void restoreHumanWeapon();
    // Tells the view which players are computer players.
    void showPlayerKinds();
    // No living human and at least one computer player on the battlefield.
    bool isOnlyComputersLeft() const;
    // Hands a key's answer from the screen to the game, and shows the screen.
    void answerSetupScreen(SetupScreen::Answer answer);
    // Reads a console word naming one player of this battlefield (id set) or
    // "all" (id left empty); for anything else, why it is refused.
    std::string readPlayerIds(const std::string& word, std::optional<int>& id) const;

    std::unique_ptr<Game> ownGame; // owned: the game over a model of the caller's, or null
    Game& game;        // not owned, unless it is ownGame's
    ArenaModel& model; // not owned: the game's
    ArenaView& view;   // not owned
    int windowX;
    int windowY;
    int windowWidth;
    int windowHeight;
    bool consoleActive;
    std::string consoleCommand;
    bool quitting;

    TimeSystem& clock; // not owned: the input clock

    // A computer player's turn in progress.
    enum class ComputerPhase { none, thinking, aiming, casting };
    ComputerPhase computerPhase;
    int computerPlayer;          // whose turn the phase belongs to, or -1
    long computerPhaseTick;      // ticks of the input clock
    BackgroundChooser chooser;
    Vector thinkingGravity;      // the settings the choice was made under
    Vector thinkingWind;
    double thinkingRadius;
    double fromYaw, fromPitch, fromPower; // the aim when the cannon started turning
    double toYaw, toPitch, toPower;       // the chosen aim
    std::string computerSpell;
    long lastComputerAimTick;    // when the cannon's turn last became a command
    std::string humanWeapon;     // "" unless a computer player's spell replaced it
    long winnerTick;             // when the winner was shown, or -1
    bool sightOn;

    std::unique_ptr<ReplayPlayback> replay; // owned; null unless a replay plays

    SetupScreen setupScreen;
    GameSetup setup;
    std::function<void(const GameSetup&)> setupListener;
};

// Turns input into game actions: the aim of every player, whose turn it is,
// the chosen spell, firing, the camera, and the console line. Keys arrive one
// at a time from the key polling; mouse, window size and joystick straight
// from the GLUT callbacks. It also listens to the model, so that a new
// battlefield resets the aims.
#pragma once

#include <string>
#include <vector>

#include "model/ArenaModelListener.h"

class ArenaModel;
class ArenaView;

class ArenaController : public ArenaModelListener {
public:
    // model, view: not owned; both outlive the controller.
    ArenaController(ArenaModel& model, ArenaView& view);
    ~ArenaController() override;

    void onNewMap(int width, int depth, int height, bool*** terrain, const Vector& wind) override;
    void onPlayer(int id, Player& player) override;
    void onProjectile(int playerId, Projectile* projectile, std::list<Vector>& trajectory,
                      std::set<Vector>& removedBlocks, std::map<Vector, int>& fallingBlocks,
                      std::map<int, int>& playerFalls, std::map<int, double>& damages,
                      std::set<int>& killedPlayers) override;

    // Once, after the first battlefield: hides the pointer, shows the turn and
    // the first spell, remembers the window's screen position.
    void initialize(int x, int y);
    void keyboard(unsigned char key);
    void specialKeyboard(int key);
    bool isKeyFastRepeat(unsigned char key);
    bool isKeyFastRepeat(int key);
    void mousePassiveMotion(int x, int y);
    void mouseEntry(int state);
    void joystick(unsigned int buttons, int x, int y, int z);
    void reshape(int w, int h);
    // Ends the program.
    [[noreturn]] void quit();
    // Casts the chosen spell for the current player, then passes the turn.
    void fire();
    void nextPlayer();
    void moveCannon(double dYaw, double dPitch);
    void modifyPower(double dPower);
    void initPlayerControl();
    void setWeapon(std::string name);

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
    // A current player to act for: false on a battlefield without players.
    bool hasCurrentPlayer() const;
    void openConsole();

    ArenaModel& model; // not owned
    ArenaView& view;   // not owned
    std::vector<double> yaws;    // degrees, per player id
    std::vector<double> pitches; // degrees
    std::vector<double> powers;  // 0 to 100
    int currentPlayer;
    int windowX;
    int windowY;
    int windowWidth;
    int windowHeight;
    bool consoleActive;
    std::string consoleCommand;
    std::string weapon;
    double radiusBombSize;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// Input to game actions: aiming, firing and turns as commands to the game, the
// camera keys, mouse look, the joystick, and the console line with the
// controller's own commands.
#include "controller/ArenaController.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <memory>

#include <boost/regex.hpp>

#include "app/Main.h"
#include "console/ConsoleTable.h"
#include "game/Game.h"
#include "model/ArenaModel.h"
#include "platform/Pointer.h"
#include "replay/ReplayPlayback.h"
#include "view/ArenaView.h"

namespace {

// Normal keys.
constexpr unsigned char KEY_BACKSPACE = 8;
constexpr unsigned char KEY_ENTER = 13;
constexpr unsigned char KEY_ESCAPE = 27;
constexpr unsigned char KEY_BACKQUOTE = 96;
constexpr unsigned char KEY_TILDE = 126;

constexpr int MOUSE_WHEEL_UP = 3;
constexpr int MOUSE_WHEEL_DOWN = 4;

// Joystick axes count as pushed beyond this (GLUT reports -1000 to 1000).
constexpr int JOYSTICK_DEAD_ZONE = 100;

// Joystick buttons, as named on the pad.
enum JoystickButton : unsigned int {
    BUTTON_A = 1u << 0,
    BUTTON_B = 1u << 1,
    BUTTON_X = 1u << 2,
    BUTTON_Y = 1u << 3,
    BUTTON_L = 1u << 4,
    BUTTON_R = 1u << 5,
    BUTTON_Z = 1u << 6,
    BUTTON_START = 1u << 7,
    BUTTON_LEFT = 1u << 8,
    BUTTON_RIGHT = 1u << 9,
    BUTTON_DOWN = 1u << 10,
    BUTTON_UP = 1u << 11,
};

} // namespace

ArenaController::ArenaController(ArenaModel& model, ArenaView& view, TimeSystem& clock)
    : ArenaController(new Game(model), true, view, clock)
{
}

ArenaController::ArenaController(Game& game, ArenaView& view, TimeSystem& clock)
    : ArenaController(&game, false, view, clock)
{
}

ArenaController::ArenaController(Game* game, bool owned, ArenaView& view, TimeSystem& clock)
    : ownGame(owned ? game : nullptr),
      game(*game),
      model(game->getModel()),
      view(view),
      windowX(0),
      windowY(0),
      windowWidth(0),
      windowHeight(0),
      consoleActive(false),
      quitting(false),
      clock(clock),
      computerPhase(ComputerPhase::none),
      computerPlayer(-1),
      computerPhaseTick(0),
      thinkingRadius(0.0),
      fromYaw(0.0),
      fromPitch(0.0),
      fromPower(0.0),
      toYaw(0.0),
      toPitch(0.0),
      toPower(0.0),
      lastComputerAimTick(0),
      winnerTick(-1),
      sightOn(false)
{
    game->addListener(this);
    model.setCommandSink(this);
}

ArenaController::~ArenaController()
{
    // The chooser's thread goes first: it reads a copy of the game's model.
    chooser.cancel();
    game.removeListener(this);
    model.removeListener(this);
    if (model.getCommandSink() == this) {
        // The game takes the console's commands again, unless it goes too.
        model.setCommandSink(ownGame != nullptr ? nullptr : &game);
    }
}

std::string ArenaController::submit(const GameCommand& command)
{
    if (replay != nullptr) {
        return "a replay is playing; the game is yours again when it ends";
    }
    return game.apply(command);
}

Game& ArenaController::getGame()
{
    return game;
}

void ArenaController::onNewMap(int, int, int, bool***, const Vector&)
{
    // The game has already put the turn to player 0 and every aim back.
    view.onCurrentPlayer(0);
    dropComputerTurn();
    winnerTick = -1;
    showPlayerKinds();
}

void ArenaController::onAim(int id, double yaw, double pitch, double power)
{
    view.updatePlayerDirection(id, model.getPlayer(id), yaw, pitch, power);
    updateSight();
}

void ArenaController::onLastManStanding(int id)
{
    view.onLastManStanding(id);
}

void ArenaController::onCurrentPlayer(int id)
{
    view.onCurrentPlayer(id);
    updateSight();
}

void ArenaController::onWeapon(const std::string& name)
{
    std::string shown = name;
    view.onWeapon(shown);
}

void ArenaController::onKinds()
{
    showPlayerKinds();
}

void ArenaController::onPlayer(int, Player&)
{
}

void ArenaController::onProjectile(int, Projectile*, std::list<Vector>&, std::set<Vector>&,
                                   std::map<Vector, int>&, std::map<int, int>&, std::map<int, double>&,
                                   std::set<int>&)
{
}

void ArenaController::initialize(int x, int y)
{
    hidePointer();
    view.onCurrentPlayer(game.getCurrentPlayer());
    // The spell the game starts with: the fireball, unless a set-up chose another.
    std::string weapon = game.getWeapon();
    view.onWeapon(weapon);
    windowX = Main::fullscreen ? 0 : x;
    windowY = Main::fullscreen ? 0 : y;
}

void ArenaController::keyboard(unsigned char key)
{
    if (quitting) {
        return;
    }
    if (setupScreen.isOpen()) {
        answerSetupScreen(setupScreen.keyboard(key));
        return;
    }
    if (consoleActive) {
        if (key == KEY_ENTER) {
            consoleActive = false;
            fireConsoleCommand();
        } else {
            growConsoleCommand(key);
        }
        return;
    }
    const bool busy = view.isAnimating();
    // A computer player aims and casts for itself; a replay for everyone.
    const bool aimable = !isComputerTurn() && !isReplaying();
    switch (key) {
    case KEY_ENTER:
        if (!busy && aimable) {
            fire();
        }
        break;
    case 'c':
        view.setAutoCameraEnabled(!view.isAutoCameraEnabled());
        break;
    case '+':
    case '=':
        view.zoom(1.0);
        break;
    case '-':
        view.zoom(-1.0);
        break;
    case 't':
        sightOn = !sightOn;
        updateSight();
        break;
    case KEY_ESCAPE:
        quit();
        break;
    case '1':
        if (aimable) {
            setWeapon("fireball");
        }
        break;
    case '2':
        if (aimable) {
            setWeapon("cyclone");
        }
        break;
    case '3':
        if (aimable) {
            setWeapon("nova");
        }
        break;
    case '[':
        if (!busy && aimable) {
            moveCannon(-1.0, 0.0);
        }
        break;
    case ']':
        if (!busy && aimable) {
            moveCannon(1.0, 0.0);
        }
        break;
    case KEY_BACKQUOTE:
    case KEY_TILDE:
        openConsole();
        break;
    case 'a':
        view.moveAvatar(-1.0, 0.0);
        break;
    case 'd':
        view.moveAvatar(1.0, 0.0);
        break;
    case 'f':
        if (view.isShowingFPS()) {
            view.hideFPS();
        } else {
            view.showFPS();
        }
        break;
    case 'r':
        if (!busy && !isReplaying()) {
            newBattlefield();
        }
        break;
    case 's':
        view.moveAvatar(0.0, 1.0);
        break;
    case 'v':
        view.resetAvatar();
        break;
    case 'w':
        view.moveAvatar(0.0, -1.0);
        break;
    default:
        break;
    }
}

void ArenaController::specialKeyboard(int key)
{
    if (quitting) {
        return;
    }
    if (setupScreen.isOpen()) {
        answerSetupScreen(setupScreen.specialKeyboard(key));
        return;
    }
    const bool busy = view.isAnimating();
    // On a computer player's turn the aiming keys do nothing either, nor
    // while a replay plays.
    const bool held = busy || isComputerTurn() || isReplaying();
    switch (key) {
    case GLUT_KEY_LEFT:
        if (!held) {
            moveCannon(-10.0, 0.0);
        }
        break;
    case GLUT_KEY_UP:
        if (!held) {
            moveCannon(0.0, 1.0);
        }
        break;
    case GLUT_KEY_RIGHT:
        if (!held) {
            moveCannon(10.0, 0.0);
        }
        break;
    case GLUT_KEY_DOWN:
        if (!held) {
            moveCannon(0.0, -1.0);
        }
        break;
    case GLUT_KEY_PAGE_UP:
        if (!held) {
            modifyPower(0.1);
        }
        break;
    case GLUT_KEY_PAGE_DOWN:
        if (!held) {
            modifyPower(-0.1);
        }
        break;
    case GLUT_KEY_HOME:
        if (!held) {
            modifyPower(1.0);
        }
        break;
    case GLUT_KEY_END:
        if (!held) {
            modifyPower(-1.0);
        }
        break;
    case GLUT_KEY_F2:
        if (!consoleActive && !isReplaying()) {
            openSetupScreen();
        }
        break;
    default:
        // Unbound keys say so, but not while a shot is shown: busy means silent.
        if (!busy) {
            std::cout << "special key: " << std::endl;
        }
        break;
    }
}

bool ArenaController::isKeyFastRepeat(unsigned char key)
{
    if (isTyping()) {
        return false;
    }
    return key == '[' || key == ']' || key == 'a' || key == 'd' || key == 's' || key == 'w';
}

bool ArenaController::isKeyFastRepeat(int)
{
    // The screen's rows are picked one at a time.
    return !setupScreen.isOpen();
}

void ArenaController::mousePassiveMotion(int x, int y)
{
    if (setupScreen.isOpen()) {
        return;
    }
    const int centreX = windowWidth / 2;
    const int centreY = windowHeight / 2;
    // The event caused by our own re-centring.
    if (x == centreX && y == centreY) {
        return;
    }
    const int dx = std::clamp(x - centreX, -20, 20);
    const int dy = std::clamp(y - centreY, -20, 20);
    view.moveAvatarVision(-static_cast<double>(dx), dy / -100.0);
    warpPointer(centreX, centreY);
}

void ArenaController::mouseButton(int button, int state)
{
    // The wheel comes as presses of buttons 3 (up) and 4 (down).
    if (state != GLUT_DOWN || setupScreen.isOpen()) {
        return;
    }
    if (button == MOUSE_WHEEL_UP) {
        view.zoom(1.0);
    } else if (button == MOUSE_WHEEL_DOWN) {
        view.zoom(-1.0);
    }
}

void ArenaController::mouseEntry(int state)
{
    if (state == GLUT_LEFT) {
        std::cout << "Mouse left window" << std::endl;
    } else if (state == GLUT_ENTERED) {
        std::cout << "Mouse entered window" << std::endl;
    }
}

void ArenaController::joystick(unsigned int buttons, int x, int y, int z)
{
    if (setupScreen.isOpen() || quitting) {
        return;
    }
    if (x < -JOYSTICK_DEAD_ZONE) {
        view.moveAvatar(-1.0, 0.0);
    }
    if (x > JOYSTICK_DEAD_ZONE) {
        view.moveAvatar(1.0, 0.0);
    }
    if (y < -JOYSTICK_DEAD_ZONE) {
        view.moveAvatar(0.0, -1.0);
    }
    if (y > JOYSTICK_DEAD_ZONE) {
        view.moveAvatar(0.0, 1.0);
    }
    if (buttons & BUTTON_A) {
        view.moveAvatarVision(0.0, -0.1);
    }
    if (buttons & BUTTON_B) {
        view.moveAvatarVision(5.0, 0.0);
    }
    if (buttons & BUTTON_X) {
        view.moveAvatarVision(-5.0, 0.0);
    }
    if (buttons & BUTTON_Y) {
        view.moveAvatarVision(0.0, 0.1);
    }
    // Asked once: what follows a fire in the same poll is the next player's.
    const bool busy = view.isAnimating() || isComputerTurn() || isReplaying();
    if (busy) {
        return;
    }
    if (buttons & BUTTON_START) {
        fire();
    }
    if (buttons & BUTTON_LEFT) {
        moveCannon(-5.0, 0.0);
    }
    if (buttons & BUTTON_RIGHT) {
        moveCannon(5.0, 0.0);
    }
    if (buttons & BUTTON_UP) {
        moveCannon(0.0, 1.0);
    }
    if (buttons & BUTTON_DOWN) {
        moveCannon(0.0, -1.0);
    }
    if (z < -JOYSTICK_DEAD_ZONE) {
        modifyPower(-0.1);
    }
    if (z > JOYSTICK_DEAD_ZONE) {
        modifyPower(0.1);
    }
}

void ArenaController::reshape(int w, int h)
{
    windowWidth = w;
    windowHeight = h;
    warpPointer(w / 2, h / 2);
}

void ArenaController::quit()
{
    std::cout << "Quitting" << std::endl;
    quitting = true;
    // The main loop returns after this frame; the program then lets go of
    // its GL objects while the window still exists, and leaves.
    glutLeaveMainLoop();
}

bool ArenaController::isQuitting() const
{
    return quitting;
}

void ArenaController::fire()
{
    // Once one caster is left the game is over: nobody casts until a new
    // battlefield.
    if (!hasCurrentPlayer() || game.isLastManStanding()) {
        return;
    }
    submit(Command::Cast{game.getCurrentPlayer()});
}

void ArenaController::nextPlayer()
{
    if (hasCurrentPlayer()) {
        submit(Command::Pass{game.getCurrentPlayer()});
    }
}

void ArenaController::moveCannon(double dYaw, double dPitch)
{
    if (!hasCurrentPlayer()) {
        return;
    }
    const int id = game.getCurrentPlayer();
    setAim(game.getYaw(id) + dYaw, game.getPitch(id) + dPitch, game.getPower(id));
}

void ArenaController::modifyPower(double dPower)
{
    if (!hasCurrentPlayer()) {
        return;
    }
    const int id = game.getCurrentPlayer();
    setAim(game.getYaw(id), game.getPitch(id), game.getPower(id) + dPower);
}

void ArenaController::setAim(double yaw, double pitch, double power)
{
    if (!hasCurrentPlayer()) {
        return;
    }
    submit(Command::Aim{game.getCurrentPlayer(), yaw, pitch, std::clamp(power, 0.0, MAX_SHOT_POWER)});
}

void ArenaController::newBattlefield()
{
    // The reset itself reaches onNewMap first: the turn is player 0's.
    submit(Command::NewBattlefield{});
    view.onCurrentPlayer(game.getCurrentPlayer());
    updateSight();
}

void ArenaController::setWeapon(std::string name)
{
    submit(Command::Spell{name});
}

void ArenaController::openConsole()
{
    std::cout << "Console ON" << std::endl;
    consoleActive = true;
    consoleCommand.clear();
    view.updateConsoleCommandEdition(consoleCommand);
}

void ArenaController::growConsoleCommand(unsigned char key)
{
    if (key == KEY_BACKSPACE) {
        if (!consoleCommand.empty()) {
            consoleCommand.pop_back();
        }
    } else {
        consoleCommand += static_cast<char>(key);
    }
    view.updateConsoleCommandEdition(consoleCommand);
}

void ArenaController::fireConsoleCommand()
{
    handleConsoleCommand(consoleCommand);
    view.handleConsoleCommand(consoleCommand);
    model.handleConsoleCommand(consoleCommand);
    // Gravity, wind or a player's kind may have changed.
    updateSight();
}

void ArenaController::handleConsoleCommand(std::string line)
{
    // Tried in order; the first whole-line match acts.
    static const ConsoleTable<ArenaController> commands("Controller: ", {
        {"set radius_bomb_size (\\S+)",
         {"set radius_bomb_size size"},
         [](ArenaController& controller, const boost::smatch& g) {
             const double size = std::atof(g[1].str().c_str());
             // A radius that is not a finite number, or below zero, would make
             // every damage of the blast meaningless.
             if (!std::isfinite(size) || size < 0.0) {
                 commands.refuse("radius bomb size " + g[1].str()
                                 + " refused: it must be a number of 0 or more");
                 return;
             }
             if (const std::string why = controller.submit(Command::Radius{size}); !why.empty()) {
                 commands.refuse(why);
                 return;
             }
             std::cout << "Radius Bomb Size Setted to " << controller.getRadiusBombSize() << std::endl;
         }},
        {"set computer (\\S+) (\\S+)",
         {"set computer id/all easy/normal/hard"},
         [](ArenaController& controller, const boost::smatch& g) {
             const std::optional<ComputerLevel> level = parseLevel(g[2]);
             if (!level) {
                 commands.refuse("level " + g[2].str() + " refused: easy, normal or hard");
                 return;
             }
             std::optional<int> id;
             if (const std::string why = controller.readPlayerIds(g[1], id); !why.empty()) {
                 commands.refuse(why);
                 return;
             }
             if (const std::string why = controller.submit(Command::Kind{id, level}); !why.empty()) {
                 commands.refuse(why);
                 return;
             }
             std::cout << (id ? "Player " + std::to_string(*id) + " is" : std::string("Every player is"))
                       << " a computer player (" << levelName(*level) << ")" << std::endl;
         }},
        {"set human (\\S+)",
         {"set human id/all"},
         [](ArenaController& controller, const boost::smatch& g) {
             std::optional<int> id;
             if (const std::string why = controller.readPlayerIds(g[1], id); !why.empty()) {
                 commands.refuse(why);
                 return;
             }
             if (const std::string why = controller.submit(Command::Kind{id, std::nullopt}); !why.empty()) {
                 commands.refuse(why);
                 return;
             }
             std::cout << (id ? "Player " + std::to_string(*id) + " is" : std::string("Every player is"))
                       << " a human player" << std::endl;
         }},
    });
    commands.handle(*this, line);
}

bool ArenaController::hasCurrentPlayer() const
{
    return game.hasCurrentPlayer();
}

int ArenaController::getCurrentPlayer() const
{
    return game.getCurrentPlayer();
}

double ArenaController::getYaw(int id) const
{
    return game.getYaw(id);
}

double ArenaController::getPitch(int id) const
{
    return game.getPitch(id);
}

double ArenaController::getPower(int id) const
{
    return game.getPower(id);
}

const std::string& ArenaController::getWeapon() const
{
    return game.getWeapon();
}

double ArenaController::getRadiusBombSize() const
{
    return game.getRadiusBombSize();
}

bool ArenaController::isConsoleActive() const
{
    return consoleActive;
}

bool ArenaController::opensConsole(unsigned char key) const
{
    return !consoleActive && (key == KEY_BACKQUOTE || key == KEY_TILDE);
}

const std::string& ArenaController::getConsoleCommand() const
{
    return consoleCommand;
}

void ArenaController::updateSight()
{
    // Only a human aims with it, and only while there is a game to play.
    const int id = game.getCurrentPlayer();
    if (!sightOn || !hasCurrentPlayer() || isComputerTurn() || game.isLastManStanding()
        || model.getPlayer(id).isDead()) {
        view.setSight({});
        return;
    }
    const std::list<Vector> path = model.getShotTrajectory(id, game.getYaw(id), game.getPitch(id), game.getPower(id));
    view.setSight(firstQuarter(path));
}

bool ArenaController::isSightOn() const
{
    return sightOn;
}

std::vector<Vector> ArenaController::firstQuarter(const std::list<Vector>& path)
{
    double total = 0.0;
    for (auto point = path.begin(); point != path.end() && std::next(point) != path.end(); ++point) {
        total += (*std::next(point) - *point).getLength();
    }
    std::vector<Vector> quarter;
    double left = total / 4.0;
    for (auto point = path.begin(); point != path.end(); ++point) {
        quarter.push_back(*point);
        const auto next = std::next(point);
        if (next == path.end()) {
            break;
        }
        const double length = (*next - *point).getLength();
        if (length >= left) {
            if (length > 0.0) {
                quarter.push_back(*point + (*next - *point) * (left / length));
            }
            break;
        }
        left -= length;
    }
    return quarter;
}

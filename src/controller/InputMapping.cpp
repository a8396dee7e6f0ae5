// SPDX-License-Identifier: GPL-3.0-or-later
// The game's keys, special keys and joystick as tables of bindings, and the
// routing of keys to the new-game screen and the console line.
#include "controller/InputMapping.h"

#include <GL/freeglut.h>

#include <iostream>
#include <string>

#include "app/KeyReceiver.h"
#include "controller/ArenaController.h"
#include "controller/ReplayControl.h"
#include "controller/SetupDialog.h"
#include "controller/TurnAim.h"
#include "game/Game.h"
#include "model/SpellTable.h"
#include "view/ArenaView.h"

namespace {

// Normal keys.
constexpr int KEY_ENTER = 13;
constexpr int KEY_ESCAPE = 27;
constexpr int KEY_BACKQUOTE = 96;
constexpr int KEY_TILDE = 126;

// Joystick axes count as pushed beyond this (GLUT reports -1000 to 1000).
constexpr int JOYSTICK_DEAD_ZONE = 100;

// Joystick buttons, as named on the pad; "l", "r" and "z" do nothing.
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

// The spells in the order of their number keys, "1" first.
} // namespace

InputMapping::InputMapping(ArenaController& controller, ArenaView& view, const Game& game, TurnAim& turn,
                           SetupDialog& setup, const ReplayControl& replays)
    : controller(controller), view(view), game(game), turn(turn), setup(setup), replays(replays), console(view)
{
}

const std::vector<InputMapping::Binding>& InputMapping::keyBindings()
{
    static const std::vector<Binding> bindings = [] {
        std::vector<Binding> rows{
            {KEY_ENTER, AIMING, [](InputMapping& in, int) { in.controller.fire(); }},
            {KEY_ESCAPE, ANY_TIME, [](InputMapping& in, int) { in.controller.quit(); }},
            {'[', AIMING, [](InputMapping& in, int) { in.controller.moveCannon(-1.0, 0.0); }},
            {']', AIMING, [](InputMapping& in, int) { in.controller.moveCannon(1.0, 0.0); }},
            {'r', DURING_SHOT | DURING_REPLAY, [](InputMapping& in, int) { in.turn.newBattlefield(); }},
            {'t', ANY_TIME, [](InputMapping& in, int) { in.turn.toggleSight(); }},
            {KEY_BACKQUOTE, ANY_TIME, [](InputMapping& in, int) { in.console.open(); }},
            {KEY_TILDE, ANY_TIME, [](InputMapping& in, int) { in.console.open(); }},
            {'a', ANY_TIME, [](InputMapping& in, int) { in.view.moveAvatar(-1.0, 0.0); }},
            {'d', ANY_TIME, [](InputMapping& in, int) { in.view.moveAvatar(1.0, 0.0); }},
            {'s', ANY_TIME, [](InputMapping& in, int) { in.view.moveAvatar(0.0, 1.0); }},
            {'w', ANY_TIME, [](InputMapping& in, int) { in.view.moveAvatar(0.0, -1.0); }},
            {'v', ANY_TIME, [](InputMapping& in, int) { in.view.resetAvatar(); }},
            {'c', ANY_TIME,
             [](InputMapping& in, int) { in.view.getCamera().setAutoCameraEnabled(!in.view.getCamera().isAutoCameraEnabled()); }},
            {'+', ANY_TIME, [](InputMapping& in, int) { in.view.getCamera().zoom(1.0); }},
            {'=', ANY_TIME, [](InputMapping& in, int) { in.view.getCamera().zoom(1.0); }},
            {'-', ANY_TIME, [](InputMapping& in, int) { in.view.getCamera().zoom(-1.0); }},
            {'f', ANY_TIME, [](InputMapping& in, int) {
                 if (in.view.isShowingFPS()) {
                     in.view.hideFPS();
                 } else {
                     in.view.showFPS();
                 }
             }},
        };
        // The spell is one for every caster: a computer player picks its own.
        for (const SpellTable::Entry& spell : SpellTable::all()) {
            rows.push_back({spell.key, ON_COMPUTER_TURN | DURING_REPLAY,
                            [](InputMapping& in, int key) {
                                in.controller.setWeapon(SpellTable::byKey(static_cast<char>(key))->name);
                            }});
        }
        return rows;
    }();
    return bindings;
}

const std::vector<InputMapping::Binding>& InputMapping::specialBindings()
{
    static const std::vector<Binding> bindings{
        {GLUT_KEY_LEFT, AIMING, [](InputMapping& in, int) { in.controller.moveCannon(-10.0, 0.0); }},
        {GLUT_KEY_UP, AIMING, [](InputMapping& in, int) { in.controller.moveCannon(0.0, 1.0); }},
        {GLUT_KEY_RIGHT, AIMING, [](InputMapping& in, int) { in.controller.moveCannon(10.0, 0.0); }},
        {GLUT_KEY_DOWN, AIMING, [](InputMapping& in, int) { in.controller.moveCannon(0.0, -1.0); }},
        {GLUT_KEY_PAGE_UP, AIMING, [](InputMapping& in, int) { in.controller.modifyPower(0.1); }},
        {GLUT_KEY_PAGE_DOWN, AIMING, [](InputMapping& in, int) { in.controller.modifyPower(-0.1); }},
        {GLUT_KEY_HOME, AIMING, [](InputMapping& in, int) { in.controller.modifyPower(1.0); }},
        {GLUT_KEY_END, AIMING, [](InputMapping& in, int) { in.controller.modifyPower(-1.0); }},
        {GLUT_KEY_F2, WITH_CONSOLE_OPEN | DURING_REPLAY, [](InputMapping& in, int) { in.setup.open(); }},
        // With Shift held, the aiming keys step a tenth as far.
        {GLUT_KEY_LEFT | SHIFTED_KEY, AIMING, [](InputMapping& in, int) { in.controller.moveCannon(-1.0, 0.0); }},
        {GLUT_KEY_UP | SHIFTED_KEY, AIMING, [](InputMapping& in, int) { in.controller.moveCannon(0.0, 0.1); }},
        {GLUT_KEY_RIGHT | SHIFTED_KEY, AIMING, [](InputMapping& in, int) { in.controller.moveCannon(1.0, 0.0); }},
        {GLUT_KEY_DOWN | SHIFTED_KEY, AIMING, [](InputMapping& in, int) { in.controller.moveCannon(0.0, -0.1); }},
        {GLUT_KEY_PAGE_UP | SHIFTED_KEY, AIMING, [](InputMapping& in, int) { in.controller.modifyPower(0.01); }},
        {GLUT_KEY_PAGE_DOWN | SHIFTED_KEY, AIMING, [](InputMapping& in, int) { in.controller.modifyPower(-0.01); }},
        // The modifier keys themselves, which the window reports as special
        // keys of their own, only change what other keys do.
        {GLUT_KEY_SHIFT_L, ANY_TIME, [](InputMapping&, int) {}},
        {GLUT_KEY_SHIFT_R, ANY_TIME, [](InputMapping&, int) {}},
        {GLUT_KEY_CTRL_L, ANY_TIME, [](InputMapping&, int) {}},
        {GLUT_KEY_CTRL_R, ANY_TIME, [](InputMapping&, int) {}},
        {GLUT_KEY_ALT_L, ANY_TIME, [](InputMapping&, int) {}},
        {GLUT_KEY_ALT_R, ANY_TIME, [](InputMapping&, int) {}},
    };
    return bindings;
}

unsigned InputMapping::holds() const
{
    unsigned on = ANY_TIME;
    on |= view.isAnimating() ? DURING_SHOT : 0u;
    on |= game.isComputerTurn() ? ON_COMPUTER_TURN : 0u;
    on |= replays.isReplaying() ? DURING_REPLAY : 0u;
    on |= console.isActive() ? WITH_CONSOLE_OPEN : 0u;
    return on;
}

bool InputMapping::act(const std::vector<Binding>& bindings, int key)
{
    for (const Binding& binding : bindings) {
        if (binding.key == key) {
            if ((binding.hold & holds()) == 0) {
                binding.action(*this, key);
            }
            return true;
        }
    }
    return false;
}

void InputMapping::keyboard(unsigned char key)
{
    if (setup.isOpen()) {
        setup.keyboard(key);
        return;
    }
    if (!console.isActive()) {
        act(keyBindings(), key);
    } else if (key == KEY_ENTER) {
        console.close();
        controller.fireConsoleCommand();
    } else {
        controller.growConsoleCommand(key);
    }
}

void InputMapping::specialKeyboard(int key)
{
    const int plain = key & ~SHIFTED_KEY;
    if (setup.isOpen()) {
        setup.specialKeyboard(plain);
        return;
    }
    const bool busy = view.isAnimating();
    // A key with no shifted binding acts as without Shift. Unbound keys say
    // so, but not while a shot is shown: busy means silent.
    if (!act(specialBindings(), key) && !act(specialBindings(), plain) && !busy) {
        std::cout << "special key: " << std::endl;
    }
}

void InputMapping::joystick(unsigned int buttons, int x, int y, int z)
{
    if (setup.isOpen()) {
        return;
    }
    moveCamera(buttons, x, y);
    // Asked once: what follows a fire in the same poll is the next player's.
    if ((holds() & AIMING) == 0) {
        aim(buttons, z);
    }
}

void InputMapping::moveCamera(unsigned int buttons, int x, int y)
{
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
}

void InputMapping::aim(unsigned int buttons, int z)
{
    if (buttons & BUTTON_START) {
        controller.fire();
    }
    if (buttons & BUTTON_LEFT) {
        controller.moveCannon(-5.0, 0.0);
    }
    if (buttons & BUTTON_RIGHT) {
        controller.moveCannon(5.0, 0.0);
    }
    if (buttons & BUTTON_UP) {
        controller.moveCannon(0.0, 1.0);
    }
    if (buttons & BUTTON_DOWN) {
        controller.moveCannon(0.0, -1.0);
    }
    if (z < -JOYSTICK_DEAD_ZONE) {
        controller.modifyPower(-0.1);
    }
    if (z > JOYSTICK_DEAD_ZONE) {
        controller.modifyPower(0.1);
    }
}

bool InputMapping::isKeyFastRepeat(unsigned char key) const
{
    if (isTyping()) {
        return false;
    }
    return key == '[' || key == ']' || key == 'a' || key == 'd' || key == 's' || key == 'w';
}

bool InputMapping::isKeyFastRepeat(int) const
{
    // The screen's rows are picked one at a time.
    return !setup.isOpen();
}

bool InputMapping::isTyping() const
{
    return console.isActive() || setup.isOpen();
}

bool InputMapping::opensConsole(unsigned char key) const
{
    return console.opens(key);
}

ConsoleLine& InputMapping::getConsoleLine()
{
    return console;
}

const ConsoleLine& InputMapping::getConsoleLine() const
{
    return console;
}

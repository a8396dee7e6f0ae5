// SPDX-License-Identifier: GPL-3.0-or-later
// Turns raw key presses and releases into one-shot and repeating key events,
// and paces the forced joystick polls. The GLUT key callbacks only record here;
// the idle step polls.
#pragma once

#include <deque>
#include <functional>
#include <iosfwd>
#include <map>
#include <set>

#include "app/KeyReceiver.h"
#include "math/TimeSystem.h"

// Ticks of the input clock (milliseconds).
constexpr int KEY_FIRST_DELAY = 1000;  // press to first repeat of a slow key
constexpr int KEY_REPEAT_DELAY = 50;   // press to first repeat of a fast key; between repeats
constexpr int JOYSTICK_POLL_INTERVAL = -50; // handed to GLUT: no timed polling of its own
constexpr int ARTIFICIAL_JOYSTICK_POLL_INTERVAL = 50; // the idle step forces a poll this often

class KeyPolling {
public:
    // clock: not owned; the input clock, which must outlive this object.
    explicit KeyPolling(TimeSystem& clock);

    // Recording, from the GLUT key callbacks.
    void keyboard(unsigned char key);
    void keyboardUp(unsigned char key);
    void specialKeyboard(int key);
    void specialKeyboardUp(int key);

    // Hands new presses, then due repeats, to receiver. Game keys pressed
    // within one frame act once each, in ascending key order. A key that
    // opens a line to type into ends the game keys of its frame: while the
    // receiver is typing, every press goes to it once, in the order pressed,
    // so that a long frame neither scrambles nor merges the letters.
    void idle_keyboardNormalKeys(KeyReceiver& receiver);
    // The same for special keys: while the receiver is typing (on a screen
    // whose arrows move and change), each press acts once, in the order
    // pressed.
    void idle_keyboardSpecialKeys(KeyReceiver& receiver);

    // Calls forcePoll when more than ARTIFICIAL_JOYSTICK_POLL_INTERVAL ticks
    // have passed since the last forced poll.
    void pollJoystick(const std::function<void()>& forcePoll);

    // One idle step: joystick poll, normal keys, special keys, then a frame
    // request. A std::exception from any of them is written to err and ends
    // the step, frame request included.
    void idle(KeyReceiver& receiver, const std::function<void()>& forceJoystickPoll,
              const std::function<void()>& postRedisplay, std::ostream& err);

    std::set<unsigned char> pressedKeys;    // pressed since the last poll
    std::deque<unsigned char> pressOrder;   // the same presses in the order pressed, one entry each
    std::set<unsigned char> noRepeatKeys;   // released since their last press
    std::map<unsigned char, long> holdedKeys; // held, with the tick of the next repeat
    std::set<int> pressedSpecialKeys;
    std::deque<int> specialPressOrder;      // the same presses in the order pressed
    std::set<int> noRepeatSpecialKeys;
    std::map<int, long> holdedSpecialKeys;
    long joystickPollSnapshot = 0; // tick of the last forced joystick poll

private:
    // Acts on keys in ascending order, each once, then hands each one acted
    // on to forget (which may take it out of keys), also when an action throws.
    template <typename Key>
    void pressKeys(const std::set<Key>& keys, const std::set<Key>& noRepeat, std::map<Key, long>& holded,
                   const std::function<void(Key)>& act, const std::function<bool(Key)>& isFastRepeat,
                   const std::function<void(Key)>& forget);
    template <typename Key>
    void repeatKeys(std::map<Key, long>& holded, const std::function<void(Key)>& act);
    template <typename Key>
    void hold(Key key, const std::set<Key>& noRepeat, std::map<Key, long>& holded, bool fastRepeat);
    // Drops the presses of key among the first `within` of pressOrder, and
    // the key from pressedKeys once no press of it is left; returns how many
    // presses it dropped.
    std::size_t forgetPresses(unsigned char key, std::size_t within);

    TimeSystem& clock;
};

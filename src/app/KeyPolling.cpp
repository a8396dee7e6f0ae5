// SPDX-License-Identifier: GPL-3.0-or-later
// Held-key polling of the idle step: a tap acts once, a held key acts at the
// press, again after 1000 ms (50 ms for fast-repeat keys) and then every 50 ms.
#include "app/KeyPolling.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <ostream>
#include <vector>

namespace {

// The character the same key gives with or without Shift on a US keyboard, or
// the key itself. A key pressed with Shift may be released after Shift, and
// its release then arrives as the other character.
unsigned char shiftPartner(unsigned char key)
{
    static const char PAIRS[] = "`~1!2@3#4$5%6^7&8*9(0)-_=+[{]}\\|;:'\",<.>/?";
    if (std::isalpha(key)) {
        return static_cast<unsigned char>(std::islower(key) ? std::toupper(key) : std::tolower(key));
    }
    for (std::size_t i = 0; i + 1 < sizeof PAIRS; i += 2) {
        if (static_cast<unsigned char>(PAIRS[i]) == key) {
            return static_cast<unsigned char>(PAIRS[i + 1]);
        }
        if (static_cast<unsigned char>(PAIRS[i + 1]) == key) {
            return static_cast<unsigned char>(PAIRS[i]);
        }
    }
    return key;
}

} // namespace

KeyPolling::KeyPolling(TimeSystem& clock)
    : clock(clock)
{
}

void KeyPolling::keyboard(unsigned char key)
{
    pressedKeys.insert(key);
    pressOrder.push_back(key);
    noRepeatKeys.erase(key);
}

void KeyPolling::keyboardUp(unsigned char key)
{
    // Released as either character of its key: "_" pressed with Shift comes
    // up as "-" when Shift is let go first, and must not repeat for ever.
    for (unsigned char released : {key, shiftPartner(key)}) {
        holdedKeys.erase(released);
        noRepeatKeys.insert(released);
    }
}

void KeyPolling::specialKeyboard(int key)
{
    pressedSpecialKeys.insert(key);
    specialPressOrder.push_back(key);
    noRepeatSpecialKeys.erase(key);
}

void KeyPolling::specialKeyboardUp(int key)
{
    // Released with or without Shift, whichever way it was pressed: Shift
    // let go first must not leave the shifted key repeating for ever.
    for (int released : {key & ~SHIFTED_KEY, key | SHIFTED_KEY}) {
        holdedSpecialKeys.erase(released);
        noRepeatSpecialKeys.insert(released);
    }
}

template <typename Key>
void KeyPolling::hold(Key key, const std::set<Key>& noRepeat, std::map<Key, long>& holded, bool fastRepeat)
{
    if (noRepeat.count(key) == 0) {
        holded[key] = clock.getTick() + (fastRepeat ? KEY_REPEAT_DELAY : KEY_FIRST_DELAY);
    }
}

template <typename Key>
void KeyPolling::pressKeys(const std::set<Key>& keys, const std::set<Key>& noRepeat, std::map<Key, long>& holded,
                           const std::function<void(Key)>& act, const std::function<bool(Key)>& isFastRepeat,
                           const std::function<void(Key)>& forget)
{
    std::vector<Key> handled;
    try {
        for (Key key : keys) {
            // Counted as handled before it acts: a key whose action throws
            // must not act again at every following step.
            handled.push_back(key);
            act(key);
            hold(key, noRepeat, holded, isFastRepeat(key));
        }
    } catch (...) {
        for (Key key : handled) {
            forget(key);
        }
        throw;
    }
    for (Key key : handled) {
        forget(key);
    }
}

template <typename Key>
void KeyPolling::repeatKeys(std::map<Key, long>& holded, const std::function<void(Key)>& act)
{
    for (auto& [key, due] : holded) {
        if (clock.getTick() > due) {
            // From the stored due time, not from now: a late step catches up
            // by at most one repeat.
            due += KEY_REPEAT_DELAY;
            act(key);
        }
    }
}

std::size_t KeyPolling::forgetPresses(unsigned char key, std::size_t within)
{
    const auto end = pressOrder.begin() + static_cast<std::ptrdiff_t>(std::min(within, pressOrder.size()));
    const auto kept = std::remove(pressOrder.begin(), end, key);
    const auto forgotten = static_cast<std::size_t>(end - kept);
    pressOrder.erase(kept, end);
    if (std::find(pressOrder.begin(), pressOrder.end(), key) == pressOrder.end()) {
        pressedKeys.erase(key);
    }
    return forgotten;
}

void KeyPolling::idle_keyboardNormalKeys(KeyReceiver& receiver)
{
    const std::function<void(unsigned char)> act = [&receiver](unsigned char key) { receiver.keyboard(key); };
    const std::function<bool(unsigned char)> isFastRepeat = [&receiver](unsigned char key) {
        return receiver.isKeyFastRepeat(key);
    };
    // Every round takes at least one press off the queue.
    while (!pressOrder.empty()) {
        if (receiver.isTyping()) {
            // The line takes every press, in the order pressed; taken before
            // it acts, like every other press.
            const unsigned char key = pressOrder.front();
            forgetPresses(key, 1);
            act(key);
            hold(key, noRepeatKeys, holdedKeys, isFastRepeat(key));
            continue;
        }
        // Game keys: those pressed before the next key that opens a line act
        // once each, in ascending order; then that key, whose line takes the
        // presses after it.
        const auto opener = std::find_if(pressOrder.begin(), pressOrder.end(),
                                         [&receiver](unsigned char key) { return receiver.opensTyping(key); });
        const auto end = opener == pressOrder.begin() ? opener + 1 : opener;
        const std::set<unsigned char> keys(pressOrder.begin(), end);
        std::size_t within = static_cast<std::size_t>(end - pressOrder.begin());
        pressKeys<unsigned char>(keys, noRepeatKeys, holdedKeys, act, isFastRepeat,
                                 [this, &within](unsigned char key) { within -= forgetPresses(key, within); });
    }
    repeatKeys<unsigned char>(holdedKeys, act);
}

void KeyPolling::idle_keyboardSpecialKeys(KeyReceiver& receiver)
{
    const std::function<void(int)> act = [&receiver](int key) { receiver.specialKeyboard(key); };
    while (!specialPressOrder.empty() && receiver.isTyping()) {
        const int key = specialPressOrder.front();
        specialPressOrder.pop_front();
        if (std::find(specialPressOrder.begin(), specialPressOrder.end(), key) == specialPressOrder.end()) {
            pressedSpecialKeys.erase(key);
        }
        act(key);
        hold(key, noRepeatSpecialKeys, holdedSpecialKeys, receiver.isKeyFastRepeat(key));
    }
    specialPressOrder.clear();
    pressKeys<int>(
        pressedSpecialKeys, noRepeatSpecialKeys, holdedSpecialKeys, act, [&receiver](int key) { return receiver.isKeyFastRepeat(key); },
        [this](int key) { pressedSpecialKeys.erase(key); });
    repeatKeys<int>(holdedSpecialKeys, act);
}

void KeyPolling::pollJoystick(const std::function<void()>& forcePoll)
{
    if (clock.getTick() > joystickPollSnapshot + ARTIFICIAL_JOYSTICK_POLL_INTERVAL) {
        forcePoll();
        joystickPollSnapshot = clock.getTick();
    }
}

void KeyPolling::idle(KeyReceiver& receiver, const std::function<void()>& forceJoystickPoll,
                      const std::function<void()>& postRedisplay, std::ostream& err)
{
    try {
        pollJoystick(forceJoystickPoll);
        idle_keyboardNormalKeys(receiver);
        idle_keyboardSpecialKeys(receiver);
        postRedisplay();
    } catch (const std::exception& error) {
        err << error.what() << std::endl;
    }
}

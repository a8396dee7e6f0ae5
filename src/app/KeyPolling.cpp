// Held-key polling of the idle step: a tap acts once, a held key acts at the
// press, again after 1000 ms (50 ms for fast-repeat keys) and then every 50 ms.
#include "app/KeyPolling.h"

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
    noRepeatSpecialKeys.erase(key);
}

void KeyPolling::specialKeyboardUp(int key)
{
    holdedSpecialKeys.erase(key);
    noRepeatSpecialKeys.insert(key);
}

template <typename Key>
void KeyPolling::pollKeys(std::set<Key>& pressed, const std::set<Key>& noRepeat,
                          std::map<Key, long>& holded, const std::function<void(Key)>& act,
                          const std::function<bool(Key)>& isFastRepeat)
{
    std::vector<Key> handled;
    try {
        for (Key key : pressed) {
            // Counted as handled before it acts: a key whose action throws
            // must not act again at every following step.
            handled.push_back(key);
            act(key);
            if (noRepeat.count(key) == 0) {
                long delay = isFastRepeat(key) ? KEY_REPEAT_DELAY : KEY_FIRST_DELAY;
                holded[key] = clock.getTick() + delay;
            }
        }
    } catch (...) {
        for (Key key : handled) {
            pressed.erase(key);
        }
        throw;
    }
    for (Key key : handled) {
        pressed.erase(key);
    }

    for (auto& [key, due] : holded) {
        if (clock.getTick() > due) {
            // From the stored due time, not from now: a late step catches up
            // by at most one repeat.
            due += KEY_REPEAT_DELAY;
            act(key);
        }
    }
}

void KeyPolling::idle_keyboardNormalKeys(KeyReceiver& receiver)
{
    pollKeys<unsigned char>(
        pressedKeys, noRepeatKeys, holdedKeys,
        [&receiver](unsigned char key) { receiver.keyboard(key); },
        [&receiver](unsigned char key) { return receiver.isKeyFastRepeat(key); });
}

void KeyPolling::idle_keyboardSpecialKeys(KeyReceiver& receiver)
{
    pollKeys<int>(
        pressedSpecialKeys, noRepeatSpecialKeys, holdedSpecialKeys,
        [&receiver](int key) { receiver.specialKeyboard(key); },
        [&receiver](int key) { return receiver.isKeyFastRepeat(key); });
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

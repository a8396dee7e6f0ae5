// SPDX-License-Identifier: GPL-3.0-or-later
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/KeyPolling.h"
#include "support/ScriptedClock.h"

namespace {

// Records what the polling hands on, in order: "k:119" for a normal key,
// "s:100" for a special one. Fast-repeat keys as the game's controller has
// them while its console is closed.
class RecordingReceiver : public KeyReceiver {
public:
    void keyboard(unsigned char key) override
    {
        events.push_back("k:" + std::to_string(key));
        if (key == throwingKey) {
            throw std::runtime_error("no player at that place");
        }
    }
    void specialKeyboard(int key) override { events.push_back("s:" + std::to_string(key)); }
    bool isKeyFastRepeat(unsigned char key) override
    {
        return std::string("[]adsw").find(static_cast<char>(key)) != std::string::npos;
    }
    bool isKeyFastRepeat(int) override { return true; }

    std::vector<std::string> take()
    {
        std::vector<std::string> taken;
        taken.swap(events);
        return taken;
    }

    std::vector<std::string> events;
    int throwingKey = -1;
};

using Events = std::vector<std::string>;

class KeyPollingTest : public ::testing::Test {
protected:
    KeyPollingTest()
        : clock(10000), polling(timer)
    {
        timer.play();
    }

    void poll()
    {
        polling.idle_keyboardNormalKeys(receiver);
        polling.idle_keyboardSpecialKeys(receiver);
    }

    // Polls once per millisecond from now to the given tick of the input clock.
    Events pollUntil(long tick)
    {
        while (timer.getTick() < tick) {
            clock.advance(1);
            poll();
        }
        return receiver.take();
    }

    ScriptedClock clock;
    TimeSystem timer;
    KeyPolling polling;
    RecordingReceiver receiver;
};

} // namespace

TEST_F(KeyPollingTest, ATapActsOnceAndNeverRepeats)
{
    polling.keyboard('w');
    polling.keyboardUp('w');
    poll();
    EXPECT_EQ(receiver.take(), Events{"k:119"});
    EXPECT_TRUE(polling.holdedKeys.empty());
    EXPECT_EQ(pollUntil(3000), Events{});
}

TEST_F(KeyPollingTest, AHeldFastKeyRepeatsAfterFiftyAndThenEveryFifty)
{
    polling.keyboard('w');
    poll();
    EXPECT_EQ(receiver.take(), Events{"k:119"});
    EXPECT_EQ(polling.holdedKeys.at('w'), 50);
    EXPECT_EQ(pollUntil(50), Events{});
    EXPECT_EQ(pollUntil(51), Events{"k:119"});
    EXPECT_EQ(pollUntil(100), Events{});
    EXPECT_EQ(pollUntil(101), Events{"k:119"});
    EXPECT_EQ(pollUntil(301), (Events{"k:119", "k:119", "k:119", "k:119"}));
    polling.keyboardUp('w');
    EXPECT_EQ(pollUntil(1000), Events{});
}

TEST_F(KeyPollingTest, AHeldSlowKeyWaitsASecondBeforeRepeating)
{
    polling.keyboard(13);
    poll();
    EXPECT_EQ(receiver.take(), Events{"k:13"});
    EXPECT_EQ(pollUntil(1000), Events{});
    EXPECT_EQ(pollUntil(1001), Events{"k:13"});
    EXPECT_EQ(pollUntil(1050), Events{});
    EXPECT_EQ(pollUntil(1051), Events{"k:13"});
}

TEST_F(KeyPollingTest, SpecialKeysAlwaysRepeatFast)
{
    polling.specialKeyboard(100);
    poll();
    EXPECT_EQ(receiver.take(), Events{"s:100"});
    EXPECT_EQ(pollUntil(51), Events{"s:100"});
    polling.specialKeyboardUp(100);
    EXPECT_EQ(pollUntil(500), Events{});
}

TEST_F(KeyPollingTest, AShiftedSpecialKeyStopsWhenItComesUpWithOrWithoutShift)
{
    for (int release : {100, 100 | SHIFTED_KEY}) {
        polling.specialKeyboard(100 | SHIFTED_KEY);
        poll();
        EXPECT_EQ(receiver.take(), Events{"s:" + std::to_string(100 | SHIFTED_KEY)});
        polling.specialKeyboardUp(release);
        EXPECT_EQ(pollUntil(timer.getTick() + 500), Events{});
    }
}

TEST_F(KeyPollingTest, KeysPressedInOneFrameActInAscendingCodeOrder)
{
    polling.keyboard('z');
    polling.keyboard('a');
    polling.keyboard('1');
    polling.specialKeyboard(103);
    polling.specialKeyboard(100);
    poll();
    EXPECT_EQ(receiver.take(), (Events{"k:49", "k:97", "k:122", "s:100", "s:103"}));
}

TEST_F(KeyPollingTest, TwoPressesOfOneKeyWithinAFrameActOnce)
{
    polling.keyboard('1');
    polling.keyboardUp('1');
    polling.keyboard('1');
    polling.keyboardUp('1');
    poll();
    EXPECT_EQ(receiver.take(), Events{"k:49"});
}

TEST_F(KeyPollingTest, ALongFrameCatchesUpByOneRepeatPerStep)
{
    polling.keyboard('d');
    poll();
    receiver.take();
    clock.advance(500);
    poll();
    EXPECT_EQ(receiver.take(), Events{"k:100"});
    // Due time moved from 50 to 100, not to now + 50.
    EXPECT_EQ(polling.holdedKeys.at('d'), 100);
    poll();
    EXPECT_EQ(receiver.take(), Events{"k:100"});
    EXPECT_EQ(polling.holdedKeys.at('d'), 150);
}

TEST_F(KeyPollingTest, WindowSystemAutoRepeatReschedulesFromEachPress)
{
    // X's own auto-repeat arrives as a release and a new press.
    polling.keyboard(13);
    poll();
    receiver.take();
    clock.advance(660);
    polling.keyboardUp(13);
    polling.keyboard(13);
    poll();
    EXPECT_EQ(receiver.take(), Events{"k:13"});
    EXPECT_EQ(polling.holdedKeys.at(13), 660 + KEY_FIRST_DELAY);
    clock.advance(40);
    polling.keyboardUp(13);
    polling.keyboard(13);
    poll();
    EXPECT_EQ(receiver.take(), Events{"k:13"});
    EXPECT_EQ(polling.holdedKeys.at(13), 700 + KEY_FIRST_DELAY);
}

TEST_F(KeyPollingTest, AReleaseBeforeThePollStillActsOnceButIsNotHeld)
{
    polling.keyboard('s');
    polling.keyboardUp('s');
    EXPECT_EQ(polling.pressedKeys.count('s'), 1u);
    EXPECT_EQ(polling.noRepeatKeys.count('s'), 1u);
    poll();
    EXPECT_EQ(receiver.take(), Events{"k:115"});
    EXPECT_TRUE(polling.pressedKeys.empty());
    EXPECT_EQ(polling.holdedKeys.count('s'), 0u);
}

TEST_F(KeyPollingTest, TheFastRepeatQuestionIsAskedAfterTheKeyActed)
{
    // The console key changes which keys repeat fast; the answer that counts
    // is the one given after the key has acted.
    class ConsoleReceiver : public RecordingReceiver {
    public:
        void keyboard(unsigned char key) override
        {
            RecordingReceiver::keyboard(key);
            consoleOpen = true;
        }
        bool isKeyFastRepeat(unsigned char) override { return !consoleOpen; }
        bool consoleOpen = false;
    } console;
    polling.keyboard('w');
    polling.idle_keyboardNormalKeys(console);
    EXPECT_EQ(polling.holdedKeys.at('w'), KEY_FIRST_DELAY);
}

TEST_F(KeyPollingTest, JoystickIsForcedOnlyAfterMoreThanFiftyTicks)
{
    int polls = 0;
    auto force = [&polls] { ++polls; };
    polling.pollJoystick(force);
    EXPECT_EQ(polls, 0);
    clock.advance(50);
    polling.pollJoystick(force);
    EXPECT_EQ(polls, 0);
    clock.advance(1);
    polling.pollJoystick(force);
    EXPECT_EQ(polls, 1);
    EXPECT_EQ(polling.joystickPollSnapshot, 51);
    clock.advance(50);
    polling.pollJoystick(force);
    EXPECT_EQ(polls, 1);
    clock.advance(1);
    polling.pollJoystick(force);
    EXPECT_EQ(polls, 2);
}

TEST_F(KeyPollingTest, IdleStepPollsJoystickKeysThenAsksForAFrame)
{
    std::vector<std::string> steps;
    polling.keyboard('a');
    polling.specialKeyboard(101);
    clock.advance(60);
    std::ostringstream errors;
    polling.idle(
        receiver, [&steps] { steps.push_back("joystick"); },
        [&steps, this] {
            for (const std::string& event : receiver.take()) {
                steps.push_back(event);
            }
            steps.push_back("redisplay");
        },
        errors);
    EXPECT_EQ(steps, (Events{"joystick", "k:97", "s:101", "redisplay"}));
    EXPECT_EQ(errors.str(), "");
}

TEST_F(KeyPollingTest, AnExceptionEndsTheStepIsReportedAndDoesNotRepeat)
{
    receiver.throwingKey = 'b';
    polling.keyboard('a');
    polling.keyboard('b');
    polling.keyboard('c');
    int frames = 0;
    std::ostringstream errors;
    auto idle = [&] { polling.idle(receiver, [] {}, [&frames] { ++frames; }, errors); };
    idle();
    EXPECT_EQ(errors.str(), "no player at that place\n");
    EXPECT_EQ(frames, 0);
    EXPECT_EQ(receiver.take(), (Events{"k:97", "k:98"}));
    // The key that threw has acted once and is gone; the others still act.
    idle();
    EXPECT_EQ(receiver.take(), Events{"k:99"});
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(polling.pressedKeys.size(), 0u);
}

TEST_F(KeyPollingTest, AShiftedKeyReleasedAfterShiftStopsRepeating)
{
    // Shift+minus held, Shift let go first: the release arrives as "-".
    polling.keyboard('_');
    poll();
    polling.keyboardUp('-');
    EXPECT_TRUE(polling.holdedKeys.empty());
    EXPECT_EQ(pollUntil(3000), Events{"k:95"});

    polling.keyboard('W');
    polling.keyboardUp('w');
    poll();
    EXPECT_EQ(receiver.take(), Events{"k:87"});
    EXPECT_TRUE(polling.holdedKeys.empty());
}

TEST_F(KeyPollingTest, ReleasingOneKeyKeepsAnotherHeldKeyRepeating)
{
    polling.keyboard('w');
    polling.keyboard('a');
    poll();
    receiver.take();
    polling.keyboardUp('a');
    EXPECT_EQ(pollUntil(101), (Events{"k:119", "k:119"}));
}

namespace {

// Types into a line between a backquote and Enter, as the game's console does.
class TypingReceiver : public RecordingReceiver {
public:
    void keyboard(unsigned char key) override
    {
        RecordingReceiver::keyboard(key);
        if (typing) {
            typing = key != 13;
            if (typing) {
                line += static_cast<char>(key);
            }
        } else if (key == '`') {
            typing = true;
        }
    }
    bool isTyping() override { return typing; }
    bool opensTyping(unsigned char key) override { return !typing && key == '`'; }

    bool typing = false;
    std::string line;
};

} // namespace

TEST_F(KeyPollingTest, TypedKeysKeepTheirOrderAndEveryPressWithinOneFrame)
{
    TypingReceiver console;
    auto tap = [this](unsigned char key) {
        polling.keyboard(key);
        polling.keyboardUp(key);
    };
    // All of it within one long frame: game keys, opening the line, a
    // doubled letter, letters in no ascending order, Enter, and a game key
    // after the line.
    for (unsigned char key : std::string("wa`set radiuss\rr")) {
        tap(key);
    }
    polling.idle_keyboardNormalKeys(console);
    EXPECT_EQ(console.line, "set radiuss");
    EXPECT_FALSE(console.typing);
    // Every press acted once: the game keys before the line in ascending
    // order, the backquote, the letters and Enter as typed, then "r" as a
    // game key after the line was closed.
    const Events events = console.take();
    ASSERT_EQ(events.size(), 16u);
    EXPECT_EQ(events[0], "k:97");
    EXPECT_EQ(events[1], "k:119");
    EXPECT_EQ(events[2], "k:96");
    EXPECT_EQ(events[15], "k:114");
    EXPECT_TRUE(polling.pressedKeys.empty());
    EXPECT_TRUE(polling.pressOrder.empty());
    EXPECT_TRUE(polling.holdedKeys.empty());

    // With the line closed the game keys of one frame act as before: once
    // each, in ascending order.
    for (unsigned char key : std::string("wdaw")) {
        tap(key);
    }
    polling.idle_keyboardNormalKeys(console);
    EXPECT_EQ(console.take(), (Events{"k:97", "k:100", "k:119"}));
}

TEST_F(KeyPollingTest, AHeldKeyStillRepeatsIntoTheLine)
{
    TypingReceiver console;
    console.typing = true;
    polling.keyboard('x');
    polling.idle_keyboardNormalKeys(console);
    clock.advance(KEY_FIRST_DELAY);
    polling.idle_keyboardNormalKeys(console);
    EXPECT_EQ(console.line, "x");
    clock.advance(1);
    polling.idle_keyboardNormalKeys(console);
    EXPECT_EQ(console.line, "xx");
}

TEST_F(KeyPollingTest, WhileTypingSpecialKeysActInTheOrderPressedEveryPressOnce)
{
    TypingReceiver screen;
    screen.typing = true;
    for (int key : {103, 102, 103, 100}) {
        polling.specialKeyboard(key);
        polling.specialKeyboardUp(key);
    }
    polling.idle_keyboardSpecialKeys(screen);
    EXPECT_EQ(screen.take(), (Events{"s:103", "s:102", "s:103", "s:100"}));
    EXPECT_TRUE(polling.pressedSpecialKeys.empty());
    EXPECT_TRUE(polling.specialPressOrder.empty());

    // Not typing: once each, in ascending order, as before.
    screen.typing = false;
    for (int key : {103, 102, 103}) {
        polling.specialKeyboard(key);
        polling.specialKeyboardUp(key);
    }
    polling.idle_keyboardSpecialKeys(screen);
    EXPECT_EQ(screen.take(), (Events{"s:102", "s:103"}));
}

// SPDX-License-Identifier: GPL-3.0-or-later
// What the held-key polling hands its keys to: the game's controller in play, a
// recording stand-in in tests.
#pragma once

// A special key pressed while Shift was held arrives as its GLUT code with
// this bit set, so that it can act apart from the plain key (finer aiming).
constexpr int SHIFTED_KEY = 1 << 16;

class KeyReceiver {
public:
    virtual ~KeyReceiver() = default;

    // One call per press and per repeat of a normal key.
    virtual void keyboard(unsigned char key) = 0;
    // One call per press and per repeat of a GLUT special key.
    virtual void specialKeyboard(int key) = 0;
    // A fast-repeat key repeats KEY_REPEAT_DELAY after its press instead of
    // KEY_FIRST_DELAY.
    virtual bool isKeyFastRepeat(unsigned char key) = 0;
    virtual bool isKeyFastRepeat(int key) = 0;
    // True while normal keys are being typed into a line of text: then every
    // press counts, in the order pressed.
    virtual bool isTyping() { return false; }
    // True for a key that, pressed now, opens such a line: the presses after
    // it in the same frame belong to the line.
    virtual bool opensTyping(unsigned char) { return false; }
};

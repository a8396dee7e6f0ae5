// SPDX-License-Identifier: GPL-3.0-or-later
// A sound player that hears nothing and writes down what it was asked, one
// line per call: "play blast_fireball 4 5 -2", "near turn_chime",
// "loop flight 0 5 0", "move 1 5 0", "stop".
#pragma once

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "audio/SoundPlayer.h"

class RecordingSoundPlayer : public SoundPlayer {
public:
    std::vector<std::string> calls;
    Vector listener;
    Vector forward;
    Vector up;
    double speed = 1.0;
    std::map<Sound, Vector> played; // the last place of each sound played

    void setListener(const Vector& position, const Vector& look, const Vector& upward) override
    {
        listener = position;
        forward = look;
        up = upward;
    }
    void setSpeed(double s) override { speed = s; }
    void play(Sound sound, const Vector& place) override
    {
        calls.push_back(std::string("play ") + soundName(sound) + " " + text(place));
        played[sound] = place;
    }
    void playNear(Sound sound) override { calls.push_back(std::string("near ") + soundName(sound)); }
    void startLoop(Sound sound, const Vector& place) override
    {
        calls.push_back(std::string("loop ") + soundName(sound) + " " + text(place));
    }
    void moveLoop(const Vector& place) override { calls.push_back("move " + text(place)); }
    void stopLoop() override { calls.push_back("stop"); }
    void setEnabled(bool on) override { enabled = on; }
    bool isEnabled() const override { return enabled; }
    void setVolume(double v) override { volume = v; }
    double getVolume() const override { return volume; }

    // The calls since the last look.
    std::vector<std::string> take()
    {
        std::vector<std::string> taken;
        taken.swap(calls);
        return taken;
    }

private:
    static std::string text(const Vector& v)
    {
        std::ostringstream out;
        out << v.x << " " << v.y << " " << v.z;
        return out.str();
    }

    bool enabled = true;
    double volume = 1.0;
};

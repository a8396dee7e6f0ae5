// SPDX-License-Identifier: GPL-3.0-or-later
// A small bar with the whole hit points over each living caster's head, drawn
// in window pixels over the frame. The model takes a hit at the cast; the bar
// takes it when the view shows it, as the hurt or death animation starts.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "math/Vector.h"
#include "view/SceneProjection.h"

class PlayingAids;
class TimeSystem;
class ViewCharacters;
class ViewOverlay;

class HealthBars {
public:
    // Full hit points: a bar this full is as wide as it gets.
    static constexpr double FULL_HP = 100.0;

    // All not owned, all outliving the bars: the view clock; the characters
    // whose hit points are shown; the aids, whose switch hides the bars; the
    // overlay, for the window's size.
    HealthBars(TimeSystem& clock, const ViewCharacters& characters, const PlayingAids& aids,
               const ViewOverlay& overlay);

    // A shot's damages by player id, shown from start (ticks of the view
    // clock): until then each bar keeps the hit points it had before.
    void addHits(const std::map<int, double>& damages, long start);
    // Forgets the hits to come and the hit points shown, as a new map begins.
    void clear();
    // The hit points a caster's bar shows now, never below 0.
    double shownHp(int id) const;

    // Brings the shown hit points up to now and finds, in the scene's
    // matrices, where each bar goes, clear of the overlay's player lines;
    // then draws them over the frame.
    void place();
    void display() const;

private:
    struct Hit {
        int id;
        long start;      // ticks of the view clock
        double hpAfter;
    };
    struct PlacedBar {
        int left;         // window pixels from the top left: the bar's corner
        int top;
        double hp;
        std::string text; // the whole hit points
    };

    TimeSystem& clock;                // not owned
    const ViewCharacters& characters; // not owned
    const PlayingAids& aids;          // not owned
    const ViewOverlay& overlay;       // not owned
    std::map<int, double> shown;      // by player id
    std::vector<Hit> hitsToShow;      // in the order they came
    std::vector<PlacedBar> placed;    // this frame's
    SceneProjection projection;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// Every animation the view runs, in the order they are drawn: the looping
// arrow over the current player and the wind flag, then the shots' sequences.
// Each is deleted once it is over; the looping two last as long as the view.
#pragma once

#include <list>
#include <memory>

class Animation;
class GraphicNode;
class PathAnimation;
class TimeSystem;
class WindAnimation;

class ViewAnimations {
public:
    // clock: not owned; the view clock. arrowMesh: not owned; lives in the
    // view's resource table.
    ViewAnimations(TimeSystem& clock, GraphicNode* arrowMesh);
    ~ViewAnimations();
    ViewAnimations(const ViewAnimations&) = delete;
    ViewAnimations& operator=(const ViewAnimations&) = delete;

    // Runs animation from now on, after the others.
    void add(std::unique_ptr<Animation> animation);
    // Deletes every animation but the looping arrow and wind.
    void clearShots();
    // Draws them all (the arrow not while a shot plays), then deletes those
    // that are over.
    void render();
    // True while anything but the looping arrow and wind plays.
    bool isAnimating() const;

    const std::list<Animation*>& getAnimations() const;
    PathAnimation* getArrowAnimation() const;
    WindAnimation* getWindAnimation() const;

private:
    std::list<Animation*> animations; // owned: deleted when over, by clearShots or the destructor
    PathAnimation* arrowAnimation;    // not owned: an element of animations
    WindAnimation* windAnimation;     // not owned: an element of animations
};

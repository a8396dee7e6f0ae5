// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic camera: at each turn it glides to a place behind and above the
// caster, during a shot it follows the projectile and holds on the impact
// while the effects play, then glides to the next caster. Moving the camera by
// hand takes over until the next turn. Poses are in the scene's frame; times
// are ticks of the view clock.
#pragma once

#include <optional>
#include <vector>

#include "math/TimeSystem.h"
#include "view/CameraPose.h"
#include "view/ShotPath.h"

class CameraDirector {
public:
    static constexpr long GLIDE_LENGTH = 800;       // ticks, turn to turn
    static constexpr long FOLLOW_BLEND_LENGTH = 500; // ticks into the flight

    // clock: not owned; the view clock, which outlives the director.
    explicit CameraDirector(TimeSystem& clock);

    // Off, the director leaves the camera alone. Switched back on, it moves
    // on from where the camera is then; the view tells it the turn under way
    // (onTurn), which also ends a hand take-over.
    void setEnabled(bool enabled);
    bool isEnabled() const;
    // True when the director moves the camera in the next frames: it is on
    // and the player has not taken it over.
    bool isDirecting() const;

    // A turn starts: glide to the pose, now or once the shot being shown has
    // been; a hand take-over ends.
    void onTurn(const CameraPose& pose);
    // A shot is shown: the projectile flies along path from flightStart to
    // flightEnd, and its effects play until holdEnd.
    void onShot(const std::vector<Vector>& path, long flightStart, long flightEnd, long holdEnd);
    // The player moved the camera by hand.
    void takeOver();
    // A new battlefield: no shot, no glide, no turn waiting.
    void reset();

    // Moves pose, where the camera was in the last frame, to where it is now;
    // false (pose untouched) when the director leaves the camera alone.
    bool update(CameraPose& pose);

    // Behind and above a caster whose cannon stands at cannon, aiming along
    // the horizontal heading (yaw in degrees, as the model turns a cannon):
    // the caster in the lower third of the picture, the aim pointing into it.
    static CameraPose turnPose(const Vector& cannon, double yaw);
    // Behind and above the projectile at point, flying along heading.
    static CameraPose followPose(const Vector& point, const Vector& heading);

private:
    TimeSystem& clock; // not owned
    bool enabled;
    bool takenOver;
    // The glide to a turn pose; it starts from the pose of the first frame
    // that draws it.
    std::optional<CameraPose> glideTarget;
    std::optional<CameraPose> glideStartPose;
    long glideStart;
    // The shot being shown.
    bool showingShot;
    ShotPath path;
    Vector heading;                  // horizontal, unit
    long flightStart;
    long followBlendStart; // the flight's start, or when switched back on
    long flightEnd;
    long holdEnd;
    std::optional<CameraPose> followStartPose;
    // A turn that began while a shot is shown waits for its end.
    std::optional<CameraPose> nextTurn;
};

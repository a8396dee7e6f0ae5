// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic camera: at each turn it glides to a place behind and above the
// caster, looking towards the nearest opponent over the battlefield; while a
// human aims it swings round the caster with the cannon; during a shot it
// follows the projectile and holds on the impact while the effects play, then
// glides to the next caster. It never puts the eye inside a block. Moving the
// camera by hand takes over until the next turn. Poses are in the scene's
// frame; times are ticks of the view clock.
#pragma once

#include <optional>
#include <vector>

#include "math/TimeSystem.h"
#include "view/CameraGround.h"
#include "view/CameraPose.h"
#include "view/ShotPath.h"

class CameraDirector {
public:
    static constexpr long GLIDE_LENGTH = 800;       // ticks, turn to turn
    static constexpr long FOLLOW_BLEND_LENGTH = 500; // ticks into the flight
    static constexpr double AIM_LAG = 150.0;         // ticks: the swing's time constant
    // The view's field of view, high (degrees), and the window's shape the
    // turn pose frames the battlefield for.
    static constexpr double FIELD_OF_VIEW = 45.0;
    static constexpr double ASPECT = 4.0 / 3.0;
    // Cells the eye keeps from every block.
    static constexpr double EYE_ROOM = 0.3;

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

    // The battlefield the eye keeps out of.
    void setGround(CameraGround ground);
    const CameraGround& getGround() const;

    // A turn starts: glide to the pose, now or once the shot being shown has
    // been; a hand take-over ends. A human's aim swings the pose round the
    // caster (the pose's target when not given).
    void onTurn(const CameraPose& pose);
    void onTurn(const CameraPose& pose, const Vector& caster);
    // The current human player's cannon turned (degrees, as the model turns
    // a cannon): the camera swings round the caster to look along the aim,
    // tilted a little with the pitch.
    void onAim(double yaw, double pitch);
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

    // A caster as a turn pose frames it: its cannon, near the middle of its
    // box, and the box's size in cells.
    struct Caster {
        Vector cannon;
        double width;
        double height;
    };
    // Behind and above the caster, looking towards lookAt across the ground:
    // the caster low in the picture, from the nearest place from which the
    // battlefield fills most of the picture and the caster shows well, the
    // eye in clear air with a clear sight of the caster.
    static CameraPose turnPose(const CameraGround& ground, const Caster& caster, const Vector& lookAt);
    // Behind and above the projectile at point, flying along heading.
    static CameraPose followPose(const Vector& point, const Vector& heading);

private:
    // Where the turn puts the camera now: its pose, swung round the caster
    // towards the aim as far as the swing has come by now.
    CameraPose turnView(long now);
    // The eye raised out of any block.
    void keepInAir(CameraPose& pose) const;

    TimeSystem& clock; // not owned
    bool enabled;
    bool takenOver;
    CameraGround ground;
    // The turn under way, and the glide to it; the glide starts from the
    // pose of the first frame that draws it, once no shot is shown.
    std::optional<CameraPose> turn;
    Vector swingCentre; // the caster's cannon
    bool gliding;
    std::optional<CameraPose> glideStartPose;
    long glideStart;
    // A human's aim: where the swing goes (degrees about the vertical in the
    // scene, and of tilt), where it has come to, and when.
    bool aiming;
    double aimHeading;
    double aimTilt;
    double shownHeading;
    double shownTilt;
    long aimTick;
    // The shot being shown.
    bool showingShot;
    ShotPath path;
    Vector heading;                  // horizontal, unit
    long flightStart;
    long followBlendStart; // the flight's start, or when switched back on
    long flightEnd;
    long holdEnd;
    std::optional<CameraPose> followStartPose;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic camera's moves: glides between turns, the follow of a shot and
// the hold on its impact, all eased and timed by the view clock.
#include "view/CameraDirector.h"

#include <algorithm>
#include <cmath>

namespace {

// Distances in cells.
constexpr double TURN_BACK = 5.0;
constexpr double TURN_UP = 2.2;
constexpr double TURN_RIGHT = 1.6; // over the caster's right shoulder
constexpr double TURN_AHEAD = 6.0;
constexpr double TURN_TARGET_UP = 0.4;
constexpr double TURN_TARGET_RIGHT = 0.6;
constexpr double FOLLOW_BACK = 7.0;
constexpr double FOLLOW_UP = 3.0;

// Slow in, slow out: 0 at 0, 1 at 1.
double ease(double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

Vector mix(const Vector& from, const Vector& to, double share)
{
    return from + (to - from) * share;
}

CameraPose mix(const CameraPose& from, const CameraPose& to, double share)
{
    return {mix(from.eye, to.eye, share), mix(from.target, to.target, share)};
}

} // namespace

CameraDirector::CameraDirector(TimeSystem& clock)
    : clock(clock),
      enabled(true),
      takenOver(false),
      glideStart(0),
      showingShot(false),
      heading(1, 0, 0),
      flightStart(0),
      followBlendStart(0),
      flightEnd(0),
      holdEnd(0)
{
}

void CameraDirector::setEnabled(bool on)
{
    // Switched back on, a glide or follow begun before it was switched off
    // starts again from where the camera is now, rather than jumping to
    // where it would have got to by now.
    if (on && !enabled) {
        glideStartPose.reset();
        followStartPose.reset();
        followBlendStart = clock.getTick();
    }
    enabled = on;
}

bool CameraDirector::isEnabled() const
{
    return enabled;
}

bool CameraDirector::isDirecting() const
{
    return enabled && !takenOver;
}

void CameraDirector::onTurn(const CameraPose& pose)
{
    takenOver = false;
    if (showingShot) {
        nextTurn = pose;
        return;
    }
    glideTarget = pose;
    glideStartPose.reset();
}

void CameraDirector::onShot(const std::vector<Vector>& shotPath, long start, long end, long hold)
{
    showingShot = true;
    path = ShotPath(shotPath);
    heading = Vector(1, 0, 0);
    if (shotPath.size() > 1) {
        Vector flat = shotPath.back() - shotPath.front();
        flat.y = 0.0;
        if (flat.getLength() > 1e-9) {
            heading = flat.getNormalizedCopy();
        }
    }
    flightStart = start;
    followBlendStart = start;
    flightEnd = std::max(end, start);
    holdEnd = std::max(hold, flightEnd);
    followStartPose.reset();
    glideTarget.reset();
    nextTurn.reset();
}

void CameraDirector::takeOver()
{
    takenOver = true;
    glideTarget.reset();
}

void CameraDirector::reset()
{
    showingShot = false;
    path = ShotPath();
    glideTarget.reset();
    nextTurn.reset();
    followStartPose.reset();
}

bool CameraDirector::update(CameraPose& pose)
{
    const long now = clock.getTick();
    if (showingShot && now >= holdEnd) {
        showingShot = false;
        if (nextTurn) {
            glideTarget = nextTurn;
            glideStartPose.reset();
            nextTurn.reset();
        }
    }
    if (!isDirecting()) {
        return false;
    }
    if (showingShot) {
        if (now < flightStart || path.empty()) {
            return false;
        }
        if (!followStartPose) {
            followStartPose = pose;
        }
        const long flight = flightEnd - flightStart;
        const double progress = flight > 0 ? std::min(1.0, static_cast<double>(now - flightStart) / flight) : 1.0;
        const CameraPose follow = followPose(path.pointAt(progress), heading);
        const long blendStart = std::max(flightStart, followBlendStart);
        const double blend = ease(static_cast<double>(now - blendStart) / FOLLOW_BLEND_LENGTH);
        pose = mix(*followStartPose, follow, blend);
        return true;
    }
    if (glideTarget) {
        if (!glideStartPose) {
            glideStartPose = pose;
            glideStart = now;
        }
        const double share = ease(static_cast<double>(now - glideStart) / GLIDE_LENGTH);
        pose = mix(*glideStartPose, *glideTarget, share);
        if (share >= 1.0) {
            glideTarget.reset();
        }
        return true;
    }
    return false;
}

CameraPose CameraDirector::turnPose(const Vector& cannon, double yaw)
{
    // The model turns a cannon's barrel, +x, by yaw about +y; the scene
    // mirrors z.
    Vector aim(1, 0, 0);
    aim.rotate(yaw, 0, 1, 0);
    aim.z = -aim.z;
    // Looking along aim with +y up, the right hand is aim x up.
    const Vector right(-aim.z, 0, aim.x);
    return {cannon - aim * TURN_BACK + right * TURN_RIGHT + Vector(0, TURN_UP, 0),
            cannon + aim * TURN_AHEAD + right * TURN_TARGET_RIGHT + Vector(0, TURN_TARGET_UP, 0)};
}

CameraPose CameraDirector::followPose(const Vector& point, const Vector& direction)
{
    return {point - direction * FOLLOW_BACK + Vector(0, FOLLOW_UP, 0), point};
}

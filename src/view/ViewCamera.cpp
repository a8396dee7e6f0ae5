// SPDX-License-Identifier: GPL-3.0-or-later
// The camera: moved by hand (strafe, walk, look, zoom, back to the start
// place) or by the automatic camera, which follows the turns and the shots.
#include "view/ViewCamera.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "model/Player.h"
#include "view/ViewCharacters.h"
#include "view/ViewTerrain.h"

namespace {

// x if it is not below 0, else -x; a NaN or -0.0 comes back unchanged.
double magnitude(double x)
{
    return x < 0 ? -x : x;
}

// One step along the view direction, away from the target for positive
// forward; none when eye and target meet (never in play).
Vector forwardStep(const Vector& view, double forward)
{
    if (forward == 0.0 || view.getLength() <= 0.0) {
        return Vector(0, 0, 0);
    }
    const Vector step = view.getNormalizedCopy();
    return forward > 0.0 ? -step : step;
}

// One step to the side, to the right for positive strafe; none when looking
// straight up or down, which leaves no horizontal side to step to.
Vector sideStep(const Vector& view, double strafe)
{
    Vector flat = view;
    flat.y = 0.0;
    if (strafe == 0.0 || flat.getLength() <= 0.0) {
        return Vector(0, 0, 0);
    }
    Vector step = flat.getNormalizedCopy();
    step.rotate(90, 0, 1, 0);
    return strafe > 0.0 ? -step : step;
}

} // namespace

ViewCamera::ViewCamera(TimeSystem& clock, const ViewCharacters& characters, const ViewTerrain& terrain)
    : characters(characters),
      terrain(terrain),
      avatarPosition(START_EYE),
      avatarTarget(START_TARGET),
      avatarUp(0, 1, 0),
      autoCamera(clock)
{
}

void ViewCamera::moveAvatar(double strafe, double forward)
{
    autoCamera.takeOver();
    const Vector view = avatarTarget - avatarPosition;
    const Vector side = sideStep(view, strafe) * magnitude(strafe);
    const Vector ahead = forwardStep(view, forward) * magnitude(forward);
    avatarPosition = (avatarPosition + side) + ahead;
    avatarTarget = (avatarTarget + side) + ahead;
}

void ViewCamera::moveAvatarVision(double yaw, double pitch)
{
    autoCamera.takeOver();
    Vector view = avatarTarget - avatarPosition;
    view.rotate(yaw, 0, 1, 0);
    avatarTarget = avatarPosition + view;

    view = avatarTarget - avatarPosition;
    const double distance = view.getLength();
    if (distance <= 0.0) {
        return;
    }
    Vector direction = view.getNormalizedCopy();
    // Not an angle: the pitch raises the unit view direction.
    direction.y = direction.y + pitch;
    avatarTarget = avatarPosition + direction * distance;
}

void ViewCamera::resetAvatar()
{
    autoCamera.takeOver();
    avatarPosition = START_EYE;
    avatarTarget = START_TARGET;
}

void ViewCamera::zoom(double steps)
{
    moveAvatar(0.0, -steps);
}

void ViewCamera::setAutoCameraEnabled(bool enabled)
{
    const bool switchedOn = enabled && !autoCamera.isEnabled();
    autoCamera.setEnabled(enabled);
    // While off, the director kept the turn's pose as it was when the turn
    // began, and a hand move made it wait for the next turn: switched on, it
    // takes up the turn under way as it stands now, cannon and terrain.
    const int current = characters.getCurrentPlayer();
    if (switchedOn && characters.findPlayer(current) != nullptr) {
        autoCamera.onTurn(turnCameraPose(current));
    }
}

bool ViewCamera::isAutoCameraEnabled() const
{
    return autoCamera.isEnabled();
}

const CameraDirector& ViewCamera::getAutoCamera() const
{
    return autoCamera;
}

void ViewCamera::onTurn(int id)
{
    autoCamera.onTurn(turnCameraPose(id));
}

void ViewCamera::onShot(const std::vector<Vector>& path, long flightStart, long flightEnd, long holdEnd)
{
    autoCamera.onShot(path, flightStart, flightEnd, holdEnd);
}

void ViewCamera::reset()
{
    autoCamera.reset();
}

void ViewCamera::directCamera()
{
    CameraPose pose{avatarPosition, avatarTarget};
    if (autoCamera.update(pose)) {
        avatarPosition = pose.eye;
        avatarTarget = pose.target;
    }
}

CameraPose ViewCamera::turnCameraPose(int id) const
{
    Vector cannon;
    double yaw = 0.0;
    const auto aim = characters.getCannons().find(id);
    const Player* caster = characters.findPlayer(id);
    if (aim != characters.getCannons().end()) {
        cannon = aim->second.position;
        yaw = aim->second.yaw;
    } else if (caster != nullptr) {
        cannon = caster->getPosition() + Vector(caster->getWidth() / 2, caster->getHeight() / 2, caster->getWidth() / 2);
    }
    const Vector sceneCannon(cannon.x, cannon.y, -cannon.z);
    CameraPose pose = CameraDirector::turnPose(sceneCannon, yaw);
    // The terrain behind the caster must not stand between the eye and the
    // caster: raise the eye until the line of sight clears every column
    // under it.
    constexpr int SAMPLES = 12;
    constexpr double CLEARANCE = 0.8;
    for (int k = 1; k <= SAMPLES; ++k) {
        const double share = static_cast<double>(k) / SAMPLES;
        const Vector point = sceneCannon + (pose.eye - sceneCannon) * share;
        const int top = terrain.columnTop(static_cast<int>(std::floor(point.x)), static_cast<int>(std::floor(-point.z)));
        const double needed = top + 1 + CLEARANCE;
        if (top >= 0 && point.y < needed) {
            // The line from the cannon through this column's top, carried
            // out to the eye's distance.
            pose.eye.y = std::max(pose.eye.y, sceneCannon.y + (needed - sceneCannon.y) / share);
        }
    }
    return pose;
}

void ViewCamera::look() const
{
    gluLookAt(avatarPosition.x, avatarPosition.y, avatarPosition.z, avatarTarget.x, avatarTarget.y, avatarTarget.z,
              avatarUp.x, avatarUp.y, avatarUp.z);
}

const Vector& ViewCamera::getAvatarPosition() const
{
    return avatarPosition;
}

const Vector& ViewCamera::getAvatarTarget() const
{
    return avatarTarget;
}

const Vector& ViewCamera::getAvatarUp() const
{
    return avatarUp;
}

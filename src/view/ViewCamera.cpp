// SPDX-License-Identifier: GPL-3.0-or-later
// The camera: moved by hand (strafe, walk, look, zoom, back to the start
// place) or by the automatic camera, which follows the turns and the shots.
#include "view/ViewCamera.h"

#include <GL/glu.h>

#include <cmath>
#include <limits>

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
      autoCamera(clock),
      turnYaw(0.0),
      turnPitch(0.0)
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
        onTurn(current);
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

void ViewCamera::setBattlefield(int width, int depth, int height)
{
    const ViewTerrain& blocks = terrain;
    autoCamera.setGround(CameraGround(width, depth, height, [&blocks](int x, int y, int z) {
        return blocks.getBlock(Vector(x, y, z)) != TerrainChunks::EMPTY;
    }));
}

void ViewCamera::onTurn(int id)
{
    autoCamera.onTurn(turnCameraPose(id), cannonOf(id).value_or(Vector()));
    const ViewCannon aim = characters.getCannon(id);
    turnYaw = aim.yaw;
    turnPitch = aim.pitch;
}

void ViewCamera::onAim(int id, double yaw, double pitch)
{
    if (id != characters.getCurrentPlayer()) {
        return;
    }
    // An aim told again as it stood (a new battlefield tells every caster's)
    // is no turn of the cannon.
    const bool turned = yaw != turnYaw || pitch != turnPitch;
    turnYaw = yaw;
    turnPitch = pitch;
    if (turned) {
        autoCamera.onAim(yaw, pitch);
    }
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

std::optional<Vector> ViewCamera::cannonOf(int id) const
{
    Vector cannon;
    const auto aim = characters.getCannons().find(id);
    const Player* caster = characters.findPlayer(id);
    if (aim != characters.getCannons().end()) {
        cannon = aim->second.position;
    } else if (caster != nullptr) {
        cannon = caster->getPosition() + Vector(caster->getWidth() / 2, caster->getHeight() / 2, caster->getWidth() / 2);
    } else {
        return std::nullopt;
    }
    return Vector(cannon.x, cannon.y, -cannon.z);
}

CameraPose ViewCamera::turnCameraPose(int id) const
{
    const Vector cannon = cannonOf(id).value_or(Vector());
    const Player* caster = characters.findPlayer(id);
    const CameraGround& ground = autoCamera.getGround();
    Vector lookAt = ground.getCentre();
    double nearest = std::numeric_limits<double>::infinity();
    for (const auto& [other, player] : characters.getPlayers()) {
        if (other == id || player->isDead()) {
            continue;
        }
        const Vector middle =
            player->getPosition() + Vector(player->getWidth() / 2, player->getHeight() / 2, player->getWidth() / 2);
        const Vector sceneMiddle(middle.x, middle.y, -middle.z);
        const double distance = (sceneMiddle - cannon).getLength();
        if (distance < nearest) {
            nearest = distance;
            lookAt = sceneMiddle;
        }
    }
    const CameraDirector::Caster framed{cannon, caster != nullptr ? caster->getWidth() : 1.0,
                                        caster != nullptr ? caster->getHeight() : 1.0};
    return CameraDirector::turnPose(ground, framed, lookAt);
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

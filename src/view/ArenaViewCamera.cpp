// SPDX-License-Identifier: GPL-3.0-or-later
// The camera: moved by hand (strafe, walk, look, zoom, back to the start
// place) or by the automatic camera, which follows the turns and the shots.
#include <algorithm>
#include <cmath>

#include "model/Player.h"
#include "view/ArenaView.h"

void ArenaView::moveAvatar(double strafe, double forward)
{
    autoCamera.takeOver();
    Vector forwardStep(0, 0, 0);
    Vector sideStep(0, 0, 0);
    if (forward != 0.0) {
        Vector view = avatarTarget - avatarPosition;
        // Eye and target never meet in play; if they did there is no way to go.
        if (view.getLength() > 0.0) {
            forwardStep = view.getNormalizedCopy();
            if (forward > 0.0) {
                forwardStep = -forwardStep;
            }
        }
    }
    if (strafe != 0.0) {
        Vector flat = avatarTarget - avatarPosition;
        flat.y = 0.0;
        // Looking straight up or down leaves no horizontal side to step to.
        if (flat.getLength() > 0.0) {
            sideStep = flat.getNormalizedCopy();
            sideStep.rotate(90, 0, 1, 0);
            if (strafe > 0.0) {
                sideStep = -sideStep;
            }
        }
    }
    sideStep = sideStep * abs(strafe);
    forwardStep = forwardStep * abs(forward);
    avatarPosition = (avatarPosition + sideStep) + forwardStep;
    avatarTarget = (avatarTarget + sideStep) + forwardStep;
}

void ArenaView::moveAvatarVision(double yaw, double pitch)
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

void ArenaView::resetAvatar()
{
    autoCamera.takeOver();
    avatarPosition = START_EYE;
    avatarTarget = START_TARGET;
}

void ArenaView::zoom(double steps)
{
    moveAvatar(0.0, -steps);
}

void ArenaView::setAutoCameraEnabled(bool enabled)
{
    const bool switchedOn = enabled && !autoCamera.isEnabled();
    autoCamera.setEnabled(enabled);
    // While off, the director kept the turn's pose as it was when the turn
    // began, and a hand move made it wait for the next turn: switched on, it
    // takes up the turn under way as it stands now, cannon and terrain.
    if (switchedOn && players.count(currentPlayer) > 0) {
        autoCamera.onTurn(turnCameraPose(currentPlayer));
    }
}

bool ArenaView::isAutoCameraEnabled() const
{
    return autoCamera.isEnabled();
}

const CameraDirector& ArenaView::getAutoCamera() const
{
    return autoCamera;
}

void ArenaView::directCamera()
{
    CameraPose pose{avatarPosition, avatarTarget};
    if (autoCamera.update(pose)) {
        avatarPosition = pose.eye;
        avatarTarget = pose.target;
    }
}

CameraPose ArenaView::turnCameraPose(int id) const
{
    Vector cannon;
    double yaw = 0.0;
    const auto aim = cannons.find(id);
    const auto player = players.find(id);
    if (aim != cannons.end()) {
        cannon = aim->second.position;
        yaw = aim->second.yaw;
    } else if (player != players.end()) {
        const Player& caster = *player->second;
        cannon = caster.getPosition() + Vector(caster.getWidth() / 2, caster.getHeight() / 2, caster.getWidth() / 2);
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
        const int x = static_cast<int>(std::floor(point.x));
        const int z = static_cast<int>(std::floor(-point.z));
        if (x < 0 || x >= width || z < 0 || z >= depth) {
            continue;
        }
        int top = height - 1;
        while (top >= 0 && chunks.getBlock(x, top, z) == TerrainChunks::EMPTY) {
            --top;
        }
        const double needed = top + 1 + CLEARANCE;
        if (top >= 0 && point.y < needed) {
            // The line from the cannon through this column's top, carried
            // out to the eye's distance.
            pose.eye.y = std::max(pose.eye.y, sceneCannon.y + (needed - sceneCannon.y) / share);
        }
    }
    return pose;
}

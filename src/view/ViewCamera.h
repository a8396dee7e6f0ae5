// SPDX-License-Identifier: GPL-3.0-or-later
// The view's camera: an eye and a target moved by hand (strafe, walk, look,
// zoom, back to the start place) or by the automatic camera, which follows
// the turns and the shots.
#pragma once

#include <optional>
#include <vector>

#include "math/Vector.h"
#include "view/CameraDirector.h"
#include "view/CameraPose.h"

class TimeSystem;
class ViewCharacters;
class ViewTerrain;

class ViewCamera {
public:
    // The camera's start place, where "v" puts it back.
    static constexpr Vector START_EYE{-25, 25, 15};
    static constexpr Vector START_TARGET{0, 0, 0};

    // clock: not owned; the view clock. characters, terrain: not owned; what
    // a turn's pose is worked out from. All outlive the camera.
    ViewCamera(TimeSystem& clock, const ViewCharacters& characters, const ViewTerrain& terrain);

    // Moves eye and target together: strafe to the right for positive values,
    // forward away from the target for positive values.
    void moveAvatar(double strafe, double forward);
    // Turns the target about the eye: yaw in degrees about the vertical, pitch
    // added to the height of the unit view direction.
    void moveAvatarVision(double yaw, double pitch);
    void resetAvatar();
    // Moves the camera along its view direction, towards what it looks at for
    // positive steps.
    void zoom(double steps);

    // The automatic camera, on by default. Off, the camera moves only by hand.
    void setAutoCameraEnabled(bool enabled);
    bool isAutoCameraEnabled() const;
    const CameraDirector& getAutoCamera() const;
    // A new battlefield of these extents, in cells: the automatic camera keeps
    // the eye out of its blocks.
    void setBattlefield(int width, int depth, int height);
    // A player's turn begins: the automatic camera goes to see it.
    void onTurn(int id);
    // The current player, a human, turned the cannon: the automatic camera
    // swings with it.
    void onAim(int id, double yaw, double pitch);
    // A shot is shown; see CameraDirector::onShot.
    void onShot(const std::vector<Vector>& path, long flightStart, long flightEnd, long holdEnd);
    // A new battlefield: the automatic camera forgets the last one's.
    void reset();
    // Lets the automatic camera place the camera for this frame.
    void directCamera();
    // Where the automatic camera shows a player's turn from: behind the
    // caster, looking towards the nearest living opponent (the battlefield's
    // middle when none is left).
    CameraPose turnCameraPose(int id) const;
    // Loads the camera's transform into the modelview matrix.
    void look() const;

    const Vector& getAvatarPosition() const;
    const Vector& getAvatarTarget() const;
    const Vector& getAvatarUp() const;

private:
    // A player's cannon in the scene, or nothing for no such player.
    std::optional<Vector> cannonOf(int id) const;

    const ViewCharacters& characters; // not owned
    const ViewTerrain& terrain;       // not owned
    Vector avatarPosition;
    Vector avatarTarget;
    Vector avatarUp;
    CameraDirector autoCamera;
    // The current caster's aim as last told (degrees), from its turn's start.
    double turnYaw;
    double turnPitch;
};

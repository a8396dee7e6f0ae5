// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic camera's moves: glides between turns, the swing with a human's
// aim, the follow of a shot and the hold on its impact, all eased and timed by
// the view clock, with the eye kept out of the blocks.
#include "view/CameraDirector.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Distances in cells, angles in degrees.
// The turn pose: the eye over the caster's right shoulder, the caster this
// far below the middle of the picture: low, or, looking further down to show
// less of what lies beyond the battlefield, nearer the middle.
constexpr double TURN_RIGHT = 1.5;
constexpr double CASTER_BELOW[] = {11.0, 5.0};
constexpr double TARGET_BEYOND_CASTER = 6.0;
// Eye places behind and above the caster, from near to far, the steep ones
// last: the first from which the battlefield fills FILLED_SHARE of the
// picture and the caster's box CASTER_SHARE is taken; else the one that
// comes nearest.
constexpr std::pair<double, double> TURN_PLACES[] = {{4.0, 3.0},  {5.0, 4.0}, {5.5, 5.5}, {6.0, 7.0}, {6.5, 8.5},
                                                    {7.0, 10.0}, {2.0, 6.0}, {1.5, 8.0}, {1.0, 10.0}};
constexpr double FILLED_SHARE = 0.72;
constexpr double CASTER_SHARE = 0.025;
constexpr double TOP_SEEN = 0.2;
// Turns of the look away from the opponent tried, in this order, when no
// place behind the caster sees it or the battlefield well enough.
constexpr double TURN_SWAYS[] = {0.0, 20.0, -20.0, 40.0, -40.0, 60.0, -60.0};
// Most of the caster must be in sight. A line of sight is looked at every
// SIGHT_STEP from this far from the caster.
constexpr double MOSTLY_SEEN = 0.6;
constexpr double SIGHT_FROM = 0.7;
constexpr double SIGHT_STEP = 0.4;
// With no better place, the eye stands this high over the grid's top.
constexpr double OVER_THE_TOP = 2.0;
// The aim's pitch tilts the view by this share of it, up to a limit.
constexpr double TILT_SHARE = 0.25;
constexpr double TILT_LIMIT = 9.0;
constexpr double FOLLOW_BACK = 7.0;
constexpr double FOLLOW_UP = 3.0;

constexpr double RADIANS = M_PI / 180.0;

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

// The heading of a direction about the vertical, as Vector::rotate turns +x.
double headingOf(const Vector& direction)
{
    return std::atan2(-direction.z, direction.x) / RADIANS;
}

// Whether the line from point to the eye passes through no block, but for
// the point's own surroundings.
bool inSight(const CameraGround& ground, const Vector& point, const Vector& eye)
{
    const double length = (eye - point).getLength();
    for (double along = SIGHT_FROM; along < length; along += SIGHT_STEP) {
        if (ground.isSolid(point + (eye - point) * (along / length))) {
            return false;
        }
    }
    return true;
}

// The share of five points of the caster's box, its middle, above and below
// it and to either side, that the eye sees.
double seenShare(const CameraGround& ground, const CameraDirector::Caster& caster, const Vector& eye)
{
    Vector side(eye.z - caster.cannon.z, 0, caster.cannon.x - eye.x);
    side = side.getLength() > 0.0 ? side.getNormalizedCopy() * (caster.width * 0.35) : Vector();
    const Vector up(0, caster.height * 0.35, 0);
    const Vector points[] = {caster.cannon, caster.cannon + up, caster.cannon - up, caster.cannon + side,
                             caster.cannon - side};
    const auto seen = std::count_if(std::begin(points), std::end(points),
                                    [&](const Vector& point) { return inSight(ground, point, eye); });
    return static_cast<double>(seen) / std::size(points);
}

// The share of the picture the caster's box covers seen from eye, roughly:
// one side, and the top, as flat faces at the cannon's distance; from above
// only the hat and the health bar show, hence the top counts little.
double casterShare(const CameraDirector::Caster& caster, const Vector& eye)
{
    const Vector toEye = eye - caster.cannon;
    const double distance = toEye.getLength();
    const double height = std::tan(CameraDirector::FIELD_OF_VIEW * RADIANS / 2.0) * 2.0;
    const double picture = height * height * CameraDirector::ASPECT;
    const double up = distance > 0.0 ? std::abs(toEye.y) / distance : 1.0;
    const double seen = caster.width * caster.height * std::sqrt(1.0 - up * up) + TOP_SEEN * caster.width * caster.width * up;
    return seen / (distance * distance + 1e-9) / picture;
}

// From eye, looking along the horizontal ahead and down so that the caster
// at cannon shows below (degrees) under the middle of the picture.
CameraPose framed(const Vector& cannon, const Vector& ahead, const Vector& eye, double below)
{
    const Vector toCaster = cannon - eye;
    const double across = std::hypot(toCaster.x, toCaster.z);
    const double down = std::atan2(-toCaster.y, across) - below * RADIANS;
    const Vector view = ahead * std::cos(down) + Vector(0, -std::sin(down), 0);
    return {eye, eye + view * (toCaster.getLength() + TARGET_BEYOND_CASTER)};
}

} // namespace

CameraDirector::CameraDirector(TimeSystem& clock)
    : clock(clock),
      enabled(true),
      takenOver(false),
      gliding(false),
      glideStart(0),
      aiming(false),
      aimHeading(0.0),
      aimTilt(0.0),
      shownHeading(0.0),
      shownTilt(0.0),
      aimTick(0),
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
        aimTick = clock.getTick();
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

void CameraDirector::setGround(CameraGround newGround)
{
    ground = std::move(newGround);
}

const CameraGround& CameraDirector::getGround() const
{
    return ground;
}

void CameraDirector::onTurn(const CameraPose& pose)
{
    onTurn(pose, pose.target);
}

void CameraDirector::onTurn(const CameraPose& pose, const Vector& caster)
{
    takenOver = false;
    turn = pose;
    swingCentre = caster;
    gliding = true;
    glideStartPose.reset();
    aiming = false;
}

void CameraDirector::onAim(double yaw, double pitch)
{
    if (!turn) {
        return;
    }
    if (!aiming) {
        aiming = true;
        shownHeading = headingOf(turn->target - turn->eye);
        shownTilt = 0.0;
        aimTick = clock.getTick();
    }
    // The model turns a cannon's barrel, +x, by yaw about +y; the scene
    // mirrors z, which turns the heading the other way.
    aimHeading = -yaw;
    aimTilt = std::clamp(pitch * TILT_SHARE, -TILT_LIMIT, TILT_LIMIT);
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
    // The turn that cast it is over; the next one glides in after the shot.
    gliding = false;
    aiming = false;
}

void CameraDirector::takeOver()
{
    takenOver = true;
    gliding = false;
    aiming = false;
}

void CameraDirector::reset()
{
    showingShot = false;
    path = ShotPath();
    turn.reset();
    gliding = false;
    aiming = false;
    followStartPose.reset();
}

bool CameraDirector::update(CameraPose& pose)
{
    const long now = clock.getTick();
    if (showingShot && now >= holdEnd) {
        showingShot = false;
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
        keepInAir(pose);
        return true;
    }
    if (!turn || (!gliding && !aiming)) {
        return false;
    }
    CameraPose view = turnView(now);
    if (gliding) {
        if (!glideStartPose) {
            glideStartPose = pose;
            glideStart = now;
        }
        const double share = ease(static_cast<double>(now - glideStart) / GLIDE_LENGTH);
        view = mix(*glideStartPose, view, share);
        gliding = share < 1.0;
    }
    pose = view;
    keepInAir(pose);
    return true;
}

CameraPose CameraDirector::turnView(long now)
{
    if (!aiming) {
        return *turn;
    }
    // The swing closes most of the way to the aim within a few AIM_LAGs,
    // the shorter way round.
    const double step = 1.0 - std::exp(-static_cast<double>(std::max(0L, now - aimTick)) / AIM_LAG);
    aimTick = now;
    shownHeading += std::remainder(aimHeading - shownHeading, 360.0) * step;
    shownTilt += (aimTilt - shownTilt) * step;

    const double turnBy = shownHeading - headingOf(turn->target - turn->eye);
    Vector eye = turn->eye - swingCentre;
    Vector view = turn->target - turn->eye;
    eye.rotate(turnBy, 0, 1, 0);
    view.rotate(turnBy, 0, 1, 0);
    eye = swingCentre + eye;
    // Tilted up by the aim's pitch, about the eye.
    const double across = std::hypot(view.x, view.z);
    const double up = std::atan2(view.y, across) + shownTilt * RADIANS;
    const Vector flat = across > 0.0 ? Vector(view.x / across, 0, view.z / across) : Vector(1, 0, 0);
    return {eye, eye + (flat * std::cos(up) + Vector(0, std::sin(up), 0)) * view.getLength()};
}

void CameraDirector::keepInAir(CameraPose& pose) const
{
    pose.eye = ground.riseAbove(pose.eye, EYE_ROOM);
}

CameraPose CameraDirector::turnPose(const CameraGround& ground, const Caster& caster, const Vector& lookAt)
{
    Vector towards = lookAt - caster.cannon;
    towards.y = 0.0;
    towards = towards.getLength() > 1e-6 ? towards.getNormalizedCopy() : Vector(1, 0, 0);
    std::optional<CameraPose> best;
    double bestScore = -1.0;
    for (double sway : TURN_SWAYS) {
        Vector ahead = towards;
        ahead.rotate(sway, 0, 1, 0);
        // Looking along ahead with +y up, the right hand is ahead x up.
        const Vector right(-ahead.z, 0, ahead.x);
        for (const auto& [back, rise] : TURN_PLACES) {
            const Vector eye = caster.cannon - ahead * back + right * TURN_RIGHT + Vector(0, rise, 0);
            const double seen = ground.isClear(eye, EYE_ROOM) ? seenShare(ground, caster, eye) : 0.0;
            if (seen < MOSTLY_SEEN) {
                continue;
            }
            const double casterScore = casterShare(caster, eye) * seen / CASTER_SHARE;
            if (casterScore <= bestScore) {
                continue;
            }
            for (double below : CASTER_BELOW) {
                const CameraPose pose = framed(caster.cannon, ahead, eye, below);
                const double score = std::min(casterScore, ground.pictureShare(pose, FIELD_OF_VIEW, ASPECT) / FILLED_SHARE);
                if (score >= 1.0) {
                    return pose;
                }
                if (score > bestScore) {
                    best = pose;
                    bestScore = score;
                }
            }
        }
    }
    if (best) {
        return *best;
    }
    // Walled in on every side: from over the top of the grid, which sees
    // down into any hole.
    Vector over = caster.cannon - towards * OVER_THE_TOP;
    over.y = ground.getTop() + OVER_THE_TOP;
    return framed(caster.cannon, towards, over, CASTER_BELOW[0]);
}

CameraPose CameraDirector::followPose(const Vector& point, const Vector& direction)
{
    return {point - direction * FOLLOW_BACK + Vector(0, FOLLOW_UP, 0), point};
}

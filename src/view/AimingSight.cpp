// SPDX-License-Identifier: GPL-3.0-or-later
// The sight's dotted flight and landing rings, and the casters' previous
// shots, drawn in the scene's coordinates (the model's z mirrored).
#include "view/AimingSight.h"

#include <GL/freeglut.h>

#include <cmath>
#include <utility>

#include "model/Projectile.h"

namespace {

// Cells between two dots of the sight.
constexpr double SIGHT_DOT_SPACING = 0.35;
// Cells: the landing ring's radius, and how far over the landing point it
// lies so that the ground it hit does not cover it.
constexpr double RING_RADIUS = 0.5;
constexpr double RING_LIFT = 0.05;
constexpr int RING_SEGMENTS = 24;
const double PI = std::acos(-1.0);

void vertex(const Vector& point)
{
    glVertex3d(point.x, point.y, -point.z);
}

void drawDots(const AimingSight::Path& path)
{
    glBegin(GL_POINTS);
    double carried = 0.0; // how far past the last dot the segment starts
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const Vector step = path[i + 1] - path[i];
        const double length = step.getLength();
        for (double along = carried; along < length; along += SIGHT_DOT_SPACING) {
            vertex(path[i] + step * (along / length));
        }
        carried = length > 0.0 ? std::fmod(carried - length, SIGHT_DOT_SPACING) : carried;
        if (carried < 0.0) {
            carried += SIGHT_DOT_SPACING;
        }
    }
    glEnd();
}

// A flat ring with a cross in it, centred over the landing point.
void drawRing(const Vector& landing)
{
    const Vector centre = landing + Vector(0, RING_LIFT, 0);
    glBegin(GL_LINE_LOOP);
    for (int segment = 0; segment < RING_SEGMENTS; ++segment) {
        const double angle = 2.0 * PI * segment / RING_SEGMENTS;
        vertex(centre + Vector(RING_RADIUS * std::cos(angle), 0, RING_RADIUS * std::sin(angle)));
    }
    glEnd();
    glBegin(GL_LINES);
    vertex(centre - Vector(RING_RADIUS, 0, 0));
    vertex(centre + Vector(RING_RADIUS, 0, 0));
    vertex(centre - Vector(0, 0, RING_RADIUS));
    vertex(centre + Vector(0, 0, RING_RADIUS));
    glEnd();
}

} // namespace

std::vector<AimingSight::Path> AimingSight::flightOf(const std::list<Vector>& path, const Projectile* spell)
{
    std::vector<Path> flight{Path(path.begin(), path.end())};
    if (spell != nullptr) {
        for (const SpellFragment& fragment : spell->getFragments()) {
            flight.emplace_back(fragment.path.begin(), fragment.path.end());
        }
    }
    return flight;
}

std::vector<Vector> AimingSight::landingsOf(const std::list<Vector>& path, const Projectile* spell)
{
    std::vector<Vector> ends;
    if (spell != nullptr) {
        for (const SpellFragment& fragment : spell->getFragments()) {
            ends.push_back(fragment.path.back());
        }
    }
    if (ends.empty() && !path.empty()) {
        ends.push_back(path.back());
    }
    return ends;
}

void AimingSight::show(std::vector<Path> shownPaths, std::vector<Vector> shownLandings)
{
    paths = std::move(shownPaths);
    landings = std::move(shownLandings);
}

void AimingSight::hide()
{
    paths.clear();
    landings.clear();
}

const std::vector<AimingSight::Path>& AimingSight::getPaths() const
{
    return paths;
}

const std::vector<Vector>& AimingSight::getLandings() const
{
    return landings;
}

void AimingSight::rememberShot(int caster, std::vector<Path> flight)
{
    previousShots[caster] = std::move(flight);
}

const std::vector<AimingSight::Path>& AimingSight::getPreviousShot(int caster) const
{
    static const std::vector<Path> NONE;
    const auto found = previousShots.find(caster);
    return found != previousShots.end() ? found->second : NONE;
}

void AimingSight::clear()
{
    hide();
    previousShots.clear();
}

void AimingSight::render() const
{
    if (paths.empty() && landings.empty()) {
        return;
    }
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POINT_BIT | GL_LINE_BIT);
    glDisable(GL_LIGHTING);
    glPointSize(4.0f);
    glColor3f(1.0f, 1.0f, 0.6f);
    for (const Path& path : paths) {
        drawDots(path);
    }
    // The ring shows through the hills: where a shot lands matters most
    // when the camera cannot see the place.
    glDisable(GL_DEPTH_TEST);
    glLineWidth(2.0f);
    glColor3f(1.0f, 0.45f, 0.1f);
    for (const Vector& landing : landings) {
        drawRing(landing);
    }
    glPopAttrib();
}

void AimingSight::renderPreviousShot(int caster) const
{
    const std::vector<Path>& flight = getPreviousShot(caster);
    if (flight.empty()) {
        return;
    }
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glLineWidth(1.0f);
    glColor4f(0.75f, 0.85f, 1.0f, 0.4f);
    for (const Path& path : flight) {
        glBegin(GL_LINE_STRIP);
        for (const Vector& point : path) {
            vertex(point);
        }
        glEnd();
    }
    glPopAttrib();
}

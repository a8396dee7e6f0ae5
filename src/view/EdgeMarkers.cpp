// SPDX-License-Identifier: GPL-3.0-or-later
// The markers at the window's edge that point to the opponents out of the
// picture, so that a caster can aim at someone the camera does not show.
#include "view/EdgeMarkers.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>

#include "model/Player.h"
#include "view/BitmapText.h"
#include "view/OverlayDrawState.h"
#include "view/PlayerColour.h"
#include "view/PlayingAids.h"
#include "view/ViewCharacters.h"
#include "view/ViewOverlay.h"

namespace {

// Pixels: the arrow's length and half its width; the gap from its base to the
// label; the label's height above its baseline and the step between two
// labels; the band kept clear at the bottom for the credits and the key hint.
constexpr double ARROW_LENGTH = 18.0;
constexpr double ARROW_HALF_WIDTH = 9.0;
constexpr double LABEL_GAP = 6.0;
constexpr int LABEL_HEIGHT = 9;
constexpr int LABEL_LINE = 15;
constexpr int BOTTOM_BAND = 40;
void* const FONT = GLUT_BITMAP_HELVETICA_12;

std::string labelOf(const Player& opponent, const Player& caster)
{
    const long cells = std::lround((opponent.getPosition() - caster.getPosition()).getLength());
    return opponent.getName() + " " + std::to_string(cells);
}

void drawArrow(const Vector& tip, const Vector& base, const Vector& direction, const PlayerColour& colour)
{
    const Vector side(-direction.y * ARROW_HALF_WIDTH, direction.x * ARROW_HALF_WIDTH, 0);
    const Vector corners[3] = {tip, base + side, base - side};
    glColor3f(colour.red, colour.green, colour.blue);
    glBegin(GL_TRIANGLES);
    for (const Vector& corner : corners) {
        glVertex2d(corner.x, corner.y);
    }
    glEnd();
    glColor4f(0.0f, 0.0f, 0.0f, 0.8f);
    glBegin(GL_LINE_LOOP);
    for (const Vector& corner : corners) {
        glVertex2d(corner.x, corner.y);
    }
    glEnd();
}

void drawLabel(int left, int baseline, const PlayerColour& colour, const std::string& label)
{
    glColor4f(0.0f, 0.0f, 0.0f, 0.8f);
    BitmapText::draw(static_cast<float>(left + 1), static_cast<float>(baseline + 1), 0, FONT, label.c_str());
    glColor3f(colour.red, colour.green, colour.blue);
    BitmapText::draw(static_cast<float>(left), static_cast<float>(baseline), 0, FONT, label.c_str());
}

} // namespace

EdgeMarkers::EdgeMarkers(const ViewCharacters& characters, const PlayingAids& aids, const ViewOverlay& overlay)
    : characters(characters), aids(aids), overlay(overlay)
{
}

void EdgeMarkers::place()
{
    markers.clear();
    if (!aids.areAidsShown() || !aids.isTurnWaiting()) {
        return;
    }
    const Player* caster = characters.findPlayer(characters.getCurrentPlayer());
    projection.capture();
    for (const auto& [id, opponent] : characters.getPlayers()) {
        if (id == characters.getCurrentPlayer() || opponent->isDead()) {
            continue;
        }
        const Vector middle = opponent->getPosition()
                            + Vector(opponent->getWidth() / 2, opponent->getHeight() / 2, opponent->getWidth() / 2);
        EdgeMarker marker{id, Vector(), Vector(), labelOf(*opponent, *caster)};
        if (markerAt(projection.clip(middle), marker)) {
            markers.push_back(marker);
        }
    }
}

bool EdgeMarkers::markerAt(const std::array<double, 4>& clip, EdgeMarker& marker) const
{
    const double w = clip[3];
    if (w > 0.0 && std::abs(clip[0]) <= w && std::abs(clip[1]) <= w) {
        return false;
    }
    // Towards the point from the window's middle, in pixels with y up. The
    // clip coordinates themselves, not divided by w: behind the eye that
    // division would turn the direction round.
    const double halfWidth = overlay.getWindowWidth() / 2.0;
    const double halfHeight = overlay.getWindowHeight() / 2.0;
    double towardsX = clip[0] * halfWidth;
    double towardsY = clip[1] * halfHeight;
    const double length = std::hypot(towardsX, towardsY);
    // Straight behind the eye: down, the way the camera would turn round.
    towardsX = length > 0.0 ? towardsX / length : 0.0;
    towardsY = length > 0.0 ? towardsY / length : -1.0;
    // Out along that line to the border of the room left for markers.
    const auto reachTo = [](double towards, double from, double low, double high) {
        return towards > 0.0 ? (high - from) / towards : towards < 0.0 ? (low - from) / towards : HUGE_VAL;
    };
    const double reach = std::max(std::min(reachTo(towardsX, halfWidth, MARGIN, 2 * halfWidth - MARGIN),
                                           reachTo(towardsY, halfHeight, BOTTOM_BAND, 2 * halfHeight - MARGIN)),
                                  0.0);
    marker.tip = Vector(halfWidth + towardsX * reach, overlay.getWindowHeight() - (halfHeight + towardsY * reach), 0);
    // Not over the overlay's lines at the top left: on the left edge, below them.
    const double belowLines = overlay.getPlayerLinesBox().bottom + ARROW_HALF_WIDTH + 2.0;
    if (towardsX < 0.0 && marker.tip.x < MARGIN + 0.5 && marker.tip.y < belowLines) {
        marker.tip.y = belowLines;
    }
    marker.direction = Vector(towardsX, -towardsY, 0);
    return true;
}

void EdgeMarkers::display() const
{
    if (!aids.areAidsShown()) {
        return;
    }
    const int windowWidth = overlay.getWindowWidth();
    const int windowHeight = overlay.getWindowHeight();
    const OverlayDrawState state;
    std::vector<std::array<int, 4>> labelBoxes; // left, top, right, bottom of those drawn
    for (const EdgeMarker& marker : markers) {
        const PlayerColour colour = PlayerColour::of(marker.id);
        const Vector& d = marker.direction;
        const Vector base = marker.tip - d * ARROW_LENGTH;
        drawArrow(marker.tip, base, d, colour);
        // The label behind the arrow's base, kept whole inside the window.
        const int width = BitmapText::width(FONT, marker.label);
        const Vector anchor = base - d * LABEL_GAP;
        const double left = anchor.x - width / 2.0 - d.x * width / 2.0;
        const double baseline = anchor.y + LABEL_HEIGHT / 2.0 - d.y * (LABEL_HEIGHT / 2.0 + 2.0);
        std::array<int, 4> box{};
        box[0] = static_cast<int>(std::clamp(left, 2.0, std::max(windowWidth - width - 2.0, 2.0)));
        box[3] = static_cast<int>(std::clamp(baseline, LABEL_HEIGHT + 2.0,
                                             std::max(windowHeight - 2.0 - BOTTOM_BAND / 2.0, LABEL_HEIGHT + 2.0)));
        box[2] = box[0] + width;
        box[1] = box[3] - LABEL_HEIGHT;
        // Opponents in one direction: each label a line below those it would cover.
        for (std::size_t tries = 0; tries < labelBoxes.size(); ++tries) {
            const auto covered = std::find_if(labelBoxes.begin(), labelBoxes.end(), [&box](const auto& other) {
                return box[0] < other[2] && other[0] < box[2] && box[1] <= other[3] && other[1] <= box[3];
            });
            if (covered == labelBoxes.end()) {
                break;
            }
            const int step = (*covered)[3] + LABEL_LINE - box[3];
            box[1] += step;
            box[3] += step;
        }
        labelBoxes.push_back(box);
        drawLabel(box[0], box[3], colour, marker.label);
    }
}

const std::vector<EdgeMarker>& EdgeMarkers::getMarkers() const
{
    return markers;
}

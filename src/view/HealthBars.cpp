// SPDX-License-Identifier: GPL-3.0-or-later
// The health bars over the casters: each keeps the hit points last shown and
// takes a shot's hit when the view shows it, not when the model resolved it.
#include "view/HealthBars.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "math/TimeSystem.h"
#include "model/Player.h"
#include "view/BitmapText.h"
#include "view/OverlayDrawState.h"
#include "view/PlayingAids.h"
#include "view/ViewCharacters.h"
#include "view/ViewOverlay.h"

namespace {

// Cells above the head: clear of the red bar the characters wear there.
constexpr double BAR_LIFT = 0.65;
// Pixels.
constexpr int BAR_WIDTH = 40;
constexpr int BAR_HEIGHT = 5;
constexpr int FRAME = 1;
constexpr int TEXT_GAP = 4;
void* const FONT = GLUT_BITMAP_HELVETICA_10;

void fillRectangle(int left, int top, int width, int height)
{
    glBegin(GL_QUADS);
    glVertex2i(left, top);
    glVertex2i(left + width, top);
    glVertex2i(left + width, top + height);
    glVertex2i(left, top + height);
    glEnd();
}

// Green while healthy, amber from half, red under a quarter: none of them
// the overlay's own white or gold.
void healthColour(double hp)
{
    if (hp > HealthBars::FULL_HP / 2) {
        glColor3f(0.3f, 0.9f, 0.3f);
    } else if (hp > HealthBars::FULL_HP / 4) {
        glColor3f(1.0f, 0.5f, 0.1f);
    } else {
        glColor3f(1.0f, 0.3f, 0.2f);
    }
}

} // namespace

HealthBars::HealthBars(TimeSystem& clock, const ViewCharacters& characters, const PlayingAids& aids,
                       const ViewOverlay& overlay)
    : clock(clock), characters(characters), aids(aids), overlay(overlay)
{
}

void HealthBars::addHits(const std::map<int, double>& damages, long start)
{
    for (const auto& [id, damage] : damages) {
        const Player* player = characters.findPlayer(id);
        if (player == nullptr) {
            continue;
        }
        // Not yet drawn since it joined: it had the damage more before the cast.
        if (shown.count(id) == 0) {
            shown[id] = player->getHp() + damage;
        }
        hitsToShow.push_back({id, start, player->getHp()});
    }
}

void HealthBars::clear()
{
    shown.clear();
    hitsToShow.clear();
    placed.clear();
}

double HealthBars::shownHp(int id) const
{
    const auto found = shown.find(id);
    const Player* player = characters.findPlayer(id);
    const double hp = found != shown.end() ? found->second : player != nullptr ? player->getHp() : 0.0;
    return std::max(hp, 0.0);
}

void HealthBars::place()
{
    const long now = clock.getTick();
    for (const Hit& hit : hitsToShow) {
        if (now >= hit.start) {
            shown[hit.id] = hit.hpAfter;
        }
    }
    hitsToShow.erase(std::remove_if(hitsToShow.begin(), hitsToShow.end(),
                                    [now](const Hit& hit) { return now >= hit.start; }),
                     hitsToShow.end());
    // A caster with no hit still to show shows its hit points as they are.
    for (const auto& [id, player] : characters.getPlayers()) {
        const bool waiting = std::any_of(hitsToShow.begin(), hitsToShow.end(),
                                         [id = id](const Hit& hit) { return hit.id == id; });
        if (!waiting) {
            shown[id] = player->getHp();
        }
    }
    placed.clear();
    if (!aids.areAidsShown()) {
        return;
    }
    projection.capture();
    const ViewOverlay::Box lines = overlay.getPlayerLinesBox();
    for (const auto& [id, player] : characters.getPlayers()) {
        const double hp = shownHp(id);
        const Vector head = player->getPosition()
                          + Vector(player->getWidth() / 2, player->getHeight() + BAR_LIFT, player->getWidth() / 2);
        Vector pixel;
        // The dead, as shown, have no bar.
        if (hp <= 0.0 || !projection.toWindow(head, overlay.getWindowHeight(), pixel)) {
            continue;
        }
        // Whole hit points; a living caster never reads 0.
        const std::string text = std::to_string(std::max(static_cast<int>(std::floor(hp)), 1));
        const int width = BAR_WIDTH + TEXT_GAP + BitmapText::width(FONT, text);
        const int left = static_cast<int>(pixel.x) - width / 2;
        const int top = static_cast<int>(pixel.y) - BAR_HEIGHT;
        const bool overLines = left < lines.right && lines.left < left + width && top - FRAME < lines.bottom
                            && lines.top < top + BAR_HEIGHT + FRAME;
        if (!overLines) {
            placed.push_back({left, top, hp, text});
        }
    }
}

void HealthBars::display() const
{
    if (!aids.areAidsShown()) {
        return;
    }
    const OverlayDrawState state;
    for (const PlacedBar& bar : placed) {
        glColor4f(0.0f, 0.0f, 0.0f, 0.7f);
        fillRectangle(bar.left - FRAME, bar.top - FRAME, BAR_WIDTH + 2 * FRAME, BAR_HEIGHT + 2 * FRAME);
        healthColour(bar.hp);
        const double full = std::min(bar.hp / FULL_HP, 1.0);
        fillRectangle(bar.left, bar.top, std::max(static_cast<int>(std::lround(BAR_WIDTH * full)), 1), BAR_HEIGHT);
        // The number beside the bar, on a dark ground to read over anything.
        const int textLeft = bar.left + BAR_WIDTH + TEXT_GAP;
        const int baseline = bar.top + BAR_HEIGHT + 1;
        glColor4f(0.0f, 0.0f, 0.0f, 0.7f);
        BitmapText::draw(static_cast<float>(textLeft + 1), static_cast<float>(baseline + 1), 0, FONT,
                         bar.text.c_str());
        glColor3f(0.9f, 0.9f, 0.9f);
        BitmapText::draw(static_cast<float>(textLeft), static_cast<float>(baseline), 0, FONT, bar.text.c_str());
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The playing aids: whose turn it is at the top, damage numbers over the
// casters, the aiming sight and the winner in the middle of the window.
#include "view/PlayingAids.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "math/TimeSystem.h"
#include "model/Player.h"
#include "view/BitmapText.h"
#include "view/SetupPanel.h"
#include "view/ViewAnimations.h"
#include "view/ViewCharacters.h"
#include "view/ViewOverlay.h"

namespace {

// Ticks of the view clock.
constexpr long DAMAGE_NUMBER_LENGTH = 1500;
// Cells the number rises over its life, and how far above the head it starts.
constexpr double DAMAGE_NUMBER_RISE = 1.2;
constexpr double DAMAGE_NUMBER_LIFT = 0.4;
// Pixels: the turn line's baseline from the top; the winner's lines, the
// first baseline at the middle.
constexpr int TURN_LINE = 50;
constexpr int WINNER_LINE_SPACING = 34;

void* const LARGE_FONT = GLUT_BITMAP_TIMES_ROMAN_24;
void* const MEDIUM_FONT = GLUT_BITMAP_HELVETICA_18;
// Of the medium font: the long dash is drawn as a line of this width.
constexpr int DASH_WIDTH = 18;

// The text of a caster's damage number: the hit points lost, "KO" for a death.
std::string damageText(double damage, bool killed)
{
    std::ostringstream text;
    text << "-" << std::round(damage * 10.0) / 10.0;
    if (killed) {
        text << " KO";
    }
    return text.str();
}

} // namespace

PlayingAids::PlayingAids(TimeSystem& clock, const ViewCharacters& characters, const ViewAnimations& animations,
                         const SetupPanel& setup, const ViewOverlay& overlay)
    : clock(clock),
      characters(characters),
      animations(animations),
      setup(setup),
      overlay(overlay),
      aidsShown(true),
      showingWinner(false),
      winner(-1),
      winnerCountdown(false)
{
}

void PlayingAids::setAidsShown(bool shown)
{
    aidsShown = shown;
}

bool PlayingAids::areAidsShown() const
{
    return aidsShown;
}

void PlayingAids::clear()
{
    showingWinner = false;
    damageNumbers.clear();
    placedDamageNumbers.clear();
    sight.clear();
}

// --- Turn line ----------------------------------------------------------

bool PlayingAids::isTurnWaiting() const
{
    const Player* player = characters.findPlayer(characters.getCurrentPlayer());
    return player != nullptr && !player->isDead() && !showingWinner && !setup.isShowing()
        && !animations.isAnimating();
}

std::string PlayingAids::turnLine() const
{
    if (!aidsShown || !isTurnWaiting()) {
        return "";
    }
    return characters.findPlayer(characters.getCurrentPlayer())->getName() + " \u2014 " + characters.getWeapon();
}

void PlayingAids::displayTurnLine() const
{
    const std::string line = turnLine();
    if (line.empty()) {
        return;
    }
    // The bitmap fonts have no long dash: the two halves around a drawn one.
    const std::string dash = " \u2014 ";
    const std::size_t at = line.find(dash);
    const std::string name = line.substr(0, at);
    const std::string spell = line.substr(at + dash.size());
    const int gap = BitmapText::width(MEDIUM_FONT, " ");
    const int width = BitmapText::width(MEDIUM_FONT, name) + 2 * gap + DASH_WIDTH + BitmapText::width(MEDIUM_FONT, spell);
    const int left = std::max((overlay.getWindowWidth() - width) / 2, 0);
    glColor3f(1.0f, 0.85f, 0.2f);
    BitmapText::draw(static_cast<float>(left), TURN_LINE, 0, MEDIUM_FONT, name.c_str());
    const int dashLeft = left + BitmapText::width(MEDIUM_FONT, name) + gap;
    glBegin(GL_QUADS);
    glVertex2i(dashLeft, TURN_LINE - 7);
    glVertex2i(dashLeft + DASH_WIDTH, TURN_LINE - 7);
    glVertex2i(dashLeft + DASH_WIDTH, TURN_LINE - 5);
    glVertex2i(dashLeft, TURN_LINE - 5);
    glEnd();
    BitmapText::draw(static_cast<float>(dashLeft + DASH_WIDTH + gap), TURN_LINE, 0, MEDIUM_FONT, spell.c_str());
}

// --- Damage numbers -----------------------------------------------------

void PlayingAids::addDamageNumbers(const std::map<int, double>& damages, const std::set<int>& killed,
                                   const std::map<int, int>& falls, long start)
{
    // Over the head of the caster where it stood before any fall.
    auto overHead = [&falls](int id, const Player& hurt) {
        const auto fall = falls.find(id);
        return hurt.getPosition()
             + Vector(hurt.getWidth() / 2, hurt.getHeight() + DAMAGE_NUMBER_LIFT, hurt.getWidth() / 2)
             + Vector(0, fall != falls.end() ? fall->second : 0, 0);
    };
    for (const auto& [id, damage] : damages) {
        const Player* player = characters.findPlayer(id);
        // The dead lose nothing more.
        if (player == nullptr || (player->isDead() && killed.count(id) == 0)) {
            continue;
        }
        damageNumbers.push_back({overHead(id, *player), damageText(damage, killed.count(id) != 0), start});
    }
    for (int id : killed) {
        const Player* player = characters.findPlayer(id);
        if (damages.count(id) == 0 && player != nullptr) {
            damageNumbers.push_back({overHead(id, *player), "KO", start});
        }
    }
}

void PlayingAids::placeDamageNumbers()
{
    const long now = clock.getTick();
    damageNumbers.erase(std::remove_if(damageNumbers.begin(), damageNumbers.end(),
                                       [now](const DamageNumber& number) {
                                           return now >= number.start + DAMAGE_NUMBER_LENGTH;
                                       }),
                        damageNumbers.end());
    placedDamageNumbers.clear();
    // Most frames have none: no reading back of the matrices then.
    if (damageNumbers.empty()) {
        return;
    }
    GLdouble modelview[16];
    GLdouble projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    for (const DamageNumber& number : damageNumbers) {
        if (now < number.start) {
            continue;
        }
        const double age = static_cast<double>(now - number.start) / DAMAGE_NUMBER_LENGTH;
        const Vector at = number.position + Vector(0, DAMAGE_NUMBER_RISE * age, 0);
        GLdouble x = 0;
        GLdouble y = 0;
        GLdouble z = 0;
        // The scene mirrors the model's z; nothing behind the eye is shown.
        if (gluProject(at.x, at.y, -at.z, modelview, projection, viewport, &x, &y, &z) == GL_TRUE && z > 0.0
            && z < 1.0) {
            placedDamageNumbers.push_back({Vector(x, overlay.getWindowHeight() - y, 0), number.text, number.start});
        }
    }
}

void PlayingAids::displayDamageNumbers() const
{
    if (!aidsShown) {
        return;
    }
    const long now = clock.getTick();
    for (const DamageNumber& placed : placedDamageNumbers) {
        const double age = static_cast<double>(now - placed.start) / DAMAGE_NUMBER_LENGTH;
        const float alpha = static_cast<float>(std::clamp(1.0 - age * age, 0.0, 1.0));
        glColor4f(1.0f, 0.15f, 0.1f, alpha);
        const int left = static_cast<int>(placed.position.x) - BitmapText::width(LARGE_FONT, placed.text) / 2;
        BitmapText::draw(static_cast<float>(left), static_cast<float>(placed.position.y), 0, LARGE_FONT,
                         placed.text.c_str());
    }
}

const std::vector<DamageNumber>& PlayingAids::getDamageNumbers() const
{
    return damageNumbers;
}

// --- Sight --------------------------------------------------------------

AimingSight& PlayingAids::getSight()
{
    return sight;
}

const AimingSight& PlayingAids::getSight() const
{
    return sight;
}

void PlayingAids::renderSight() const
{
    // The next caster's sight waits until the shot has been shown.
    if (animations.isAnimating()) {
        return;
    }
    if (aidsShown && isTurnWaiting()) {
        sight.renderPreviousShot(characters.getCurrentPlayer());
    }
    sight.render();
}

// --- Winner -------------------------------------------------------------

bool PlayingAids::showWinner(int id, bool demonstration)
{
    const bool newWin = !showingWinner && characters.findPlayer(id) != nullptr;
    showingWinner = true;
    winner = id;
    winnerCountdown = demonstration;
    return newWin;
}

std::vector<std::string> PlayingAids::winnerLines() const
{
    if (!showingWinner) {
        return {};
    }
    const Player* found = characters.findPlayer(winner);
    const std::string first = found != nullptr ? found->getName() + " wins" : std::string("Nobody is left standing");
    return {first, winnerCountdown ? "A new battlefield in 5 seconds" : "r: new battlefield"};
}

void PlayingAids::displayWinner() const
{
    const std::vector<std::string> lines = winnerLines();
    glColor3f(1.0f, 0.85f, 0.2f);
    const int windowWidth = overlay.getWindowWidth();
    int baseline = overlay.getWindowHeight() / 2;
    bool first = true;
    for (const std::string& line : lines) {
        void* font = first ? LARGE_FONT : GLUT_BITMAP_8_BY_13;
        const int left = (windowWidth - BitmapText::width(font, line)) / 2;
        BitmapText::draw(static_cast<float>(std::max(left, 0)), static_cast<float>(baseline), 0, font, line.c_str());
        baseline += WINNER_LINE_SPACING;
        first = false;
    }
}

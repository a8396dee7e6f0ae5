// SPDX-License-Identifier: GPL-3.0-or-later
// The overlay's lines of a shared game: what the players say and what the game
// tells them in the lower left, the line a game waiting for its players shows
// in the middle, and the last seconds of a turn clock near the top.
#include "view/ViewOverlay.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>

#include "math/TimeSystem.h"
#include "view/KeyHint.h"
#include "view/OverlayDrawState.h"
#include "view/OverlayText.h"

namespace {

void* const MESSAGE_FONT = GLUT_BITMAP_8_BY_13;
void* const WAITING_FONT = GLUT_BITMAP_HELVETICA_18;
void* const COUNTDOWN_FONT = GLUT_STROKE_ROMAN;
// Pixels. The messages: their band's padding and left edge, their rows'
// spacing and glyph width, and the gap between their band and the key hint's.
constexpr int MESSAGE_PADDING = 5;
constexpr int MESSAGE_SPACING = 16;
constexpr int MESSAGE_GLYPH_WIDTH = 8;
constexpr int ABOVE_KEY_HINT = 20;
// The waiting line's band reaches this far above and below the middle.
constexpr int WAITING_BAND = 24;
// The countdown: its disc's radius and centre's height, its digits' height
// and strokes, and the room kept beside the player lines.
constexpr int COUNTDOWN_RADIUS = 27;
constexpr int COUNTDOWN_TOP = 95;
constexpr float COUNTDOWN_DIGITS = 30.0f;
constexpr float COUNTDOWN_STROKE = 3.0f;
constexpr float COUNTDOWN_RING = 3.0f;
constexpr int COUNTDOWN_SPACE = 12;
// The stroke font's letters stand this many units above the baseline.
constexpr float STROKE_CAP_HEIGHT = 100.0f;
constexpr int CIRCLE_SEGMENTS = 48;
constexpr double PI = 3.14159265358979323846;

struct Colour {
    float red;
    float green;
    float blue;
};
constexpr Colour SPEAKER = {1.0f, 0.85f, 0.2f};
constexpr Colour SAID = {1.0f, 1.0f, 1.0f};
constexpr Colour NOTICE = {0.55f, 0.85f, 1.0f};
constexpr Colour COUNTING = {1.0f, 1.0f, 1.0f};
constexpr Colour HURRYING = {1.0f, 0.25f, 0.2f};

void useColour(const Colour& colour)
{
    glColor3f(colour.red, colour.green, colour.blue);
}

// A see-through dark band behind lines of text, like the console's.
void darkBand(int left, int top, int right, int bottom)
{
    glColor4f(0.0f, 0.0f, 0.05f, 0.8f);
    glRecti(left, top, right, bottom);
}

// The UTF-8 characters of a line, each as its bytes.
std::vector<std::string> charactersOf(const std::string& text)
{
    std::vector<std::string> characters;
    for (unsigned char byte : text) {
        if ((byte & 0xc0u) != 0x80u || characters.empty()) {
            characters.emplace_back();
        }
        characters.back() += static_cast<char>(byte);
    }
    return characters;
}

// The line cut into rows of at most columns characters, at blanks where it
// can be; a word longer than a row is cut where the row ends.
std::vector<std::string> wrapped(const std::string& line, std::size_t columns)
{
    const std::vector<std::string> characters = charactersOf(line);
    const auto join = [&](std::size_t from, std::size_t to) {
        std::string row;
        for (std::size_t at = from; at < to; ++at) {
            row += characters[at];
        }
        return row;
    };
    std::vector<std::string> rows;
    std::size_t start = 0;
    while (characters.size() - start > columns) {
        std::size_t cut = start + columns;
        std::size_t blank = cut;
        while (blank > start && characters[blank] != " ") {
            --blank;
        }
        if (blank > start) {
            cut = blank;
        }
        rows.push_back(join(start, cut));
        start = cut;
        while (start < characters.size() && characters[start] == " ") {
            ++start;
        }
    }
    rows.push_back(join(start, characters.size()));
    return rows;
}

} // namespace

void ViewOverlay::addChatLine(const std::string& name, const std::string& text)
{
    addMessage({name, text, clock.getTick()});
}

void ViewOverlay::addNotice(const std::string& text)
{
    addMessage({"", text, clock.getTick()});
}

void ViewOverlay::addMessage(Message message)
{
    messages.push_back(std::move(message));
    if (messages.size() > MESSAGE_LINES) {
        messages.pop_front();
    }
}

std::vector<std::string> ViewOverlay::getShownMessages() const
{
    std::vector<std::string> shown;
    for (const Message& message : messages) {
        if (clock.getTick() - message.tick < MESSAGE_SHOWN_FOR) {
            shown.push_back(message.name.empty() ? message.text : message.name + ": " + message.text);
        }
    }
    return shown;
}

std::vector<ViewOverlay::MessageRow> ViewOverlay::messageRows() const
{
    // Rows after a message's first are indented by two blanks.
    const int columns = (windowWidth - 2 * MESSAGE_PADDING) / MESSAGE_GLYPH_WIDTH - 2;
    std::vector<MessageRow> rows;
    for (const Message& message : messages) {
        if (clock.getTick() - message.tick >= MESSAGE_SHOWN_FOR) {
            continue;
        }
        const bool notice = message.name.empty();
        const std::string line = notice ? message.text : message.name + ": " + message.text;
        bool first = true;
        for (const std::string& row : wrapped(line, static_cast<std::size_t>(std::max(columns, 10)))) {
            const std::size_t nameLength = first && !notice ? charactersOf(message.name).size() + 1 : 0;
            rows.push_back({first ? row : "  " + row, nameLength, notice});
            first = false;
        }
    }
    if (rows.size() > MESSAGE_ROWS) {
        rows.erase(rows.begin(), rows.end() - MESSAGE_ROWS);
    }
    return rows;
}

void ViewOverlay::setWaitingLine(const std::string& text)
{
    waitingLine = text;
}

const std::string& ViewOverlay::getWaitingLine() const
{
    return waitingLine;
}

void ViewOverlay::setTurnCountdown(std::optional<long> milliseconds)
{
    turnCountdown = milliseconds;
}

std::optional<long> ViewOverlay::getTurnCountdown() const
{
    return turnCountdown;
}

ViewOverlay::Point ViewOverlay::getCountdownCentre() const
{
    // In the middle unless the player lines reach that far: then beside them;
    // under the console's band while it shows.
    const int beside = getPlayerLinesBox().right + COUNTDOWN_SPACE + COUNTDOWN_RADIUS;
    const int x = std::min(std::max(windowWidth / 2, beside), windowWidth - COUNTDOWN_RADIUS - COUNTDOWN_SPACE);
    int y = COUNTDOWN_TOP;
    if (areConsoleAnswersShown()) {
        const int rows = static_cast<int>(consoleAnswers.size()) + (consoleVisible ? 1 : 0);
        const int bandBottom = CONSOLE_FIRST_BASELINE + CONSOLE_LINE_SPACING * (rows - 1) + 6;
        y = std::max(y, bandBottom + COUNTDOWN_SPACE / 2 + COUNTDOWN_RADIUS);
    }
    return {x, y};
}

void ViewOverlay::displayMessages() const
{
    const std::vector<MessageRow> rows = messageRows();
    if (rows.empty()) {
        return;
    }
    std::size_t widest = 0;
    for (const MessageRow& row : rows) {
        widest = std::max(widest, charactersOf(row.text).size());
    }
    // The newest row just above the key hint's band.
    const int lastBaseline = windowHeight - KeyHint::BASELINE_FROM_BOTTOM - ABOVE_KEY_HINT - MESSAGE_PADDING;
    const int firstBaseline = lastBaseline - MESSAGE_SPACING * static_cast<int>(rows.size() - 1);
    const OverlayDrawState drawState;
    darkBand(0, firstBaseline - 13 - MESSAGE_PADDING + 2,
             2 * MESSAGE_PADDING + MESSAGE_GLYPH_WIDTH * static_cast<int>(widest), lastBaseline + MESSAGE_PADDING);
    int baseline = firstBaseline;
    for (const MessageRow& row : rows) {
        if (row.notice) {
            useColour(NOTICE);
            OverlayText::draw(MESSAGE_PADDING, baseline, MESSAGE_FONT, row.text);
        } else {
            // The speaker's name and colon in a colour of their own.
            const std::vector<std::string> characters = charactersOf(row.text);
            std::string name;
            std::string said;
            for (std::size_t at = 0; at < characters.size(); ++at) {
                (at < row.nameLength ? name : said) += characters[at];
            }
            useColour(SPEAKER);
            OverlayText::draw(MESSAGE_PADDING, baseline, MESSAGE_FONT, name);
            useColour(SAID);
            OverlayText::draw(MESSAGE_PADDING + MESSAGE_GLYPH_WIDTH * static_cast<int>(row.nameLength), baseline,
                              MESSAGE_FONT, said);
        }
        baseline += MESSAGE_SPACING;
    }
}

void ViewOverlay::displayWaitingLine() const
{
    if (waitingLine.empty()) {
        return;
    }
    const int middle = windowHeight / 2;
    const int left = std::max((windowWidth - OverlayText::width(WAITING_FONT, waitingLine)) / 2, MESSAGE_PADDING);
    const OverlayDrawState drawState;
    darkBand(0, middle - WAITING_BAND, windowWidth, middle + WAITING_BAND);
    glColor3f(1.0f, 1.0f, 1.0f);
    // Capitals of the font are 13 pixels high: centred on the middle.
    OverlayText::draw(left, middle + 6, WAITING_FONT, waitingLine);
}

void ViewOverlay::displayTurnCountdown() const
{
    if (!turnCountdown || *turnCountdown > COUNTDOWN_FROM) {
        return;
    }
    const long left = std::max(*turnCountdown, 0L);
    const Colour& colour = left < COUNTDOWN_RED_UNDER ? HURRYING : COUNTING;
    const std::string seconds = std::to_string((left + 999) / 1000);
    const Point centre = getCountdownCentre();
    const OverlayDrawState drawState;
    glPushAttrib(GL_LINE_BIT);
    glEnable(GL_LINE_SMOOTH);
    // A dark disc, and round its edge a ring for the part of the last ten
    // seconds still left, starting at the top and going clockwise.
    glColor4f(0.0f, 0.0f, 0.05f, 0.85f);
    glBegin(GL_TRIANGLE_FAN);
    glVertex2i(centre.x, centre.y);
    for (int segment = 0; segment <= CIRCLE_SEGMENTS; ++segment) {
        const double angle = 2.0 * PI * segment / CIRCLE_SEGMENTS;
        glVertex2d(centre.x + COUNTDOWN_RADIUS * std::sin(angle), centre.y - COUNTDOWN_RADIUS * std::cos(angle));
    }
    glEnd();
    useColour(colour);
    glLineWidth(COUNTDOWN_RING);
    const double part = static_cast<double>(left) / COUNTDOWN_FROM;
    const double ring = COUNTDOWN_RADIUS - COUNTDOWN_RING;
    glBegin(GL_LINE_STRIP);
    for (int segment = 0; segment <= CIRCLE_SEGMENTS; ++segment) {
        const double angle = 2.0 * PI * part * segment / CIRCLE_SEGMENTS;
        glVertex2d(centre.x + ring * std::sin(angle), centre.y - ring * std::cos(angle));
    }
    glEnd();
    // The digits in the stroke font, upright in the window's y-down pixels.
    const float scale = COUNTDOWN_DIGITS / STROKE_CAP_HEIGHT;
    const float width = static_cast<float>(glutStrokeLength(COUNTDOWN_FONT,
                                                            reinterpret_cast<const unsigned char*>(seconds.c_str())));
    glLineWidth(COUNTDOWN_STROKE);
    glPushMatrix();
    glTranslatef(static_cast<float>(centre.x) - width * scale / 2.0f,
                 static_cast<float>(centre.y) + COUNTDOWN_DIGITS / 2.0f, 0.0f);
    glScalef(scale, -scale, 1.0f);
    for (char digit : seconds) {
        glutStrokeCharacter(COUNTDOWN_FONT, digit);
    }
    glPopMatrix();
    glPopAttrib();
}

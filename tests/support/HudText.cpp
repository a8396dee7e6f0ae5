// SPDX-License-Identifier: GPL-3.0-or-later
// Optical reading of the overlay: each character cell of the picture is
// compared with every glyph of the font, drawn once in the hidden GL window.
#include "support/HudText.h"

#include <GL/freeglut.h>

#include <array>
#include <bitset>
#include <climits>
#include <cstdlib>

#include <boost/regex.hpp>

#include "support/GlFixture.h"

namespace {

// A glyph cell: 8 pixels wide, from 12 rows above the baseline to 3 below.
constexpr int CELL_WIDTH = 8;
constexpr int CELL_TOP = -12;
constexpr int CELL_ROWS = 16;
using Cell = std::bitset<CELL_WIDTH * CELL_ROWS>;

constexpr char FIRST_CHARACTER = ' ';
constexpr char LAST_CHARACTER = '~';
// More differing pixels than this and a cell is no character of the font.
constexpr std::size_t MAX_GLYPH_DIFFERENCE = 6;

struct Glyph {
    char character;
    Cell pixels;
};

// Draws every printable character at a raster position in the test window
// and reads its pixels back, rows as the screen has them (top first).
std::vector<Glyph> drawFont()
{
    glutSetWindow(glTestWindow());
    glViewport(0, 0, GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, GL_TEST_WINDOW_SIDE, 0, GL_TEST_WINDOW_SIDE, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    const int rasterX = 8;
    const int rasterY = 20;
    std::vector<Glyph> font;
    for (char character = FIRST_CHARACTER; character <= LAST_CHARACTER; ++character) {
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 1, 1);
        glRasterPos2i(rasterX, rasterY);
        glutBitmapCharacter(GLUT_BITMAP_8_BY_13, character);
        // Screen row r of the cell (from its top) is GL row rasterY - 1 - (CELL_TOP + r).
        const int bottom = rasterY - 1 - (CELL_TOP + CELL_ROWS - 1);
        const std::vector<unsigned char> rgb = readPixels(rasterX, bottom, CELL_WIDTH, CELL_ROWS);
        Glyph glyph{character, {}};
        for (int row = 0; row < CELL_ROWS; ++row) {
            const int glRow = CELL_ROWS - 1 - row;
            for (int column = 0; column < CELL_WIDTH; ++column) {
                glyph.pixels[static_cast<std::size_t>(row * CELL_WIDTH + column)] =
                    rgb[static_cast<std::size_t>(glRow * CELL_WIDTH + column) * 3] > 127;
            }
        }
        font.push_back(glyph);
    }
    return font;
}

const std::vector<Glyph>& font()
{
    static const std::vector<Glyph> glyphs = drawFont();
    return glyphs;
}

// The overlay's colours: white, the current player's gold, the console's
// cyan, the frame rate's red, the console's orange refusals, a chat line's
// speaker and a notice.
bool isInk(const unsigned char* pixel)
{
    static const int COLOURS[][3] = {{255, 255, 255}, {191, 191, 0}, {128, 255, 255}, {255, 0, 0},
                                     {255, 153, 51},  {255, 217, 51}, {140, 217, 255}};
    for (const auto& colour : COLOURS) {
        if (std::abs(pixel[0] - colour[0]) <= 6 && std::abs(pixel[1] - colour[1]) <= 6
            && std::abs(pixel[2] - colour[2]) <= 6) {
            return true;
        }
    }
    return false;
}

Cell cellAt(const Image& image, int left, int baseline)
{
    Cell cell;
    for (int row = 0; row < CELL_ROWS; ++row) {
        const int y = baseline + CELL_TOP + row;
        for (int column = 0; column < CELL_WIDTH; ++column) {
            const int x = left + column;
            if (x < 0 || y < 0 || x >= image.width || y >= image.height) {
                continue;
            }
            const unsigned char* pixel = &image.rgb[(static_cast<std::size_t>(y) * image.width + x) * 3];
            cell[static_cast<std::size_t>(row * CELL_WIDTH + column)] = isInk(pixel);
        }
    }
    return cell;
}

// The closest glyph and how many pixels differ from it.
std::pair<char, std::size_t> closestGlyph(const Cell& cell)
{
    std::pair<char, std::size_t> best{'?', SIZE_MAX};
    for (const Glyph& glyph : font()) {
        const std::size_t difference = (cell ^ glyph.pixels).count();
        if (difference < best.second) {
            best = {glyph.character, difference};
        }
    }
    return best;
}

// The text at one exact position, and how badly it fits the font.
std::pair<std::string, std::size_t> readAt(const Image& image, int left, int baseline)
{
    std::string text;
    std::size_t misfit = 0;
    for (int x = left; x + CELL_WIDTH <= image.width; x += CELL_WIDTH) {
        const auto [character, difference] = closestGlyph(cellAt(image, x, baseline));
        misfit += difference;
        text += difference <= MAX_GLYPH_DIFFERENCE ? character : '?';
    }
    text.erase(text.find_last_not_of(' ') + 1);
    return {text, misfit};
}

} // namespace

std::string readHudText(const Image& image, int left, int baseline)
{
    // The raster position may round to the pixel beside the one asked for.
    std::pair<std::string, std::size_t> best{"", SIZE_MAX};
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            auto reading = readAt(image, left + dx, baseline + dy);
            if (reading.second < best.second) {
                best = reading;
            }
        }
    }
    return best.first;
}

std::vector<std::string> readHudLines(const Image& image)
{
    std::vector<std::string> lines;
    for (int baseline = HUD_FIRST_PLAYER_BASELINE; baseline < image.height; baseline += HUD_LINE_SPACING) {
        std::string line = readHudText(image, HUD_LEFT, baseline);
        if (line.empty()) {
            break;
        }
        lines.push_back(line);
    }
    return lines;
}

std::optional<HudAim> readHudAim(const std::string& playerLine)
{
    static const boost::regex AIM(R"(Player: .*\(\S+\) (\S+) (\S+) (\S+) \(.*\))");
    boost::smatch groups;
    if (!boost::regex_match(playerLine, groups, AIM)) {
        return std::nullopt;
    }
    char* end = nullptr;
    HudAim aim;
    double* fields[] = {&aim.yaw, &aim.pitch, &aim.power};
    for (int i = 0; i < 3; ++i) {
        const std::string text = groups[i + 1].str();
        *fields[i] = std::strtod(text.c_str(), &end);
        if (end != text.c_str() + text.size()) {
            return std::nullopt;
        }
    }
    return aim;
}

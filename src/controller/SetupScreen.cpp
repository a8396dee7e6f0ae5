// SPDX-License-Identifier: GPL-3.0-or-later
#include "controller/SetupScreen.h"

#include <GL/freeglut.h>

#include <algorithm>

namespace {

constexpr unsigned char KEY_BACKSPACE = 8;
constexpr unsigned char KEY_ENTER = 13;
constexpr unsigned char KEY_ESCAPE = 27;
constexpr unsigned char KEY_DELETE = 127;

// Column of the values, after the row's label.
constexpr std::size_t LABEL_WIDTH = 13;

std::string padded(std::string text, std::size_t width)
{
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

// Human, then the computer levels from the weakest.
std::string kindName(const std::optional<ComputerLevel>& computer)
{
    return computer ? std::string(levelName(*computer)) + " computer" : std::string("human");
}

std::optional<ComputerLevel> nextKind(const std::optional<ComputerLevel>& computer, int step)
{
    static const std::optional<ComputerLevel> KINDS[] = {std::nullopt, ComputerLevel::easy, ComputerLevel::normal,
                                                         ComputerLevel::hard};
    constexpr int COUNT = 4;
    int index = 0;
    while (index < COUNT && KINDS[index] != computer) {
        ++index;
    }
    return KINDS[std::clamp(index + step, 0, COUNT - 1)];
}

// None, short, full: stopping at either end, as the other rows do.
AimingHelp nextHelp(AimingHelp help, int step)
{
    static const AimingHelp HELPS[] = {AimingHelp::none, AimingHelp::shortPath, AimingHelp::fullPath};
    constexpr int COUNT = 3;
    int index = 0;
    while (index < COUNT && HELPS[index] != help) {
        ++index;
    }
    return HELPS[std::clamp(index + step, 0, COUNT - 1)];
}

std::string sizeText(const BattlefieldSize& size)
{
    return std::string(size.name) + " " + std::to_string(size.width) + " x " + std::to_string(size.depth) + " x "
           + std::to_string(size.height);
}

} // namespace

const std::vector<BattlefieldSize>& SetupScreen::battlefieldSizes()
{
    static const std::vector<BattlefieldSize> SIZES = {
        {"small", 15, 15, 20}, {"medium", 64, 64, 32}, {"large", 128, 128, 64}, {"huge", 256, 256, 61}};
    return SIZES;
}

void SetupScreen::open(const GameSetup& start)
{
    setup = start;
    setup.players = std::clamp(setup.players, MIN_SETUP_PLAYERS, MAX_SETUP_PLAYERS);
    opened = true;
    row = 0;
    customOffered = true;
    for (const BattlefieldSize& size : battlefieldSizes()) {
        if (size.width == setup.width && size.depth == setup.depth && size.height == setup.height) {
            customOffered = false;
        }
    }
    custom = {"custom", setup.width, setup.depth, setup.height};
}

void SetupScreen::close()
{
    opened = false;
}

bool SetupScreen::isOpen() const
{
    return opened;
}

const GameSetup& SetupScreen::getSetup() const
{
    return setup;
}

int SetupScreen::getRow() const
{
    return row;
}

int SetupScreen::getRowCount() const
{
    // Casters, a row per caster, battlefield, wind, aiming help, start.
    return setup.players + 5;
}

SetupScreen::RowKind SetupScreen::rowKind(int index) const
{
    if (index == 0) {
        return RowKind::casters;
    }
    if (index <= setup.players) {
        return RowKind::seat;
    }
    static const RowKind LAST[] = {RowKind::battlefield, RowKind::wind, RowKind::aimingHelp, RowKind::start};
    return LAST[index - setup.players - 1];
}

std::vector<BattlefieldSize> SetupScreen::offeredSizes() const
{
    std::vector<BattlefieldSize> sizes;
    if (customOffered) {
        sizes.push_back(custom);
    }
    sizes.insert(sizes.end(), battlefieldSizes().begin(), battlefieldSizes().end());
    return sizes;
}

int SetupScreen::chosenSize() const
{
    const std::vector<BattlefieldSize> sizes = offeredSizes();
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (sizes[i].width == setup.width && sizes[i].depth == setup.depth && sizes[i].height == setup.height) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

void SetupScreen::change(int step)
{
    switch (rowKind(row)) {
    case RowKind::casters:
        setup.players = std::clamp(setup.players + step, MIN_SETUP_PLAYERS, MAX_SETUP_PLAYERS);
        break;
    case RowKind::seat: {
        SeatSetup& seat = setup.seats[static_cast<std::size_t>(row - 1)];
        seat.computer = nextKind(seat.computer, step);
        break;
    }
    case RowKind::battlefield: {
        const std::vector<BattlefieldSize> sizes = offeredSizes();
        const int chosen = std::clamp(chosenSize() + step, 0, static_cast<int>(sizes.size()) - 1);
        setup.width = sizes[static_cast<std::size_t>(chosen)].width;
        setup.depth = sizes[static_cast<std::size_t>(chosen)].depth;
        setup.height = sizes[static_cast<std::size_t>(chosen)].height;
        break;
    }
    case RowKind::wind:
        setup.wind = !setup.wind;
        break;
    case RowKind::aimingHelp:
        setup.aimingHelp = nextHelp(setup.aimingHelp, step);
        break;
    case RowKind::start:
        break;
    }
}

SetupScreen::Answer SetupScreen::keyboard(unsigned char key)
{
    if (!opened) {
        return Answer::stay;
    }
    if (key == KEY_ENTER) {
        // A blank typed last is no part of the name.
        for (SeatSetup& seat : setup.seats) {
            seat.name.erase(seat.name.find_last_not_of(' ') + 1);
        }
        return Answer::start;
    }
    if (key == KEY_ESCAPE) {
        return Answer::close;
    }
    if (rowKind(row) != RowKind::seat) {
        return Answer::stay;
    }
    std::string& name = setup.seats[static_cast<std::size_t>(row - 1)].name;
    if (key == KEY_BACKSPACE || key == KEY_DELETE) {
        if (!name.empty()) {
            name.pop_back();
        }
    } else if (isNameCharacter(static_cast<char>(key)) && name.size() < MAX_NAME_LENGTH
               && !(key == ' ' && name.empty())) {
        name += static_cast<char>(key);
    }
    return Answer::stay;
}

SetupScreen::Answer SetupScreen::specialKeyboard(int key)
{
    if (!opened) {
        return Answer::stay;
    }
    switch (key) {
    case GLUT_KEY_F2:
        return Answer::close;
    case GLUT_KEY_UP:
        row = std::max(row - 1, 0);
        break;
    case GLUT_KEY_DOWN:
        row = std::min(row + 1, getRowCount() - 1);
        break;
    case GLUT_KEY_LEFT:
        change(-1);
        break;
    case GLUT_KEY_RIGHT:
        change(1);
        break;
    default:
        break;
    }
    // Fewer casters may leave the row past the last one.
    row = std::min(row, getRowCount() - 1);
    return Answer::stay;
}

std::vector<std::string> SetupScreen::getLines() const
{
    std::vector<std::string> lines;
    for (int index = 0; index < getRowCount(); ++index) {
        std::string text;
        switch (rowKind(index)) {
        case RowKind::casters:
            text = padded("Casters", LABEL_WIDTH) + "< " + std::to_string(setup.players) + " >";
            break;
        case RowKind::seat: {
            const SeatSetup& seat = setup.seats[static_cast<std::size_t>(index - 1)];
            std::string name = seat.name.empty() ? "(random name)" : seat.name;
            if (index == row && !seat.name.empty() && seat.name.size() < MAX_NAME_LENGTH) {
                name = seat.name + "_";
            }
            text = padded("Caster " + std::to_string(index), LABEL_WIDTH) + padded(name, MAX_NAME_LENGTH + 1) + "< "
                   + kindName(seat.computer) + " >";
            break;
        }
        case RowKind::battlefield:
            text = padded("Battlefield", LABEL_WIDTH) + "< " + sizeText(offeredSizes()[chosenSize()]) + " >";
            break;
        case RowKind::wind:
            text = padded("Wind", LABEL_WIDTH) + "< " + (setup.wind ? "on" : "off") + " >";
            break;
        case RowKind::aimingHelp:
            text = padded("Aiming help", LABEL_WIDTH) + "< " + aimingHelpName(setup.aimingHelp) + " >";
            break;
        case RowKind::start:
            text = "Start";
            break;
        }
        lines.push_back((index == row ? "> " : "  ") + text);
    }
    return lines;
}

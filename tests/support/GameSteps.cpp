// SPDX-License-Identifier: GPL-3.0-or-later
// The end-to-end tests' way of playing: a key, then the game's answer to it,
// read from standard output or from the overlay, before the next key.
#include "support/GameSteps.h"

#include <cmath>

#include "platform/PngWriter.h"

namespace {

using Clock = std::chrono::steady_clock;

// Rows of the window that hold the overlay's player and spell lines.
constexpr int HUD_HEIGHT = HUD_FIRST_PLAYER_BASELINE + 9 * HUD_LINE_SPACING;

// Between two looks at the window.
constexpr std::chrono::milliseconds LOOK_INTERVAL{25};

// The rows of the window that hold the turn line.
constexpr int TURN_LINE_TOP = 32;
constexpr int TURN_LINE_BOTTOM = 54;

// Held keys stop this many steps before the target; taps do the rest.
constexpr double HOLD_MARGIN = 3;

std::optional<HudLines> readHud(GameProcess& game)
{
    auto image = game.grab(0, 0, 0, HUD_HEIGHT);
    if (!image) {
        return std::nullopt;
    }
    return readHudLines(*image);
}

std::optional<HudAim> aimOfLine(const HudLines& lines, int player)
{
    if (player < 0 || static_cast<std::size_t>(player) >= lines.size()) {
        return std::nullopt;
    }
    return readHudAim(lines[static_cast<std::size_t>(player)]);
}

bool near(double a, double b)
{
    return std::fabs(a - b) < 1e-6;
}

// The next key towards the target, its step and how far the target is in
// steps: the turn first, then the elevation, then the power.
struct Move {
    std::string key;
    double HudAim::*field;
    double step;
    double steps;
};

std::optional<Move> nextMove(const HudAim& aim, const HudAim& target)
{
    if (!near(aim.yaw, target.yaw)) {
        const double difference = target.yaw - aim.yaw;
        if (std::fabs(difference) >= 10) {
            return Move{difference < 0 ? "Left" : "Right", &HudAim::yaw, 10, std::fabs(difference) / 10};
        }
        return Move{difference < 0 ? "bracketleft" : "bracketright", &HudAim::yaw, 1, std::fabs(difference)};
    }
    if (!near(aim.pitch, target.pitch)) {
        const double difference = target.pitch - aim.pitch;
        return Move{difference < 0 ? "Down" : "Up", &HudAim::pitch, 1, std::fabs(difference)};
    }
    if (!near(aim.power, target.power)) {
        const double difference = target.power - aim.power;
        return Move{difference < 0 ? "Page_Down" : "Page_Up", &HudAim::power, 0.1, std::fabs(difference) / 0.1};
    }
    return std::nullopt;
}

} // namespace

std::optional<HudLines> waitForHud(GameProcess& game, const std::function<bool(const HudLines&)>& wanted,
                                   std::chrono::seconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline && game.running()) {
        auto lines = readHud(game);
        if (lines && wanted(*lines)) {
            return lines;
        }
        game.pause(LOOK_INTERVAL);
    }
    return std::nullopt;
}

std::optional<Image> grabUntil(GameProcess& game, const std::string& fileName,
                               const std::function<bool(const Image&)>& wanted)
{
    const auto deadline = Clock::now() + E2E_TIMEOUT;
    while (Clock::now() < deadline && game.running()) {
        auto image = game.grab();
        if (image && wanted(*image)) {
            writePng(artifactPath(fileName), image->width, image->height, image->rgb, 3, false);
            return image;
        }
        game.pause(LOOK_INTERVAL);
    }
    return std::nullopt;
}

int turnLineGold(const Image& image)
{
    int count = 0;
    for (int row = TURN_LINE_TOP; row <= TURN_LINE_BOTTOM && row < image.height; ++row) {
        for (int x = 200; x < 600 && x < image.width; ++x) {
            const unsigned char* p = &image.rgb[(static_cast<std::size_t>(row) * image.width + x) * 3];
            count += p[0] > 240 && p[1] > 200 && p[1] < 230 && p[2] < 80 ? 1 : 0;
        }
    }
    return count;
}

bool waitForTurnLine(GameProcess& game, bool shown)
{
    const auto deadline = Clock::now() + E2E_TIMEOUT;
    while (Clock::now() < deadline && game.running()) {
        const auto image = game.grab(0, 0, 0, TURN_LINE_BOTTOM + 1);
        // A hundred gold pixels are a few letters of a name.
        if (image && (turnLineGold(*image) > 100) == shown) {
            return true;
        }
        game.pause(LOOK_INTERVAL);
    }
    return false;
}

std::optional<HudAim> shownAim(GameProcess& game, int player)
{
    auto lines = waitForHud(game, [player](const HudLines& shown) { return aimOfLine(shown, player).has_value(); });
    return lines ? aimOfLine(*lines, player) : std::nullopt;
}

bool aimTo(GameProcess& game, int player, HudAim target)
{
    const auto deadline = Clock::now() + 4 * E2E_TIMEOUT;
    while (Clock::now() < deadline) {
        const std::optional<HudAim> aim = shownAim(game, player);
        if (!aim) {
            return false;
        }
        const std::optional<Move> move = nextMove(*aim, target);
        if (!move) {
            return true;
        }
        auto changed = [&](const HudLines& lines) {
            auto now = aimOfLine(lines, player);
            return now && !(*now == *aim);
        };
        if (move->steps > 2 * HOLD_MARGIN) {
            // Far: hold the key until the value is a few steps short of the
            // target (or past it, on a slow frame), then let go.
            const double goal = target.*(move->field);
            const double start = (*aim).*(move->field);
            auto closeEnough = [&](const HudLines& lines) {
                auto now = aimOfLine(lines, player);
                if (!now) {
                    return false;
                }
                const double value = (*now).*(move->field);
                return std::fabs(goal - value) <= HOLD_MARGIN * move->step || (goal - value) * (goal - start) < 0;
            };
            game.keyDown(move->key);
            waitForHud(game, closeEnough);
            game.keyUp(move->key);
        } else {
            game.key(move->key);
        }
        // A press that came while the game could not take it (or a lost
        // one) shows no change: the loop reads again and presses again.
        waitForHud(game, changed, std::chrono::seconds(5));
    }
    return false;
}

bool chooseSpell(GameProcess& game, const std::string& key, const std::string& spell)
{
    const std::string line = "Weapon: " + spell;
    auto named = [&line](const HudLines& lines) { return !lines.empty() && lines.back() == line; };
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!game.key(key)) {
            return false;
        }
        if (waitForHud(game, named, std::chrono::seconds(10))) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> fireWhenReady(GameProcess& game)
{
    const auto deadline = Clock::now() + E2E_TIMEOUT;
    while (Clock::now() < deadline && game.running()) {
        game.key("Return");
        if (auto line = game.waitForMatch("Dead Players: [0-9]+", std::chrono::seconds(1))) {
            return line;
        }
    }
    return std::nullopt;
}

bool runConsoleLine(GameProcess& game, const std::string& line)
{
    return game.key("grave") && game.waitForLine("Console ON") && game.type(line) && game.key("Return")
           && game.waitForLine("Controller: " + line);
}

std::string outputTail(GameProcess& game)
{
    const auto& lines = game.outputLines();
    std::string text;
    for (std::size_t i = lines.size() > 40 ? lines.size() - 40 : 0; i < lines.size(); ++i) {
        text += lines[i] + "\n";
    }
    return text;
}

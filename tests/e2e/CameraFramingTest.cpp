// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic camera on the real binary: at every turn start of a seeded
// four-caster game the picture shows the battlefield, not the void past its
// edge, and the caster large enough to see. The caster is painted magenta
// (KESTRUNE_MARK_CASTER) so that its pixels can be counted.
#include <fstream>

#include <gtest/gtest.h>

#include "support/GameProcess.h"
#include "support/GameSteps.h"
#include "view/CameraDirector.h"

namespace {

constexpr int WINDOW_PIXELS = 800 * 600;
// A little more than the automatic camera's glide, in milliseconds.
constexpr double GLIDE_TIME = CameraDirector::GLIDE_LENGTH * 1.25;

// Milliseconds of the frames drawn so far, from the frame log.
double timeDrawn(const std::string& frameLog)
{
    std::ifstream in(frameLog);
    double drawn = 0.0;
    for (double time = 0.0; in >> time;) {
        drawn += time;
    }
    return drawn;
}

// Neither the black past the battlefield's edge nor the overlay's white and
// gold letters.
bool battlefield(int r, int g, int b)
{
    const bool dark = r <= 12 && g <= 12 && b <= 12;
    const bool letter = (r > 200 && g > 200 && b > 200) || (r > 150 && g > 150 && b < 80);
    return !dark && !letter;
}

bool casterMark(int r, int g, int b)
{
    return r == 255 && g == 0 && b == 255;
}

// The turn once the camera has arrived: the turn line shows as the shot
// before has been seen and the glide starts; the game then draws frames for
// longer than the glide.
std::optional<Image> turnShown(GameProcess& game, const std::string& frameLog, const std::string& fileName)
{
    if (!waitForTurnLine(game, true)) {
        return std::nullopt;
    }
    const double start = timeDrawn(frameLog);
    return grabUntil(game, fileName, [&](const Image& image) {
        return timeDrawn(frameLog) > start + GLIDE_TIME && turnLineGold(image) > 100;
    });
}

} // namespace

TEST(EndToEndCamera, EveryTurnStartShowsTheBattlefieldAndTheCaster)
{
    const std::string frameLog = artifactPath("camera-frames.log");
    GameProcess game({"--seed", "8"}, "", {"KESTRUNE_MARK_CASTER=1", "KESTRUNE_FRAME_LOG=" + frameLog});
    ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();
    for (int turn = 1; turn <= 4; ++turn) {
        if (turn > 1) {
            // Enter casts and passes the turn; the turn line goes meanwhile.
            ASSERT_TRUE(fireWhenReady(game).has_value()) << outputTail(game);
            ASSERT_TRUE(waitForTurnLine(game, false));
        }
        const std::string fileName = "camera-turn-" + std::to_string(turn) + ".png";
        const auto picture = turnShown(game, frameLog, fileName);
        ASSERT_TRUE(picture.has_value()) << "turn " << turn << " never showed\n" << outputTail(game);
        const double filled = static_cast<double>(picture->count(battlefield)) / WINDOW_PIXELS;
        const double caster = static_cast<double>(picture->count(casterMark)) / WINDOW_PIXELS;
        std::cerr << "turn " << turn << ": battlefield " << filled << ", caster " << caster << std::endl;
        EXPECT_GE(filled, 0.6) << fileName;
        EXPECT_GE(caster, 0.005) << fileName;
    }
    ASSERT_TRUE(game.key("Escape"));
    EXPECT_EQ(game.waitForExit(), 0);
}

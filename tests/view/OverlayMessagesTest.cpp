// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/HudText.h"
#include "view/ViewFixture.h"

namespace {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;

// The overlay's chat, countdown and waiting line drawn over black into an
// 800 x 600 picture, rows from the top.
class OverlayMessagesTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        printed([&] { view->reshape(WIDTH, HEIGHT); });
    }

    Image draw()
    {
        OffscreenTarget target(WIDTH, HEIGHT);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        // As the frame leaves it for the overlay.
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        const ViewOverlay& overlay = view->getOverlay();
        overlay.setOrthographicProjection();
        glPushMatrix();
        glLoadIdentity();
        overlay.displayMessages();
        overlay.displayTurnCountdown();
        overlay.displayWaitingLine();
        glPopMatrix();
        overlay.resetPerspectiveProjection();
        EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
        const std::vector<unsigned char> rows = target.pixels();
        Image image{WIDTH, HEIGHT, {}};
        for (int row = HEIGHT - 1; row >= 0; --row) {
            image.rgb.insert(image.rgb.end(), rows.begin() + row * WIDTH * 3, rows.begin() + (row + 1) * WIDTH * 3);
        }
        return image;
    }

    // Pixels near the countdown's centre that pass the test.
    template <typename Test>
    int aroundCountdown(const Image& image, Test test) const
    {
        const ViewOverlay::Point centre = view->getOverlay().getCountdownCentre();
        int count = 0;
        for (int y = centre.y - 20; y <= centre.y + 20; ++y) {
            for (int x = centre.x - 20; x <= centre.x + 20; ++x) {
                const unsigned char* p = &image.rgb[(static_cast<std::size_t>(y) * WIDTH + x) * 3];
                count += test(p[0], p[1], p[2]) ? 1 : 0;
            }
        }
        return count;
    }
};

bool red(int r, int g, int b)
{
    return r > 200 && g < 100 && b < 100;
}

bool white(int r, int g, int b)
{
    return r > 200 && g > 200 && b > 200;
}

} // namespace

TEST_F(OverlayMessagesTest, ChatTheCountdownAndTheWaitingLineAppearWhenThereIsSomethingToShow)
{
    ViewOverlay& overlay = view->getOverlay();
    const Image nothing = draw();
    EXPECT_EQ(nothing.count([](int r, int g, int b) { return r + g + b > 0; }), 0);

    overlay.addChatLine("Ada", "hello");
    overlay.addNotice("Bo has gone");
    overlay.setTurnCountdown(3500);
    overlay.setWaitingLine("Waiting for 2 players \u2014 192.168.1.5:27415");
    const Image shown = draw();
    // Above the key hint, the newest line last.
    EXPECT_EQ(readHudText(shown, 5, 537), "Ada: hello");
    EXPECT_EQ(readHudText(shown, 5, 553), "Bo has gone");
    EXPECT_GT(aroundCountdown(shown, red), 40);
    const int middleRow = HEIGHT / 2 * WIDTH * 3;
    EXPECT_EQ(shown.rgb[middleRow], 0);
    EXPECT_GT(shown.rgb[middleRow + 2], 0); // the dark band
    Image band{WIDTH, 20, {shown.rgb.begin() + (HEIGHT / 2 - 12) * WIDTH * 3, shown.rgb.begin() + (HEIGHT / 2 + 8) * WIDTH * 3}};
    EXPECT_GT(band.count(white), 150);

    // Over four seconds left the count is white; over ten, and eight seconds
    // after the chat, nothing is left of either.
    overlay.setTurnCountdown(6000);
    EXPECT_EQ(aroundCountdown(draw(), red), 0);
    EXPECT_GT(aroundCountdown(draw(), white), 40);
    overlay.setTurnCountdown(10001);
    overlay.setWaitingLine("");
    clocks.clock.advance(ViewOverlay::MESSAGE_SHOWN_FOR);
    EXPECT_EQ(draw().count([](int r, int g, int b) { return r + g + b > 0; }), 0);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "controller/ControllerFixture.h"

namespace {

// One idle step of the controller, its printing kept out of the test's output.
class TurnClockTest : public ControllerTest {
protected:
    void idle()
    {
        printed([&] { controller->idle(); });
    }
};

} // namespace

TEST_F(TurnClockTest, ARunOutClockPassesTheTurnWithoutACastAndNotBefore)
{
    TurnClock& turnClock = controller->getTurnClock();
    EXPECT_FALSE(turnClock.remaining());
    EXPECT_EQ(keys("`set turntime -1\r")[2],
              "Controller: turn time -1 refused: it must be a number of seconds from 0 (no limit) to 3600");
    EXPECT_EQ(keys("`set turntime 5\r")[2], "Turn time set to 5 seconds");
    idle();
    clocks.clock.advance(4999);
    idle();
    EXPECT_EQ(game->getCurrentPlayer(), 0);
    EXPECT_EQ(turnClock.remaining(), 1L);
    EXPECT_EQ(view->getOverlay().getTurnCountdown(), 1L);

    clocks.clock.advance(1);
    idle();
    EXPECT_EQ(game->getCurrentPlayer(), 1);
    EXPECT_TRUE(shots.spells.empty());
    idle();
    EXPECT_EQ(turnClock.remaining(), 5000L);

    // A client's clock counts what the server says and leaves the pass to it.
    turnClock.setPassesTurn(false);
    turnClock.restart(1, 300);
    clocks.clock.advance(400);
    idle();
    EXPECT_EQ(game->getCurrentPlayer(), 1);
    EXPECT_EQ(turnClock.remaining(), 0L);
}

TEST_F(TurnClockTest, ALineSaidGoesToTheChatSinkOrElseToTheOverlay)
{
    keys("`say  Hello there \r");
    EXPECT_EQ(view->getOverlay().getShownMessages(), Lines{model->getPlayer(0).getName() + ": Hello there"});
    std::vector<std::string> sent;
    controller->setChatSink([&](const std::string& text) { sent.push_back(text); });
    keys("`say caf\xe9\r");
    EXPECT_EQ(sent, Lines{"caf\xc3\xa9"});
    EXPECT_EQ(keys("`say \x1b\r")[2], "Controller: say refused: there is nothing to say");
}

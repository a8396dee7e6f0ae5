// SPDX-License-Identifier: GPL-3.0-or-later
// A view on a scripted clock inside the test GL window, with helpers to feed it
// maps and to capture what it prints.
#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "scene/graphicnode.h"
#include "support/GlFixture.h"
#include "support/RecordingAnimation.h"
#include "support/TestGrid.h"
#include "view/ArenaView.h"

class ViewTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        testing::internal::CaptureStdout();
        view = std::make_unique<ArenaView>(clocks.time);
        testing::internal::GetCapturedStdout();
        view->initialize();
    }
    void TearDown() override
    {
        view.reset();
        GlTest::TearDown();
    }

    // The lines a call printed.
    template <typename Call>
    std::vector<std::string> printed(Call call)
    {
        testing::internal::CaptureStdout();
        call();
        std::istringstream text(testing::internal::GetCapturedStdout());
        std::vector<std::string> lines;
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    std::vector<std::string> newMap(TestGrid& grid, int width, int depth, int height,
                                    Vector wind = Vector())
    {
        return printed([&] { view->onNewMap(width, depth, height, grid.terrain(), wind); });
    }

    Clocks clocks;
    std::unique_ptr<ArenaView> view;
};

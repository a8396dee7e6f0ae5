// SPDX-License-Identifier: GPL-3.0-or-later
// The game's model, view and controller wired as the entry point wires them,
// on a seeded battlefield in the test GL window, with a recorder of the casts.
#pragma once

#include <GL/freeglut.h>

#include <algorithm>
#include <memory>

#include "app/Main.h"
#include "controller/ArenaController.h"
#include "game/Game.h"
#include "model/ArenaModel.h"
#include "model/Meteor.h"
#include "model/RadiusBomb.h"
#include "model/VerticalStrike.h"
#include "replay/ReplayPlayback.h"
#include "support/RecordingListener.h"
#include "support/ScriptedRandom.h"
#include "view/ViewFixture.h"

using Lines = std::vector<std::string>;

// Remembers what kind of spell each shot was, and a radius bomb's radius.
class SpellRecorder : public RecordingListener {
public:
    void onProjectile(int playerId, Projectile* projectile, std::list<Vector>& trajectory,
                      std::set<Vector>& removedBlocks, std::map<Vector, int>& fallingBlocks,
                      std::map<int, int>& playerFalls, std::map<int, double>& damages,
                      std::set<int>& killedPlayers) override
    {
        RecordingListener::onProjectile(playerId, projectile, trajectory, removedBlocks, fallingBlocks,
                                        playerFalls, damages, killedPlayers);
        if (auto* bomb = dynamic_cast<RadiusBomb*>(projectile)) {
            spells.push_back("fireball " + std::to_string(bomb->getRadius()));
        } else if (dynamic_cast<Meteor*>(projectile) != nullptr) {
            spells.push_back("meteor");
        } else if (dynamic_cast<VerticalStrike*>(projectile) != nullptr) {
            spells.push_back("cyclone");
        } else {
            spells.push_back("nova");
        }
    }
    std::vector<std::string> spells;
};

// The game's three objects wired as the entry point wires them, on a seeded
// battlefield, in the test GL window.
class ControllerTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        Main::seedRandom(31);
        model = std::make_unique<ArenaModel>(players(), 15, 15, 20, RandomStream(31));
        game = std::make_unique<Game>(*model);
        controller = std::make_unique<ArenaController>(*game, *view, clocks.time);
        model->addListener(view.get());
        model->addListener(controller.get());
        model->addListener(&shots);
        printed([&] {
            view->reshape(GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE);
            model->reset();
            controller->initialize(400, 100);
            controller->reshape(GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE);
        });
    }
    void TearDown() override
    {
        controller.reset();
        ViewTest::TearDown();
        game.reset();
        model.reset();
    }
    virtual int players() const { return 4; }

    Lines keys(const std::string& typed)
    {
        return printed([&] {
            for (char key : typed) {
                controller->keyboard(static_cast<unsigned char>(key));
            }
        });
    }
    Lines special(int key, int times = 1)
    {
        return printed([&] {
            for (int i = 0; i < times; ++i) {
                controller->specialKeyboard(key);
            }
        });
    }
    // Lets the view play everything out, a frame at a time.
    void waitForTheShot()
    {
        for (int frame = 0; frame < 200 && view->isAnimating(); ++frame) {
            clocks.clock.advance(100);
            printed([&] {
                view->renderTerrain();
                view->renderAnimations();
            });
        }
        ASSERT_FALSE(view->isAnimating());
    }

    std::unique_ptr<ArenaModel> model;
    std::unique_ptr<Game> game; // listens to the model before the others
    std::unique_ptr<ArenaController> controller;
    SpellRecorder shots;
};

class TwoPlayers : public ControllerTest {
protected:
    int players() const override { return 2; }
};

class NoPlayers : public ControllerTest {
protected:
    int players() const override { return 0; }
};

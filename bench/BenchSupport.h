// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the benchmarks: a hidden GL window for the drawing ones, and a
// way to keep the game's diagnostic lines out of the report.
#pragma once

#include <GL/freeglut.h>

#include <cstdlib>
#include <iostream>
#include <sstream>

#include "app/Main.h"
#include "game/RandomStream.h"
#include "math/TimeSystem.h"
#include "model/ArenaModel.h"
#include "view/ArenaView.h"

constexpr int FRAME_WIDTH = 800;
constexpr int FRAME_HEIGHT = 600;

// False without a display (run the benchmarks under xvfb-run).
inline bool openBenchWindow()
{
    static int window = 0;
    if (window == 0) {
        if (std::getenv("DISPLAY") == nullptr) {
            return false;
        }
        int argc = 1;
        char name[] = "kestrune_bench";
        char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
        glutInitWindowSize(FRAME_WIDTH, FRAME_HEIGHT);
        window = glutCreateWindow("kestrune bench");
    }
    glutSetWindow(window);
    return true;
}

// Standard output goes nowhere while one of these lives.
class Silence {
public:
    Silence()
        : previous(std::cout.rdbuf(sink.rdbuf()))
    {
    }
    ~Silence() { std::cout.rdbuf(previous); }
    Silence(const Silence&) = delete;
    Silence& operator=(const Silence&) = delete;

private:
    std::ostringstream sink;
    std::streambuf* previous;
};

// A seeded game of four on a side x side x height battlefield and its view,
// quiet. The battlefield is built by the caller's model.reset().
struct SeededViewGame {
    SeededViewGame(int side, int height)
        : model(4, side, side, height, RandomStream(2006)), view(clock)
    {
        clock.play();
        model.addListener(&view);
    }

    // Seeded before the model draws its players' names.
    struct Seed {
        Seed() { Main::seedRandom(2006); }
    } seed;
    Silence silence;
    TimeSystem clock;
    ArenaModel model;
    ArenaView view;
};

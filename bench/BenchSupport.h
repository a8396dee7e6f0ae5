// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the benchmarks: a hidden GL window for the drawing ones, and a
// way to keep the game's diagnostic lines out of the report.
#pragma once

#include <GL/freeglut.h>

#include <cstdlib>
#include <iostream>
#include <sstream>

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

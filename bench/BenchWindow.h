// A hidden 800 x 600 GL window for the drawing benchmarks, opened once.
#pragma once

#include <GL/freeglut.h>

#include <cstdlib>

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

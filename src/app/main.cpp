// Kestrune's entry: reads the command line, opens the window (or the full
// screen), registers the GLUT callbacks and runs the main loop.
#include <GL/freeglut.h>

#include <cstdlib>
#include <iostream>

#include "app/CommandLine.h"
#include "app/KeyPolling.h"
#include "app/Main.h"
#include "math/TimeSystem.h"

namespace {

// The view's clock: animations and frame counting run on it.
TimeSystem viewTimer;
KeyPolling keys(Main::timer);

void quit()
{
    std::cout << "Quitting" << std::endl;
    if (Main::windowId != 0) {
        glutDestroyWindow(Main::windowId);
    } else {
        glutLeaveGameMode();
    }
    std::exit(0);
}

// Stands in for the game's controller until it exists: Escape quits.
class ShellKeys : public KeyReceiver {
public:
    void keyboard(unsigned char key) override
    {
        if (key == 27) {
            quit();
        }
    }
    void specialKeyboard(int) override {}
    bool isKeyFastRepeat(unsigned char) override { return false; }
    bool isKeyFastRepeat(int) override { return true; }
};

ShellKeys shellKeys;

void display()
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}

void keyboard(unsigned char key, int, int)
{
    keys.keyboard(key);
}

void specialKeyboard(int key, int, int)
{
    keys.specialKeyboard(key);
}

void keyboardUp(unsigned char key, int, int)
{
    keys.keyboardUp(key);
}

void specialKeyboardUp(int key, int, int)
{
    keys.specialKeyboardUp(key);
}

void idle()
{
    keys.idle(shellKeys, [] { glutForceJoystickFunc(); }, [] { glutPostRedisplay(); }, std::cerr);
}

void reshape(int width, int height)
{
    glViewport(0, 0, width, height);
}

void mousePassiveMotion(int, int) {}

void mouseEntry(int) {}

void joystick(unsigned int, int, int, int) {}

// Full screen when asked and possible; a window otherwise. Without a window
// freeglut cannot register callbacks, so a failed game mode falls back.
void openWindow(const CommandLine& options)
{
    if (options.fullscreen) {
        glutGameModeString(gameModeString(options).c_str());
        glutEnterGameMode();
        if (glutGameModeGet(GLUT_GAME_MODE_ACTIVE)) {
            return;
        }
        std::cerr << "kestrune: full screen " << gameModeString(options)
                  << " is not available here; opening a window instead" << std::endl;
        Main::fullscreen = false;
    }
    glutInitWindowSize(options.width, options.height);
    glutInitWindowPosition(options.x, options.y);
    Main::windowId = glutCreateWindow("Kestrune");
}

void registerCallbacks()
{
    glutDisplayFunc(display);
    glutKeyboardFunc(keyboard);
    glutSpecialFunc(specialKeyboard);
    glutIdleFunc(idle);
    glutReshapeFunc(reshape);
    glutPassiveMotionFunc(mousePassiveMotion);
    glutEntryFunc(mouseEntry);
    glutKeyboardUpFunc(keyboardUp);
    glutSpecialUpFunc(specialKeyboardUp);
    glutJoystickFunc(joystick, JOYSTICK_POLL_INTERVAL);
}

} // namespace

int main(int argc, char** argv)
{
    // Before glutInit, which needs a display.
    if (wantsHelp(argc, argv)) {
        printUsage(std::cout);
        return 0;
    }
    glutInit(&argc, argv);
    CommandLine options = parseCommandLine(argc, argv, std::cerr);
    Main::fullscreen = options.fullscreen;
    if (options.seedGiven) {
        Main::seedRandom(options.seed);
    }
    std::cout << startupLine(options) << std::endl;

    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    openWindow(options);
    registerCallbacks();

    Main::timer.play();
    viewTimer.play();
    glutMainLoop();
    return 0;
}

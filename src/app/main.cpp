// SPDX-License-Identifier: GPL-3.0-or-later
// Kestrune's entry: the game's long-lived objects, the command line, the window
// (or the full screen), the GLUT callbacks and the main loop. The callbacks only
// record or forward their events; the model, the view and the controller act.
#include <GL/freeglut.h>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <numeric>
#include <vector>

#include "app/CommandLine.h"
#include "app/KeyPolling.h"
#include "app/Main.h"
#include "audio/OpenAlSoundPlayer.h"
#include "controller/ArenaController.h"
#include "math/TimeSystem.h"
#include "model/ArenaModel.h"
#include "platform/GraphicsLibraries.h"
#include "platform/ResourcePath.h"
#include "settings/GameSetup.h"
#include "settings/SettingsFile.h"
#include "view/ArenaView.h"

namespace {

// The game's long-lived objects, constructed in this order once main has
// answered --help and --version and read the set-up, destroyed in the reverse
// order at exit. The first set-up: four players on a grid 15 wide, 15 deep
// and 20 high.
struct Game {
    explicit Game(const GameSetup& setup)
        : model(setup.players, setup.width, setup.depth, setup.height)
    {
    }
    ArenaModel model;
    // What the view is heard through, once the data folder is known; it
    // outlives the view.
    std::unique_ptr<OpenAlSoundPlayer> sound;
    // The view's clock: animations and frame counting run on it.
    TimeSystem viewTimer;
    ArenaView view{viewTimer};
    ArenaController controller{model, view, Main::timer};
    KeyPolling keys{Main::timer};
};
Game* game = nullptr; // not owned: main's own, which lives until exit

// Hands polled keys to the controller.
class ControllerKeys : public KeyReceiver {
public:
    void keyboard(unsigned char key) override { game->controller.keyboard(key); }
    void specialKeyboard(int key) override { game->controller.specialKeyboard(key); }
    bool isKeyFastRepeat(unsigned char key) override { return game->controller.isKeyFastRepeat(key); }
    bool isKeyFastRepeat(int key) override { return game->controller.isKeyFastRepeat(key); }
    bool isTyping() override { return game->controller.isTyping(); }
    bool opensTyping(unsigned char key) override { return game->controller.opensConsole(key); }
};

ControllerKeys controllerKeys;

void display()
{
    game->view.renderScene();
}

void keyboard(unsigned char key, int, int)
{
    game->keys.keyboard(key);
}

void specialKeyboard(int key, int, int)
{
    game->keys.specialKeyboard(key);
}

void keyboardUp(unsigned char key, int, int)
{
    game->keys.keyboardUp(key);
}

void specialKeyboardUp(int key, int, int)
{
    game->keys.specialKeyboardUp(key);
}

void idle()
{
    // The computer players first: a spell they put back for the humans is
    // the one this step's keys cast.
    try {
        game->controller.idle();
    } catch (const std::exception& error) {
        std::cerr << error.what() << std::endl;
    }
    game->keys.idle(controllerKeys, [] { glutForceJoystickFunc(); }, [] { glutPostRedisplay(); }, std::cerr);
}

void reshape(int width, int height)
{
    game->view.reshape(width, height);
    game->controller.reshape(width, height);
}

void mousePassiveMotion(int x, int y)
{
    game->controller.mousePassiveMotion(x, y);
}

void mouseButton(int button, int state, int, int)
{
    game->controller.mouseButton(button, state);
}

void mouseEntry(int state)
{
    game->controller.mouseEntry(state);
}

void joystick(unsigned int buttons, int x, int y, int z)
{
    game->controller.joystick(buttons, x, y, z);
}

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

// Says where the data came from when it is not the usual ./res, and which
// folders were tried when none held it.
void reportDataFolder()
{
    const std::string& folder = game->view.getDataFolder();
    if (folder.empty()) {
        std::cerr << "kestrune: the game's data files were not found; looked in:";
        for (const std::string& tried : game->view.getDataFolderSearch()) {
            std::cerr << " " << tried;
        }
        std::cerr << std::endl;
    } else if (folder != "./res") {
        std::cerr << "kestrune: game data from " << folder << std::endl;
    }
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
    glutMouseFunc(mouseButton);
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
    if (wantsVersion(argc, argv)) {
        std::cout << versionLine() << std::endl;
        return 0;
    }
    glutInit(&argc, argv);
    CommandLine options = parseCommandLine(argc, argv, std::cerr);
    Main::fullscreen = options.fullscreen;
    // The remembered set-up, then the options over it.
    GameSetup setup;
    const SettingsFile settings(SettingsFile::defaultPath());
    if (options.settings) {
        settings.read(setup, std::cerr);
    }
    applyCommandLine(options, setup, std::cerr);

    static Game theGame(setup);
    game = &theGame;
    if (options.seedGiven) {
        Main::seedRandom(options.seed);
        // The players were named before the seed was known: name them again
        // from it, so that the whole game follows from the seed.
        game->model.initPlayers();
    }
    game->model.setWindEnabled(setup.wind);
    for (int id = 0; id < setup.players; ++id) {
        const std::string& name = setup.seats[static_cast<std::size_t>(id)].name;
        if (!name.empty()) {
            game->model.renamePlayer(id, name);
        }
    }
    std::cout << startupLine(options) << std::endl;
    if (!options.dataDir.empty()) {
        game->view.loadResources(dataFolderCandidates(options.dataDir));
    }
    reportDataFolder();
    const std::string& dataFolder = game->view.getDataFolder();
    game->sound = std::make_unique<OpenAlSoundPlayer>(dataFolder.empty() ? "" : dataFolder + "/sounds", std::cerr,
                                                      !options.mute);
    game->view.setSoundPlayer(game->sound.get());

    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    openWindow(options);
    registerCallbacks();
#ifdef KESTRUNE_SANITIZE
    keepGraphicsLibrariesLoaded();
#endif
    for (int id = 0; id < MAX_SETUP_PLAYERS; ++id) {
        if (const auto& computer = setup.seats[static_cast<std::size_t>(id)].computer) {
            game->controller.setComputer(id, *computer);
        }
    }
    // Ids past the set-up's seats, for a console that adds players later.
    std::vector<int> computers = options.computerIds;
    if (options.allComputers) {
        computers.resize(MAX_PLAYERS);
        std::iota(computers.begin(), computers.end(), 0);
    }
    for (int id : computers) {
        if (id >= MAX_SETUP_PLAYERS) {
            game->controller.setComputer(id, options.level);
        }
    }
    game->controller.setSetup(setup);
    if (options.settings && !settings.getPath().empty()) {
        game->controller.setSetupListener([settings](const GameSetup& started) { settings.write(started, std::cerr); });
    }
    game->model.addListener(&game->view);
    game->model.addListener(&game->controller);
    game->view.initialize();
    game->model.reset();
    game->view.setAutoCameraEnabled(options.autoCamera);
    game->controller.initialize(options.x, options.y);

    Main::timer.play();
    game->viewTimer.play();
    glutMainLoop();
    return 0;
}

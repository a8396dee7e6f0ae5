// SPDX-License-Identifier: GPL-3.0-or-later
// Kestrune's entry: the game's long-lived objects, the command line, the window
// (or the full screen), the GLUT callbacks and the main loop. The callbacks only
// record or forward their events; the game, the view and the controller act.
#include <GL/freeglut.h>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <numeric>
#include <optional>
#include <vector>

#include "app/CommandLine.h"
#include "app/KeyPolling.h"
#include "app/Main.h"
#include "app/NetworkPlay.h"
#include "audio/OpenAlSoundPlayer.h"
#include "controller/ArenaController.h"
#include "game/Game.h"
#include "math/TimeSystem.h"
#include "model/ArenaModel.h"
#include "net/GameClient.h"
#include "net/GameServer.h"
#include "platform/GraphicsLibraries.h"
#include "platform/ResourcePath.h"
#include "platform/XdgFolders.h"
#include "replay/ReplayChecker.h"
#include "replay/ReplayPlayback.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayRecorder.h"
#include "scene/graphicnode.h"
#include "settings/GameSetup.h"
#include "settings/SettingsFile.h"
#include "view/ArenaView.h"

namespace {

// The program's long-lived objects, constructed in this order once main has
// answered --help and --version and read the set-up, destroyed in the reverse
// order at exit. The model's first players and grid are the set-up's; the
// first battlefield draws them anew from its seed.
struct Program {
    explicit Program(const GameSetup& setup)
        : model(setup.players, setup.width, setup.depth, setup.height, RandomStream(0))
    {
    }
    ArenaModel model;
    // The rules fed by commands; it listens to the model before anyone else.
    Game game{model};
    // What the view is heard through, once the data folder is known; it
    // outlives the view.
    std::unique_ptr<OpenAlSoundPlayer> sound;
    // The view's clock: animations, frame counting and the replays' ticks
    // run on it.
    TimeSystem viewTimer;
    ArenaView view{viewTimer};
    ArenaController controller{game, view, Main::timer};
    KeyPolling keys{Main::timer};
    ReplayRecorder recorder{[this] { return viewTimer.getTick(); }, gameVersion(), std::cerr};
    // A network game's server (when hosting) and client; goes first.
    std::unique_ptr<NetworkPlay> network;
};
Program* program = nullptr; // not owned: main's own, which lives until exit

// Hands polled keys to the controller.
class ControllerKeys : public KeyReceiver {
public:
    void keyboard(unsigned char key) override { program->controller.keyboard(key); }
    void specialKeyboard(int key) override { program->controller.specialKeyboard(key); }
    bool isKeyFastRepeat(unsigned char key) override { return program->controller.isKeyFastRepeat(key); }
    bool isKeyFastRepeat(int key) override { return program->controller.isKeyFastRepeat(key); }
    bool isTyping() override { return program->controller.getInput().isTyping(); }
    bool opensTyping(unsigned char key) override { return program->controller.getInput().opensConsole(key); }
};

ControllerKeys controllerKeys;

void display()
{
    program->view.renderScene();
}

void keyboard(unsigned char key, int, int)
{
    program->keys.keyboard(key);
}

void specialKeyboard(int key, int, int)
{
    const bool shifted = (glutGetModifiers() & GLUT_ACTIVE_SHIFT) != 0;
    program->keys.specialKeyboard(shifted ? key | SHIFTED_KEY : key);
}

void keyboardUp(unsigned char key, int, int)
{
    program->keys.keyboardUp(key);
}

void specialKeyboardUp(int key, int, int)
{
    program->keys.specialKeyboardUp(key);
}

void idle()
{
    // The computer players first: a spell they put back for the humans is
    // the one this step's keys cast.
    try {
        if (program->network) {
            program->network->idle();
        }
        program->controller.idle();
    } catch (const std::exception& error) {
        std::cerr << error.what() << std::endl;
    }
    program->keys.idle(controllerKeys, [] { glutForceJoystickFunc(); }, [] { glutPostRedisplay(); }, std::cerr);
}

void reshape(int width, int height)
{
    program->view.reshape(width, height);
    program->controller.reshape(width, height);
}

void mousePassiveMotion(int x, int y)
{
    program->controller.mousePassiveMotion(x, y);
}

void mouseButton(int button, int state, int, int)
{
    program->controller.mouseButton(button, state);
}

void mouseEntry(int state)
{
    program->controller.mouseEntry(state);
}

void joystick(unsigned int buttons, int x, int y, int z)
{
    program->controller.joystick(buttons, x, y, z);
}

// The window is going (its close box): its GL objects go while it exists.
void closing()
{
    GraphicNode::releaseDisplayLists();
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
    const std::string& folder = program->view.getResources().getDataFolder();
    if (folder.empty()) {
        std::cerr << "kestrune: the game's data files were not found; looked in:";
        for (const std::string& tried : program->view.getResources().getDataFolderSearch()) {
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
    glutCloseFunc(closing);
    // Closing the window ends the main loop like Escape, so that main leaves
    // in order.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
}

// The replay of --replay, read and played through once without a window; a
// file that cannot be played costs one line and the game starts without it.
std::unique_ptr<ReplayPlayback> loadReplay(const std::string& path)
{
    std::string problem;
    std::optional<Replay> replay = ReplayReader::read(path, problem);
    if (replay) {
        const ReplayVerdict verdict = checkReplay(*replay);
        problem = verdict.problem;
    }
    if (!problem.empty()) {
        std::cerr << "kestrune: " << problem << "; starting a new game instead" << std::endl;
        return nullptr;
    }
    return std::make_unique<ReplayPlayback>(std::move(*replay), std::cerr);
}

// Every battlefield into --record's file, or into a file of its own in the
// replays folder, unless --no-record.
void startRecording(const CommandLine& options)
{
    if (!options.recordFile.empty()) {
        program->recorder.recordToFile(options.recordFile);
    } else if (options.record) {
        const std::string folder = stateFolder();
        if (folder.empty()) {
            std::cerr << "kestrune: no place for replays (neither XDG_STATE_HOME nor HOME is set); "
                         "this game is not recorded"
                      << std::endl;
            return;
        }
        program->recorder.recordToFolder(folder + "/replays");
    } else {
        return;
    }
    program->game.addListener(&program->recorder);
}

// Lets go of the GL objects while the window exists, then of the window.
void leave()
{
    if (Main::windowId != 0) {
        if (glutGetWindow() != 0) {
            GraphicNode::releaseDisplayLists();
            glutDestroyWindow(Main::windowId);
        }
    } else {
        GraphicNode::releaseDisplayLists();
        glutLeaveGameMode();
    }
}

// --help and --version, answered before glutInit, which needs a display.
bool answeredWithoutWindow(int argc, char** argv)
{
    if (wantsHelp(argc, argv)) {
        printUsage(std::cout);
        return true;
    }
    if (wantsVersion(argc, argv)) {
        std::cout << versionLine() << std::endl;
        return true;
    }
    return false;
}

// The remembered set-up, then the options over it.
GameSetup readSetup(const CommandLine& options, const SettingsFile& settings)
{
    GameSetup setup;
    if (options.settings) {
        settings.read(setup, std::cerr);
    }
    applyCommandLine(options, setup, std::cerr);
    return setup;
}

// The data folder of --data-dir when given, and the sounds beside the data.
void loadData(const CommandLine& options)
{
    if (!options.dataDir.empty()) {
        program->view.loadResources(dataFolderCandidates(options.dataDir));
    }
    reportDataFolder();
    const std::string& dataFolder = program->view.getResources().getDataFolder();
    program->sound = std::make_unique<OpenAlSoundPlayer>(dataFolder.empty() ? "" : dataFolder + "/sounds", std::cerr,
                                                         !options.mute);
    program->view.getSounds().setSoundPlayer(program->sound.get());
}

// Ids past the set-up's seats, for a console that adds players later; the
// seats' own kinds come with the first battlefield.
void addComputersPastTheSeats(const CommandLine& options)
{
    std::vector<int> computers = options.computerIds;
    if (options.allComputers) {
        computers.resize(MAX_PLAYERS);
        std::iota(computers.begin(), computers.end(), 0);
    }
    for (int id : computers) {
        if (id >= MAX_SETUP_PLAYERS) {
            program->game.apply(Command::Kind{id, options.level});
        }
    }
}

// --host or --join: a network game, whose battlefield comes from the server;
// false for a local game (also when the port cannot be had).
bool startNetwork(const CommandLine& options, const GameSetup& setup, std::uint32_t seed)
{
    if (!options.hostPort && options.join.empty()) {
        return false;
    }
    const std::string folder = stateFolder();
    program->network = std::make_unique<NetworkPlay>(
        program->game, program->view, program->controller, std::cerr, folder.empty() ? "" : folder + "/tokens",
        [setup, seed] { program->game.apply(Command::StartSetup{setup, seed}); });
    const std::string name = NetworkPlay::playerName(options.name, setup);
    // Network games give a turn a minute unless told otherwise.
    const double turnTime = options.turnTime.value_or(60.0);
    program->controller.getTurnClock().setTurnTime(turnTime);
    bool started = false;
    if (options.hostPort) {
        started = program->network->host(setup, seed, static_cast<std::uint16_t>(*options.hostPort), turnTime,
                                          options.password, name);
        if (started) {
            std::cout << "Listening on UDP port " << program->network->getServer()->getPort() << std::endl;
        }
    } else {
        started = program->network->join(options.join, name, options.password);
    }
    if (!started) {
        program->network.reset();
        return false;
    }
    program->controller.setChatSink([name](const std::string& text) {
        GameClient* client = program->network ? program->network->getClient() : nullptr;
        if (client == nullptr || !client->say(text)) {
            program->view.getOverlay().addChatLine(name, text);
        }
    });
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (answeredWithoutWindow(argc, argv)) {
        return 0;
    }
    glutInit(&argc, argv);
    CommandLine options = parseCommandLine(argc, argv, std::cerr);
    Main::fullscreen = options.fullscreen;
    const SettingsFile settings(SettingsFile::defaultPath());
    const GameSetup setup = readSetup(options, settings);

    static Program theProgram(setup);
    program = &theProgram;
    Main::attachGameRandom(&program->model.getRandom());
    // The first battlefield's seed; the effects' and the computer players'
    // streams start from it too.
    const std::uint32_t seed = options.seedGiven ? options.seed : RandomStream::timeOfDaySeed();
    Main::seedRandom(seed);
    std::unique_ptr<ReplayPlayback> replay = options.replayFile.empty() ? nullptr : loadReplay(options.replayFile);
    std::cout << startupLine(options) << std::endl;
    loadData(options);

    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    openWindow(options);
    registerCallbacks();
#ifdef KESTRUNE_SANITIZE
    keepGraphicsLibrariesLoaded();
#endif
    addComputersPastTheSeats(options);
    program->controller.getSetupDialog().setSetup(setup);
    if (options.settings && !settings.getPath().empty()) {
        program->controller.getSetupDialog().setSetupListener([settings](const GameSetup& started) { settings.write(started, std::cerr); });
    }
    program->model.addListener(&program->view);
    program->model.addListener(&program->controller);
    program->view.initialize();
    startRecording(options);
    if (options.turnTime) {
        program->controller.getTurnClock().setTurnTime(*options.turnTime);
    }
    if (replay != nullptr) {
        // Its first step is its battlefield.
        program->controller.getReplayControl().playReplay(std::move(replay));
    } else if (!startNetwork(options, setup, seed)) {
        program->game.apply(Command::StartSetup{setup, seed});
    }
    program->view.getCamera().setAutoCameraEnabled(options.autoCamera);
    program->controller.initialize(options.x, options.y);

    Main::timer.play();
    program->viewTimer.play();
    glutMainLoop();
    if (program->network) {
        program->network->quit();
    }
    leave();
    return 0;
}

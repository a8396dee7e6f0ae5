// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of a game as one object fed by commands: the battlefield (the
// model, which owns the game's random stream and writes to the game's output),
// and the turn kept beside it: every caster's aim, whose turn it is, the spell,
// the fireball's radius and who plays as a computer. apply() is the only path
// that changes a game; it checks every command first and refuses what the game
// cannot take, changing nothing. No window, clock, sound or process global: a
// game runs the same in the window, in a headless checker or beside another.
#pragma once

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <vector>

#include "ai/ComputerLevel.h"
#include "game/CommandSink.h"
#include "game/GameCommand.h"
#include "game/GameTurn.h"
#include "model/ArenaModelListener.h"

class ArenaModel;
struct ArenaState;
class GameListener;

// The widest aim angle a command may carry, in degrees either way.
constexpr double MAX_AIM_ANGLE = 1.0e9;

class Game : public ArenaModelListener, public CommandSink {
public:
    // model: not owned; outlives the game. The game listens to it (call this
    // before anyone else adds a listener, so that the turn is ready when they
    // hear of a new battlefield) and takes its console's commands, until it
    // goes.
    explicit Game(ArenaModel& model);
    ~Game() override;
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Applies the command, or returns why not (one line, nothing changed).
    std::string apply(const GameCommand& command);
    std::string submit(const GameCommand& command) override;
    // Why the command would be refused now, or empty.
    std::string check(const GameCommand& command) const;

    // Not owned; must outlive the game's last word. Told in the order added.
    void addListener(GameListener* listener);
    void removeListener(GameListener* listener);

    ArenaModel& getModel();
    const ArenaModel& getModel() const;

    // A current player to act for: false on a battlefield without players.
    bool hasCurrentPlayer() const;
    int getCurrentPlayer() const;
    double getYaw(int id) const;
    double getPitch(int id) const;
    double getPower(int id) const;
    const std::string& getWeapon() const;
    double getRadiusBombSize() const;
    // Since the last new battlefield, the turn found no other living player.
    bool isLastManStanding() const;
    // The level of a computer player, or nothing for a human; ids from 0 to
    // MAX_PLAYERS - 1.
    std::optional<ComputerLevel> getComputerLevel(int id) const;
    // The current player is a living computer player.
    bool isComputerTurn() const;
    // Casts since the battlefield started.
    int getShotCount() const;
    // The seed the current battlefield was drawn from.
    std::uint32_t getBattlefieldSeed() const;
    // The set-up of the battlefield as it stands now, names included: a new
    // battlefield of it keeps every setting and every caster.
    BattlefieldSetup getSetup() const;
    // A digest of the battlefield and the players (FNV-1a over the grid, the
    // players' names, places and hit points): equal games, equal digests.
    std::uint64_t getDigest() const;

    // The turn as a value; and another game's whole state adopted, which is
    // no command (nobody hears onCommand): the battlefield, told as a new one
    // is, then the turn, told as onKinds, onWeapon, onCurrentPlayer and onAim
    // for every player. Both must be whole and agree (one aim per player, the
    // current player among them, a spell of the table): the network's reader
    // checks them. False, nothing changed, when the model ignores the
    // battlefield (one without a whole grid).
    GameTurn getTurn() const;
    bool adoptState(const ArenaState& battlefield, const GameTurn& turn);

    // The turn of a new battlefield: every aim back to yaw 0, pitch 0 and
    // power 4, the turn to player 0. The model's report does it.
    void initPlayerControl();

    void onNewMap(int width, int depth, int height, bool*** terrain, const Vector& wind) override;
    void onPlayer(int id, Player& player) override;
    void onProjectile(int playerId, Projectile* projectile, std::list<Vector>& trajectory,
                      std::set<Vector>& removedBlocks, std::map<Vector, int>& fallingBlocks,
                      std::map<int, int>& playerFalls, std::map<int, double>& damages,
                      std::set<int>& killedPlayers) override;

private:
    std::string checkSetup(const BattlefieldSetup& setup) const;
    // Why the new-game screen's set-up or an aim is refused, or empty.
    std::string screenProblem(const GameSetup& screen) const;
    std::string aimProblem(const Command::Aim& aim) const;
    // A checked command that starts a battlefield, applied; what is told to
    // the listeners for it: the battlefield with its seed.
    GameCommand applyBattlefield(const GameCommand& command);
    // A checked command of play or of the settings, applied.
    void applyPlay(const GameCommand& command);
    // Why player may not act now (what: "aim", "cast" or "pass"), or empty.
    std::string turnProblem(const char* what, int player) const;
    // The battlefield the new-game screen's set-up asks for, the rest as now.
    BattlefieldSetup setupFromScreen(const GameSetup& screen) const;
    void startBattlefield(const BattlefieldSetup& setup, std::uint32_t seed);
    void cast();
    // Passes the turn to the next living player.
    void nextPlayer();
    void setWeapon(const std::string& name);

    template <typename Event>
    void tell(Event event);

    ArenaModel& model; // not owned
    std::vector<GameListener*> listeners; // not owned
    std::vector<double> yaws;    // degrees, per player id
    std::vector<double> pitches; // degrees
    std::vector<double> powers;  // 0 to 100
    int currentPlayer;
    std::string weapon;
    double radiusBombSize;
    bool lastManStanding;
    std::vector<std::optional<ComputerLevel>> computerLevels; // per id, MAX_PLAYERS of them
    int shotCount;
    std::uint32_t battlefieldSeed;
};

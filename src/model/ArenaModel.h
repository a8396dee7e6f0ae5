// SPDX-License-Identifier: GPL-3.0-or-later
// The game state and its rules: the voxel battlefield, the players standing on
// it, gravity and wind, and the listeners told of every change. It knows
// nothing of drawing or input.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "game/GameCommand.h"
#include "game/RandomStream.h"
#include "math/Vector.h"
#include "model/Player.h"
#include "model/ShotOutcome.h"

class ArenaModelListener;
struct ArenaState;
class CommandSink;
class Projectile;

// Limits that keep a battlefield playable and a new game quick; the console
// refuses settings beyond them.
constexpr int MAX_GRID_SIDE = 256;            // cells along any axis
constexpr long MAX_GRID_CELLS = 4000000;      // width * depth * height: 256 x 256 x 61 fits
constexpr int MAX_PLAYERS = 64;
// A shot that has not hit anything after this many steps ends where it is
// (a shot that barely moves under no acceleration would fly for ever).
constexpr int MAX_TRAJECTORY_STEPS = 100000;
// The strongest shot a caster can aim: path units per step.
constexpr double MAX_SHOT_POWER = 100.0;
// The width of a new caster's box, in cells.
constexpr double DEFAULT_PLAYER_WIDTH = 1.0;

class ArenaModel {
public:
    // Note the order: depth (z) before height (y). Creates the players with
    // random names; the grid comes with the first reset. Draws from random,
    // its own stream from then on; without one, a stream seeded from the time
    // of day.
    ArenaModel(int numberOfPlayers, int width, int depth, int height);
    ArenaModel(int numberOfPlayers, int width, int depth, int height, RandomStream random);
    ~ArenaModel();
    // A snapshot: the grid, the players and every setting, but no listeners,
    // so that whatever happens to the copy is told to nobody. Copying draws
    // nothing from the random streams.
    ArenaModel(const ArenaModel& other);
    ArenaModel& operator=(const ArenaModel&) = delete;

    // Not owned; must outlive the model's last notification. A listener added
    // twice is told everything twice.
    void addListener(ArenaModelListener* listener);
    // Every registration of listener goes; it hears nothing more.
    void removeListener(ArenaModelListener* listener);

    // The stream every random choice of the battlefield is drawn from.
    RandomStream& getRandom();

    // Where the model's lines go (the console's echo and answers, the fall
    // damage) and its diagnostics; standard output and standard error unless
    // set. Not owned: each must outlive the model's last line.
    void setOutput(std::ostream& out, std::ostream& err);
    std::ostream& getOutput() const;

    // The console's changes, handed to sink instead of applied here when one
    // is set (the game applies every change in one place). Not owned.
    void setCommandSink(CommandSink* sink);
    CommandSink* getCommandSink() const;

    // A new battlefield: terrain, wind, restored and newly placed players, then
    // per listener onNewMap followed by onPlayer for every player.
    void reset();

    // The whole battlefield as a value: grid, players, settings and the
    // random stream; and another's adopted, told as a new battlefield is
    // (onNewMap, then onPlayer for each player). The state must be within the
    // limits above, its players' values finite (the network's reader checks
    // it); one without a grid, or whose cells do not fill its extents, is
    // ignored: false, nothing changed.
    ArenaState getState() const;
    bool adoptState(const ArenaState& state);

    int getWidth() const;
    int getHeight() const;
    int getDepth() const;
    int getNumberOfPlayers() const;
    // A copy of the players in id order.
    std::vector<Player> getPlayers() const;
    // Throws std::out_of_range for an id that is not a player's.
    const Player& getPlayer(int id) const;

    const Vector& getGravity() const;
    void setGravity(const Vector& gravity);
    const Vector& getWind() const;
    // Lasts until the next reset, which draws or clears the wind again.
    void setWind(const Vector& wind);
    bool isWindEnabled() const;
    void setWindEnabled(bool enabled);

    // 0 <= x < width, 0 <= y < height, 0 <= z < depth.
    bool isInsideGrid(const Vector& point) const;
    // Solid cell, or any point outside the grid (floor, sides and ceiling).
    // Before the first reset the inside of the grid reads as empty.
    bool testGround(double x, double y, double z) const;
    bool testGround(const Vector& point) const;
    // Inside the box of a living player.
    bool testPlayer(double x, double y, double z) const;
    bool testPlayer(const Vector& point) const;
    // Inside the box of any player, dead or alive.
    bool testPlayerDeadOrAlive(double x, double y, double z) const;
    bool testPlayerDeadOrAlive(const Vector& point) const;
    // testGround, else testPlayer.
    bool testAny(double x, double y, double z) const;
    bool testAny(const Vector& point) const;

    // The first player in id order, dead or alive, whose box holds the point.
    // Throws std::runtime_error when there is none.
    const Player& getPlayerAt(const Vector& point) const;
    // The lowest id of a player with the same name, or -1.
    int getPlayerId(const Player& player) const;
    // The id of the player getPlayerAt finds, or -1. Unlike a lookup by name
    // it tells apart two players who happen to share a name.
    int getPlayerIndexAt(const Vector& point) const;

    // The path of a shot: the start, the start of every later step, and last
    // the first sample (100 per unit of path) that hit ground, a living
    // player or the grid's edge.
    std::list<Vector> createTrajectory(const Vector& start, const Vector& velocity,
                                       const Vector& acceleration) const;
    // The same path, ended at the top of its arc when it gets there first:
    // at the start of the first step that falls (the start itself when the
    // first step already falls). reachedTop says whether it did; speedAtTop
    // is then the velocity there, which the next step would have gone on with.
    std::list<Vector> createTrajectoryToTop(const Vector& start, const Vector& velocity,
                                            const Vector& acceleration, Vector& speedAtTop,
                                            bool& reachedTop) const;
    // The start velocity of a shot of player playerId aimed by yaw and pitch
    // (degrees) with the given power: along the cannon, power units per step.
    Vector getShotVelocity(int playerId, double yaw, double pitch, double power) const;
    // The path a shot of player playerId so aimed would take now, gravity and
    // wind included.
    std::list<Vector> getShotTrajectory(int playerId, double yaw, double pitch, double power) const;
    // Resolves a shot of player playerId aimed by yaw and pitch (degrees) with
    // the given power: flight, the spell's impact, destroyed and falling
    // blocks, falling players, damage, then onProjectile to every listener.
    // projectile: not owned, used during the call only.
    void throwProjectile(int playerId, Projectile* projectile, double yaw, double pitch,
                         double power);
    // The same shot applied to this model without a word to anyone: no
    // listener is told and nothing is written. What it did is returned.
    ShotOutcome resolveShot(int playerId, Projectile* projectile, double yaw, double pitch,
                            double power);
    // A shot from start with the given velocity, flown by the spell (which
    // may change in flight) through this battlefield's gravity and wind, then
    // resolved as resolveImpact does; applied without a word to anyone.
    ShotOutcome resolveFlight(Projectile* projectile, const Vector& start, const Vector& velocity);
    // The part of a shot after its flight: the spell's impact at the last
    // point of trajectory and everything that follows from it, applied to this
    // model without a word to anyone. trajectory: not empty.
    ShotOutcome resolveImpact(Projectile* projectile, std::list<Vector> trajectory);
    // Whether a shot's outcome lists every block that fell (true unless set):
    // a model whose listeners never look at them (a headless check, a
    // computer player's trial shot) spares the list, which runs into
    // millions on the largest battlefields.
    void setBlockFallsReported(bool reported);

    // A console line: echoed, and acted on when it is one of the model's
    // commands. Settings that the battlefield cannot hold are refused with a
    // line that says why, and nothing changes. True when the line was one of
    // the model's commands or help.
    bool handleConsoleCommand(std::string line);

    // The console's operations on the players and the grid; each checks its
    // values and either refuses with a line or applies them. setPlayers and
    // setGrid start a new game.
    void setPlayers(long count, double newWidth, double newHeight, const Vector& newCannonOffset,
                    double newCannonLength);
    void setGrid(long newWidth, long newDepth, long newHeight);
    // Names obey the new-game screen's rules: at most 20 letters, digits,
    // blanks and - ' . _, no blank first or last.
    void renamePlayer(long id, const std::string& name);
    // Why the operations above would refuse these values (the whole line
    // they write after the prefix), or empty when they would apply them.
    std::string playersProblem(long count, double newWidth, double newHeight, const Vector& newCannonOffset,
                               double newCannonLength) const;
    std::string gridSizeProblem(long newWidth, long newDepth, long newHeight) const;
    std::string renameProblem(long id, const std::string& name) const;

    // The settings of the next battlefield, unchecked and without a new game:
    // for the game, which checks them first. A new grid size frees the grid.
    void setNumberOfPlayers(int count);
    void setPlayerSizes(double newWidth, double newHeight, const Vector& newCannonOffset,
                        double newCannonLength);
    void setGridSize(int newWidth, int newDepth, int newHeight);
    // Why a battlefield of these extents cannot hold count players of this
    // width, or empty: its size limits, then the room for the players.
    static std::string gridProblem(long gridWidth, long gridDepth, long gridHeight, long count,
                                   double newPlayerWidth);

    // The sizes given to new players.
    double getPlayerWidth() const;
    double getPlayerHeight() const;
    const Vector& getCannonOffset() const;
    double getCannonLength() const;

    // Empties the cell holding the point; a point outside the grid changes
    // nothing. Const by tradition: it writes through the grid pointer.
    void removeGround(const Vector& point) const;

    // Allocates an empty grid of the current size, or clears the one there is.
    void allocateTerrain();
    void clearTerrain();
    // Frees the grid; required before the extents change.
    void freeTerrain();
    // Fills the columns of a cleared grid from two random profiles.
    void generateTerrain();

    // Replaces the players by numberOfPlayers new ones with random names, at
    // the origin. Nothing is reported: callers follow with reset.
    void initPlayers();
    // The same, with the names given; only a player whose name is missing or
    // empty draws one.
    void initPlayers(const std::vector<std::string>& names);
    // A random free standing place for every player, in id order.
    void placePlayers();
    // A look for every player, in id order: one draw each, which the view
    // reads as the character a player is shown as.
    void drawLooks();

    // A digest of the battlefield and the players (64-bit FNV-1a over the
    // grid's extents and cells, then each player's name, position, hit points
    // and look): two models that agree on all of it agree on the digest.
    std::uint64_t getDigest() const;

    // The tables that player names are drawn from.
    const std::vector<std::string>& getFirstNames() const;
    const std::vector<std::string>& getLastNames() const;

private:
    // The console's rows act through the private requests below.
    friend struct ArenaModelConsoleRows;

    // createTrajectory's path; with stopAtTop it ends at the top of the arc
    // as createTrajectoryToTop says.
    std::list<Vector> flightPath(const Vector& start, const Vector& velocity, const Vector& acceleration,
                                 bool stopAtTop, Vector& speedAtTop, bool& reachedTop) const;

    // A block of cell (x, y, z) falling cells; ordered as the grid's cells are.
    struct BlockFall {
        int x;
        int y;
        int z;
        int cells;
        bool operator<(const BlockFall& other) const
        {
            return x != other.x ? x < other.x : y != other.y ? y < other.y : z < other.z;
        }
    };
    // What the destroyed cells of column (x, z) (lowest first) bring down:
    // its blocks above them into falls, and the players standing over them
    // into playerFalls.
    void collectFalls(int x, int z, const std::vector<int>& destroyed, std::vector<BlockFall>& falls,
                      std::map<int, int>& playerFalls) const;

    // Per listener onNewMap, then onPlayer for every player.
    void tellNewMap();

    // A console change: to the game when there is one, else applied here.
    void request(const GameCommand& command);
    // One line on the output: the console's prefix, then why.
    void refuse(const std::string& why) const;

    // The first empty cell of column (x, z) counted from the floor, unless a
    // block or a living player's box takes it. The box of the player
    // "mover", when given, does not count: it is about to leave.
    bool findStandingPlace(int x, int z, Vector& place, int mover = -1) const;
    bool cellAt(int x, int y, int z) const;
    // Cells of the grid at its current extents (negative extents count as 0).
    std::size_t cellCount() const;

    // Why a battlefield of these extents has too few free columns for these
    // players, or empty.
    static std::string crowdingProblem(long gridWidth, long gridDepth, long gridHeight, long count,
                                       double newPlayerWidth);

    RandomStream random;
    std::ostream* output; // not owned
    std::ostream* errors; // not owned
    CommandSink* commandSink; // not owned; null: the console acts here
    bool blockFallsReported;
    bool*** terrain;  // [x][z][y]; points into the storage below; null before the first reset
    int width;
    int height;
    int depth;
    std::vector<Player> players;
    std::list<ArenaModelListener*> listeners; // not owned
    Vector gravity;
    Vector wind;
    bool windEnabled;
    std::vector<std::string> firstNames;
    std::vector<std::string> lastNames;
    int numberOfPlayers;
    double playerWidth;
    double playerHeight;
    Vector cannonOffset;
    double cannonLength;

    // One flat run of width * depth * height cells, column by column, and the
    // pointer tables that index it as terrain[x][z][y].
    std::unique_ptr<bool[]> cells;
    std::unique_ptr<bool*[]> columns;
    std::unique_ptr<bool**[]> rows;
};

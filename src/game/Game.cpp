// SPDX-License-Identifier: GPL-3.0-or-later
// The game's one path of change: each command checked, then applied to the
// battlefield and the turn, and told to the listeners in the form that repeats it.
#include "game/Game.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <sstream>
#include <type_traits>

#include "game/GameListener.h"
#include "model/ArenaModel.h"
#include "model/ArenaState.h"
#include "model/SpellByName.h"
#include "model/SpellTable.h"

namespace {

constexpr double START_POWER = 4.0;
constexpr double START_RADIUS_BOMB_SIZE = 3.0;

bool finite(const Vector& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Overloads one lambda per command kind, for std::visit.
template <class... Kinds>
struct Visitor : Kinds... {
    using Kinds::operator()...;
};
template <class... Kinds>
Visitor(Kinds...) -> Visitor<Kinds...>;

std::string playerProblem(const char* what, long player, int count)
{
    std::ostringstream why;
    why << what << " of player " << player << " refused: ";
    if (count == 0) {
        why << "there are no players on this battlefield";
    } else {
        why << "ids run from 0 to " << count - 1;
    }
    return why.str();
}

} // namespace

Game::Game(ArenaModel& model)
    : model(model),
      currentPlayer(0),
      weapon("fireball"),
      radiusBombSize(START_RADIUS_BOMB_SIZE),
      lastManStanding(false),
      computerLevels(MAX_PLAYERS),
      shotCount(0),
      battlefieldSeed(0)
{
    model.addListener(this);
    model.setCommandSink(this);
    initPlayerControl();
}

Game::~Game()
{
    model.removeListener(this);
    if (model.getCommandSink() == this) {
        model.setCommandSink(nullptr);
    }
}

void Game::addListener(GameListener* listener)
{
    listeners.push_back(listener);
}

void Game::removeListener(GameListener* listener)
{
    listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

ArenaModel& Game::getModel()
{
    return model;
}

const ArenaModel& Game::getModel() const
{
    return model;
}

template <typename Event>
void Game::tell(Event event)
{
    // A copy: a listener may add or remove listeners while it is told.
    const std::vector<GameListener*> told = listeners;
    for (GameListener* listener : told) {
        event(*listener);
    }
}

// --- Checking ------------------------------------------------------------

std::string Game::checkSetup(const BattlefieldSetup& setup) const
{
    if (setup.players < 1 || setup.players > MAX_PLAYERS) {
        std::ostringstream why;
        why << setup.players << " players refused: from 1 to " << MAX_PLAYERS << " players can play";
        return why.str();
    }
    if (!std::isfinite(setup.playerWidth) || !std::isfinite(setup.playerHeight) || !finite(setup.cannonOffset)
        || !std::isfinite(setup.cannonLength) || setup.playerWidth <= 0.0 || setup.playerHeight <= 0.0
        || setup.cannonLength == 0.0) {
        return "player sizes refused: a player needs a finite width and height above 0 and a cannon";
    }
    const std::string grid =
        ArenaModel::gridProblem(setup.width, setup.depth, setup.height, setup.players, setup.playerWidth);
    if (!grid.empty()) {
        std::ostringstream why;
        why << "battlefield " << setup.width << " x " << setup.depth << " x " << setup.height << " refused: "
            << grid;
        return why.str();
    }
    if (!finite(setup.gravity)) {
        return "gravity refused: x, y and z must be finite numbers";
    }
    if (!std::isfinite(setup.radius) || setup.radius < 0.0) {
        return "radius refused: it must be a number of 0 or more";
    }
    if (SpellTable::byName(setup.spell) == nullptr) {
        return "spell " + setup.spell + " refused: " + SpellTable::describeNames();
    }
    if (setup.names.size() > static_cast<std::size_t>(setup.players)) {
        return "names refused: more names than players";
    }
    for (const std::string& name : setup.names) {
        if (const std::string problem = name.empty() ? "" : nameProblem(name); !problem.empty()) {
            return "name refused: " + problem;
        }
    }
    if (setup.kinds.size() > static_cast<std::size_t>(MAX_PLAYERS)) {
        return "kinds refused: more than one per player id";
    }
    return "";
}

std::string Game::turnProblem(const char* what, int player) const
{
    const int count = model.getNumberOfPlayers();
    if (player < 0 || player >= count) {
        return playerProblem(what, player, count);
    }
    if (!hasCurrentPlayer() || player != currentPlayer) {
        return std::string(what) + " of player " + std::to_string(player) + " refused: it is player "
               + std::to_string(currentPlayer) + "'s turn";
    }
    return "";
}

BattlefieldSetup Game::setupFromScreen(const GameSetup& screen) const
{
    BattlefieldSetup setup = getSetup();
    setup.players = screen.players;
    setup.width = screen.width;
    setup.depth = screen.depth;
    setup.height = screen.height;
    setup.windEnabled = screen.wind;
    setup.names.assign(static_cast<std::size_t>(std::max(setup.players, 0)), "");
    setup.kinds.resize(static_cast<std::size_t>(MAX_PLAYERS));
    for (int id = 0; id < MAX_SETUP_PLAYERS; ++id) {
        const SeatSetup& seat = screen.seats[static_cast<std::size_t>(id)];
        if (id < setup.players) {
            setup.names[static_cast<std::size_t>(id)] = seat.name;
        }
        setup.kinds[static_cast<std::size_t>(id)] = seat.computer;
    }
    return setup;
}

std::string Game::screenProblem(const GameSetup& screen) const
{
    for (int id = 0; id < screen.players && id < MAX_SETUP_PLAYERS; ++id) {
        const std::string& name = screen.seats[static_cast<std::size_t>(id)].name;
        if (const std::string problem = name.empty() ? "" : nameProblem(name); !problem.empty()) {
            return "name refused: " + problem;
        }
    }
    if (screen.players > MAX_SETUP_PLAYERS) {
        return std::string("players refused: the new-game screen seats at most ")
               + std::to_string(MAX_SETUP_PLAYERS);
    }
    return checkSetup(setupFromScreen(screen));
}

std::string Game::aimProblem(const Command::Aim& aim) const
{
    if (std::string problem = turnProblem("aim", aim.player); !problem.empty()) {
        return problem;
    }
    if (!std::isfinite(aim.yaw) || !std::isfinite(aim.pitch) || std::fabs(aim.yaw) > MAX_AIM_ANGLE
        || std::fabs(aim.pitch) > MAX_AIM_ANGLE) {
        return "aim refused: the angles must be finite numbers of degrees";
    }
    if (!(aim.power >= 0.0 && aim.power <= MAX_SHOT_POWER)) {
        return "aim refused: the power runs from 0 to 100";
    }
    return "";
}

std::string Game::check(const GameCommand& command) const
{
    return std::visit(
        Visitor{
            [&](const Command::Battlefield& start) { return checkSetup(start.setup); },
            [&](const Command::NewBattlefield&) { return std::string(); },
            [&](const Command::StartSetup& start) { return screenProblem(start.setup); },
            [&](const Command::Players& players) {
                return model.playersProblem(players.count, players.width, players.height, players.cannonOffset,
                                            players.cannonLength);
            },
            [&](const Command::Grid& grid) { return model.gridSizeProblem(grid.width, grid.depth, grid.height); },
            [&](const Command::WindEnabled&) { return std::string(); },
            [&](const Command::Aim& aim) { return aimProblem(aim); },
            [&](const Command::Spell& spell) {
                return SpellTable::byName(spell.name) != nullptr
                           ? std::string()
                           : "spell " + spell.name + " refused: " + SpellTable::describeNames();
            },
            [&](const Command::Cast& cast) {
                if (std::string problem = turnProblem("cast", cast.player); !problem.empty()) {
                    return problem;
                }
                if (lastManStanding) {
                    return std::string("cast refused: the battlefield has its winner; a new one comes first");
                }
                return std::string();
            },
            [&](const Command::Pass& pass) { return turnProblem("pass", pass.player); },
            [&](const Command::Gravity& gravity) {
                return finite(gravity.value) ? std::string()
                                             : std::string("gravity refused: x, y and z must be finite numbers");
            },
            [&](const Command::Wind& wind) {
                return finite(wind.value) ? std::string()
                                          : std::string("wind refused: x, y and z must be finite numbers");
            },
            [&](const Command::Radius& radius) {
                return std::isfinite(radius.value) && radius.value >= 0.0
                           ? std::string()
                           : std::string("radius refused: it must be a number of 0 or more");
            },
            [&](const Command::Name& name) { return model.renameProblem(name.player, name.name); },
            [&](const Command::Kind& kind) {
                if (kind.player && (*kind.player < 0 || *kind.player >= MAX_PLAYERS)) {
                    return "player " + std::to_string(*kind.player) + " refused: ids run from 0 to "
                           + std::to_string(MAX_PLAYERS - 1);
                }
                return std::string();
            },
        },
        command);
}

// --- Applying ------------------------------------------------------------

std::string Game::submit(const GameCommand& command)
{
    return apply(command);
}

std::string Game::apply(const GameCommand& command)
{
    if (std::string problem = check(command); !problem.empty()) {
        return problem;
    }
    GameCommand applied = command;
    if (startsBattlefield(command)) {
        applied = applyBattlefield(command);
    } else {
        applyPlay(command);
    }
    tell([&](GameListener& listener) { listener.onCommand(applied); });
    if (std::holds_alternative<Command::Cast>(command)) {
        const std::uint64_t digest = getDigest();
        tell([&](GameListener& listener) { listener.onShot(shotCount, digest); });
    }
    return "";
}

GameCommand Game::applyBattlefield(const GameCommand& command)
{
    BattlefieldSetup setup = getSetup();
    std::optional<std::uint32_t> seed;
    std::visit(Visitor{
                   [&](const Command::Battlefield& start) {
                       setup = start.setup;
                       seed = start.seed;
                   },
                   [&](const Command::NewBattlefield& start) { seed = start.seed; },
                   [&](const Command::StartSetup& start) {
                       setup = setupFromScreen(start.setup);
                       seed = start.seed;
                   },
                   [&](const Command::Players& players) {
                       setup.players = static_cast<int>(players.count);
                       setup.playerWidth = players.width;
                       setup.playerHeight = players.height;
                       setup.cannonOffset = players.cannonOffset;
                       setup.cannonLength = players.cannonLength;
                       // New casters, new names.
                       setup.names.assign(static_cast<std::size_t>(setup.players), "");
                       seed = players.seed;
                   },
                   [&](const Command::Grid& grid) {
                       setup.width = static_cast<int>(grid.width);
                       setup.depth = static_cast<int>(grid.depth);
                       setup.height = static_cast<int>(grid.height);
                       seed = grid.seed;
                   },
                   [&](const Command::WindEnabled& wind) {
                       setup.windEnabled = wind.enabled;
                       seed = wind.seed;
                   },
                   [&](const auto&) {},
               },
               command);
    // The seed of a battlefield asked for here continues the last one's
    // stream, so that a seeded game gives the same battlefields in turn.
    const std::uint32_t chosen = seed ? *seed : model.getRandom().nextSeed();
    startBattlefield(setup, chosen);
    return Command::Battlefield{setup, chosen};
}

void Game::applyPlay(const GameCommand& command)
{
    std::visit(Visitor{
                   [&](const Command::Aim& aim) {
                       const std::size_t id = static_cast<std::size_t>(aim.player);
                       yaws[id] = aim.yaw;
                       pitches[id] = aim.pitch;
                       powers[id] = aim.power;
                       tell([&](GameListener& listener) {
                           listener.onAim(aim.player, aim.yaw, aim.pitch, aim.power);
                       });
                   },
                   [&](const Command::Spell& spell) { setWeapon(spell.name); },
                   [&](const Command::Cast&) { cast(); },
                   [&](const Command::Pass&) { nextPlayer(); },
                   [&](const Command::Gravity& gravity) { model.setGravity(gravity.value); },
                   [&](const Command::Wind& wind) { model.setWind(wind.value); },
                   [&](const Command::Radius& radius) { radiusBombSize = radius.value; },
                   [&](const Command::Name& name) { model.renamePlayer(name.player, name.name); },
                   [&](const Command::Kind& kind) {
                       const int first = kind.player.value_or(0);
                       const int last = kind.player.value_or(MAX_PLAYERS - 1);
                       for (int id = first; id <= last; ++id) {
                           computerLevels[static_cast<std::size_t>(id)] = kind.level;
                       }
                       tell([](GameListener& listener) { listener.onKinds(); });
                   },
                   [&](const auto&) {},
               },
               command);
}

void Game::startBattlefield(const BattlefieldSetup& setup, std::uint32_t seed)
{
    if (setup.width != model.getWidth() || setup.depth != model.getDepth() || setup.height != model.getHeight()) {
        model.setGridSize(setup.width, setup.depth, setup.height);
    }
    model.setNumberOfPlayers(setup.players);
    model.setPlayerSizes(setup.playerWidth, setup.playerHeight, setup.cannonOffset, setup.cannonLength);
    model.setWindEnabled(setup.windEnabled);
    model.setGravity(setup.gravity);
    radiusBombSize = setup.radius;
    std::vector<std::optional<ComputerLevel>> kinds = setup.kinds;
    kinds.resize(static_cast<std::size_t>(MAX_PLAYERS));
    const bool kindsChange = kinds != computerLevels;
    computerLevels = kinds;
    battlefieldSeed = seed;
    model.getRandom().seed(seed);
    model.initPlayers(setup.names);
    model.reset();
    if (kindsChange) {
        tell([](GameListener& listener) { listener.onKinds(); });
    }
    if (setup.spell != weapon) {
        setWeapon(setup.spell);
    }
    // Every caster starts with the same aim; whoever shows it learns it now,
    // not at the first aiming key.
    for (std::size_t id = 0; id < yaws.size(); ++id) {
        tell([&](GameListener& listener) {
            listener.onAim(static_cast<int>(id), yaws[id], pitches[id], powers[id]);
        });
    }
}

void Game::cast()
{
    std::unique_ptr<Projectile> spell = createSpell(weapon, radiusBombSize);
    if (!spell) {
        // Every way to choose a spell checks its name; this only guards.
        std::cerr << "cast refused: no spell is named " << weapon << std::endl;
        return;
    }
    const std::size_t id = static_cast<std::size_t>(currentPlayer);
    model.throwProjectile(currentPlayer, spell.get(), yaws[id], pitches[id], powers[id]);
    spell.reset();
    ++shotCount;
    nextPlayer();
}

void Game::nextPlayer()
{
    const int count = model.getNumberOfPlayers();
    if (count <= 0) {
        return;
    }
    const int start = currentPlayer;
    currentPlayer = (currentPlayer + 1) % count;
    while (model.getPlayer(currentPlayer).isDead() && currentPlayer != start) {
        currentPlayer = (currentPlayer + 1) % count;
    }
    if (currentPlayer == start) {
        lastManStanding = true;
        tell([&](GameListener& listener) { listener.onLastManStanding(currentPlayer); });
    }
    tell([&](GameListener& listener) { listener.onCurrentPlayer(currentPlayer); });
}

void Game::setWeapon(const std::string& name)
{
    weapon = name;
    tell([&](GameListener& listener) { listener.onWeapon(weapon); });
}

GameTurn Game::getTurn() const
{
    GameTurn turn;
    turn.yaws = yaws;
    turn.pitches = pitches;
    turn.powers = powers;
    turn.currentPlayer = currentPlayer;
    turn.weapon = weapon;
    turn.radiusBombSize = radiusBombSize;
    turn.lastManStanding = lastManStanding;
    turn.computerLevels = computerLevels;
    turn.shotCount = shotCount;
    turn.battlefieldSeed = battlefieldSeed;
    return turn;
}

bool Game::adoptState(const ArenaState& battlefield, const GameTurn& turn)
{
    // The model's report of the new battlefield puts the turn back to its
    // start (onNewMap below); the adopted turn comes after it.
    if (!model.adoptState(battlefield)) {
        return false;
    }
    yaws = turn.yaws;
    pitches = turn.pitches;
    powers = turn.powers;
    currentPlayer = turn.currentPlayer;
    weapon = turn.weapon;
    radiusBombSize = turn.radiusBombSize;
    lastManStanding = turn.lastManStanding;
    computerLevels = turn.computerLevels;
    computerLevels.resize(static_cast<std::size_t>(MAX_PLAYERS));
    shotCount = turn.shotCount;
    battlefieldSeed = turn.battlefieldSeed;
    tell([](GameListener& listener) { listener.onKinds(); });
    tell([&](GameListener& listener) { listener.onWeapon(weapon); });
    tell([&](GameListener& listener) { listener.onCurrentPlayer(currentPlayer); });
    for (std::size_t id = 0; id < yaws.size(); ++id) {
        tell([&](GameListener& listener) {
            listener.onAim(static_cast<int>(id), yaws[id], pitches[id], powers[id]);
        });
    }
    return true;
}

void Game::initPlayerControl()
{
    const std::size_t count = static_cast<std::size_t>(model.getNumberOfPlayers());
    yaws.assign(count, 0.0);
    pitches.assign(count, 0.0);
    powers.assign(count, START_POWER);
}

void Game::onNewMap(int, int, int, bool***, const Vector&)
{
    initPlayerControl();
    currentPlayer = 0;
    lastManStanding = false;
    shotCount = 0;
}

void Game::onPlayer(int, Player&)
{
}

void Game::onProjectile(int, Projectile*, std::list<Vector>&, std::set<Vector>&, std::map<Vector, int>&,
                        std::map<int, int>&, std::map<int, double>&, std::set<int>&)
{
}

// --- Reading -------------------------------------------------------------

bool Game::hasCurrentPlayer() const
{
    return currentPlayer >= 0 && static_cast<std::size_t>(currentPlayer) < yaws.size()
           && currentPlayer < model.getNumberOfPlayers();
}

int Game::getCurrentPlayer() const
{
    return currentPlayer;
}

double Game::getYaw(int id) const
{
    return yaws.at(static_cast<std::size_t>(id));
}

double Game::getPitch(int id) const
{
    return pitches.at(static_cast<std::size_t>(id));
}

double Game::getPower(int id) const
{
    return powers.at(static_cast<std::size_t>(id));
}

const std::string& Game::getWeapon() const
{
    return weapon;
}

double Game::getRadiusBombSize() const
{
    return radiusBombSize;
}

bool Game::isLastManStanding() const
{
    return lastManStanding;
}

std::optional<ComputerLevel> Game::getComputerLevel(int id) const
{
    if (id < 0 || id >= MAX_PLAYERS) {
        return std::nullopt;
    }
    return computerLevels[static_cast<std::size_t>(id)];
}

bool Game::isComputerTurn() const
{
    return hasCurrentPlayer() && getComputerLevel(currentPlayer).has_value()
           && !model.getPlayer(currentPlayer).isDead();
}

int Game::getShotCount() const
{
    return shotCount;
}

std::uint32_t Game::getBattlefieldSeed() const
{
    return battlefieldSeed;
}

BattlefieldSetup Game::getSetup() const
{
    BattlefieldSetup setup;
    setup.width = model.getWidth();
    setup.depth = model.getDepth();
    setup.height = model.getHeight();
    setup.players = model.getNumberOfPlayers();
    setup.playerWidth = model.getPlayerWidth();
    setup.playerHeight = model.getPlayerHeight();
    setup.cannonOffset = model.getCannonOffset();
    setup.cannonLength = model.getCannonLength();
    setup.windEnabled = model.isWindEnabled();
    setup.gravity = model.getGravity();
    setup.radius = radiusBombSize;
    setup.spell = weapon;
    for (int id = 0; id < model.getNumberOfPlayers(); ++id) {
        setup.names.push_back(model.getPlayer(id).getName());
    }
    setup.kinds = computerLevels;
    return setup;
}

std::uint64_t Game::getDigest() const
{
    return model.getDigest();
}

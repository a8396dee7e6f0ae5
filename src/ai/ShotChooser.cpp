// SPDX-License-Identifier: GPL-3.0-or-later
// A computer player's shot: candidate aims that pass through points on and
// around each opponent, each simulated with each spell and scored, then the
// level's aim error and choice of spell, and the lower levels' restraint.
#include "ai/ShotChooser.h"

#include <algorithm>
#include <memory>
#include <cmath>
#include <list>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "model/ArenaModel.h"
#include "model/SpellTable.h"

namespace {

// The angle unit of Vector::rotate, which the cannon's aim goes through.
constexpr double DEGREES_TO_RADIANS = 3.1416 / 180.0;

// Score of a shot: every hit point taken from an opponent counts 1, a killed
// opponent KILL_BONUS more; every hit point the shooter loses counts -1 and
// its death SELF_KILL_PENALTY, more than any shot can win.
constexpr double KILL_BONUS = 50.0;
constexpr double SELF_KILL_PENALTY = 1000.0;
// Scores closer than this are equal.
constexpr double SCORE_EPSILON = 1e-9;

// Flight steps of the highest arc tried: its top stays about a grid's height
// above the shooter.
constexpr int MIN_ARC_STEPS = 4;
constexpr int MAX_ARC_STEPS = 60;
// Rounds of aiming at a point: the cannon's nose moves with the aim.
constexpr int AIM_ROUNDS = 4;

// Spells are counted by their row in the spell table; the first, the
// fireball, wins ties.
constexpr int FIREBALL = 0;

// The lower levels seldom fell an unhurt opponent with one blow: a shot of
// theirs that would is drawn again, up to this many times, unless normal's
// chance of an outright kill came up (easy has none).
constexpr int RESTRAINT_TRIES = 6;
constexpr double NORMAL_OUTRIGHT_KILL_CHANCE = 0.2;

int spellCount()
{
    return static_cast<int>(SpellTable::all().size());
}

struct Aim {
    double yaw = 0.0;
    double pitch = 0.0;
    double power = 0.0;
    // The point the aim was made to pass through and after how many steps;
    // 0 steps for an aim made otherwise.
    Vector target;
    int steps = 0;
};

// One aim with one spell, and how good it is: score first, then how close the
// impact comes to an opponent (the negated distance), for shots that hit no one.
// A trial shot's start and the path it flies whole.
struct Flight {
    Vector nose;
    Vector velocity;
    std::list<Vector> trajectory;
};

// What one spell on one flight does: its score, and whether it kills an
// opponent that was at full health.
struct Trial {
    double score = 0.0;
    bool fellsUnhurt = false;
};

struct Candidate {
    Aim aim;
    int spell = FIREBALL;
    double score = -1e300;
    double closeness = -1e300;
    bool fellsUnhurt = false;
    bool found = false;
};

bool better(const Candidate& a, const Candidate& b)
{
    if (!b.found) {
        return a.found;
    }
    if (a.score > b.score + SCORE_EPSILON) {
        return true;
    }
    if (a.score < b.score - SCORE_EPSILON) {
        return false;
    }
    return a.closeness > b.closeness + SCORE_EPSILON;
}

// Uniform in [0, 1), the same on every platform.
double uniform(std::mt19937& stream)
{
    const double range = static_cast<double>(stream.max() - stream.min()) + 1.0;
    return static_cast<double>(stream() - stream.min()) / range;
}

// Uniform in [-half, half).
double spread(std::mt19937& stream, double half)
{
    return (2.0 * uniform(stream) - 1.0) * half;
}

class Search {
public:
    Search(const ArenaModel& battlefield, int playerId, double radiusBombSize)
        : battlefield(battlefield),
          shooterId(playerId),
          shooter(battlefield.getPlayer(playerId)),
          acceleration(battlefield.getGravity() + battlefield.getWind()),
          radiusBombSize(radiusBombSize),
          best(static_cast<std::size_t>(spellCount())),
          scoreCaches(static_cast<std::size_t>(spellCount()))
    {
        for (int id = 0; id < battlefield.getNumberOfPlayers(); ++id) {
            const Player& player = battlefield.getPlayer(id);
            if (id == playerId || player.isDead()) {
                continue;
            }
            opponents.push_back(id);
            Player restored = player;
            restored.restore();
            if (player.getHp() >= restored.getHp()) {
                unhurt.insert(id);
            }
        }
    }

    // Tries every candidate aim; false when cancelled.
    bool run(const std::atomic<bool>* cancel)
    {
        for (const Aim& aim : candidateAims()) {
            if (cancel != nullptr && cancel->load()) {
                return false;
            }
            tryAim(aim);
        }
        return true;
    }

    const Candidate& bestOf(int spell) const { return best[static_cast<std::size_t>(spell)]; }

    // The best shot of any spell that fells no unhurt opponent.
    const Candidate& bestSparing() const { return sparing; }

    // What the aim does, cast with the spell as the game would cast it.
    Trial trial(const Aim& aim, int spell) const
    {
        return simulate(SpellTable::all()[static_cast<std::size_t>(spell)], fly(aim));
    }

    // The best spell's best shot; the fireball wins a tie.
    const Candidate& overall() const
    {
        const Candidate* winner = &best[FIREBALL];
        for (int spell = FIREBALL + 1; spell < spellCount(); ++spell) {
            const Candidate& other = best[static_cast<std::size_t>(spell)];
            if (other.found && (!winner->found || other.score > winner->score + SCORE_EPSILON)) {
                winner = &other;
            }
        }
        return *winner;
    }

    // The aim whose shot, flying freely, passes through target after the
    // given number of steps: p(n) = nose + n v + a n (n + 1) / 2.
    bool aimThrough(const Vector& target, int steps, Aim& aim) const
    {
        const double n = static_cast<double>(steps);
        const Vector drop = acceleration * (n * (n + 1.0) / 2.0);
        Vector nose = shooter.getCannonPosition(0.0);
        for (int round = 0; round < AIM_ROUNDS; ++round) {
            const Vector velocity = (target - nose - drop) * (1.0 / n);
            const double power = velocity.getLength();
            if (!(power > 1e-9) || power > MAX_SHOT_POWER || !std::isfinite(power)) {
                return false;
            }
            const Vector direction = velocity * (1.0 / power);
            aim.pitch = std::asin(std::clamp(direction.y, -1.0, 1.0)) / DEGREES_TO_RADIANS;
            aim.yaw = std::atan2(-direction.z, direction.x) / DEGREES_TO_RADIANS;
            aim.power = power;
            nose = shooter.getCannonNose(aim.yaw, aim.pitch);
        }
        aim.target = target;
        aim.steps = steps;
        return true;
    }

private:
    std::vector<Aim> candidateAims() const
    {
        std::vector<Aim> aims;
        const int steps = arcSteps();
        for (int id : opponents) {
            for (const Vector& target : targetsAround(battlefield.getPlayer(id))) {
                for (int step = 1; step <= steps; ++step) {
                    Aim aim;
                    if (aimThrough(target, step, aim)) {
                        aims.push_back(aim);
                    }
                }
            }
        }
        // A few plain lobs all round, so that a shooter with no one in reach
        // still has a shot to cast, and the least harmful one is found.
        for (int turn = 0; turn < 8; ++turn) {
            Aim lob;
            lob.yaw = 45.0 * turn;
            lob.pitch = 60.0;
            lob.power = 2.0;
            aims.push_back(lob);
        }
        return aims;
    }

    int arcSteps() const
    {
        const double pull = acceleration.getLength();
        if (!(pull > 1e-6)) {
            return MIN_ARC_STEPS;
        }
        const double climb = static_cast<double>(battlefield.getHeight()) + 2.0;
        const double steps = std::sqrt(8.0 * climb / pull) + 2.0;
        return static_cast<int>(std::clamp(steps, static_cast<double>(MIN_ARC_STEPS),
                                           static_cast<double>(MAX_ARC_STEPS)));
    }

    // Points that a shot should reach: the opponent's box, low, middle and
    // high, and the top block of its own and each neighbouring column.
    std::vector<Vector> targetsAround(const Player& opponent) const
    {
        const Vector& corner = opponent.getPosition();
        const double w = opponent.getWidth();
        const double h = opponent.getHeight();
        std::vector<Vector> targets = {corner + Vector(w / 2, h * 0.5, w / 2),
                                       corner + Vector(w / 2, h * 0.85, w / 2),
                                       corner + Vector(w / 2, h * 0.15, w / 2)};
        const int x = static_cast<int>(std::floor(corner.x + w / 2));
        const int z = static_cast<int>(std::floor(corner.z + w / 2));
        const int top = std::min(battlefield.getHeight() - 1, static_cast<int>(std::floor(corner.y + h)));
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dz = -1; dz <= 1; ++dz) {
                for (int y = top; y >= 0; --y) {
                    if (battlefield.isInsideGrid(Vector(x + dx, y, z + dz))
                        && battlefield.testGround(x + dx + 0.5, y + 0.5, z + dz + 0.5)) {
                        targets.push_back(Vector(x + dx + 0.5, y + 0.7, z + dz + 0.5));
                        break;
                    }
                }
            }
        }
        return targets;
    }

    // The aim's flight on the battlefield, as a real shot would go.
    Flight fly(const Aim& aim) const
    {
        const Vector nose = shooter.getCannonNose(aim.yaw, aim.pitch);
        const Vector velocity = battlefield.getShotVelocity(shooterId, aim.yaw, aim.pitch, aim.power);
        return Flight{nose, velocity, battlefield.createTrajectory(nose, velocity, acceleration)};
    }

    // Shoots the aim and scores its impact with every spell.
    void tryAim(const Aim& aim)
    {
        const Flight flight = fly(aim);
        const double closeness = -distanceToOpponents(flight.trajectory.back());
        for (int spell = FIREBALL; spell < spellCount(); ++spell) {
            const Trial outcome = score(spell, flight);
            Candidate candidate;
            candidate.aim = aim;
            candidate.spell = spell;
            candidate.score = outcome.score;
            candidate.closeness = closeness;
            candidate.fellsUnhurt = outcome.fellsUnhurt;
            candidate.found = true;
            Candidate& bestOfSpell = best[static_cast<std::size_t>(spell)];
            if (better(candidate, bestOfSpell)) {
                bestOfSpell = candidate;
            }
            if (!candidate.fellsUnhurt && better(candidate, sparing)) {
                sparing = candidate;
            }
        }
    }

    double distanceToOpponents(const Vector& impact) const
    {
        double nearest = 1e300;
        for (int id : opponents) {
            const Player& opponent = battlefield.getPlayer(id);
            const double w = opponent.getWidth();
            const Vector centre = opponent.getPosition() + Vector(w / 2, opponent.getHeight() / 2, w / 2);
            nearest = std::min(nearest, (impact - centre).getLength());
        }
        return nearest;
    }

    // The score of one spell on one flight. Trials that agree on what the
    // spell's outcome depends on (its row's scoring) share one simulation.
    Trial score(int spell, const Flight& flight)
    {
        const SpellTable::Entry& entry = SpellTable::all()[static_cast<std::size_t>(spell)];
        const Vector impact = flight.trajectory.back();
        const Vector cell = impact.toInt();
        Vector key;
        switch (entry.scoring) {
        case SpellTable::Scoring::impactPoint:
            key = impact;
            break;
        case SpellTable::Scoring::impactColumn:
            key = Vector(cell.x, 0.0, cell.z);
            break;
        case SpellTable::Scoring::impactLayer:
            key = Vector(0.0, cell.y, 0.0);
            break;
        case SpellTable::Scoring::wholeFlight:
            return simulate(entry, flight);
        }
        std::map<Vector, Trial>& cache = scoreCaches[static_cast<std::size_t>(spell)];
        auto known = cache.find(key);
        if (known == cache.end()) {
            known = cache.emplace(key, simulate(entry, flight)).first;
        }
        return known->second;
    }

    // The shot with the spell on a copy of the battlefield: a spell that
    // changes in flight flies again, the others land where the flight ends.
    Trial simulate(const SpellTable::Entry& entry, const Flight& flight) const
    {
        ArenaModel copy(battlefield);
        // The score reads damages only.
        copy.setBlockFallsReported(false);
        const std::unique_ptr<Projectile> spell = entry.create(radiusBombSize);
        const ShotOutcome outcome = entry.scoring == SpellTable::Scoring::wholeFlight
                                        ? copy.resolveFlight(spell.get(), flight.nose, flight.velocity)
                                        : copy.resolveImpact(spell.get(), flight.trajectory);
        Trial trial;
        for (const auto& [id, damage] : outcome.damages) {
            const Player& before = battlefield.getPlayer(id);
            if (before.isDead()) {
                continue;
            }
            const double taken = std::min(damage, before.getHp());
            const bool killed = outcome.killedPlayers.count(id) > 0;
            if (id == shooterId) {
                trial.score -= taken + (killed ? SELF_KILL_PENALTY : 0.0);
            } else {
                trial.score += taken + (killed ? KILL_BONUS : 0.0);
                trial.fellsUnhurt = trial.fellsUnhurt || (killed && unhurt.count(id) > 0);
            }
        }
        return trial;
    }

    const ArenaModel& battlefield;
    int shooterId;
    const Player& shooter;
    Vector acceleration;
    double radiusBombSize;
    std::vector<int> opponents;
    std::set<int> unhurt; // the opponents at full health
    std::vector<Candidate> best;                       // per spell
    Candidate sparing;
    std::vector<std::map<Vector, Trial>> scoreCaches; // per spell: key -> trial
};

ShotChoice toChoice(const Candidate& candidate, const Aim& aim, double bestScore)
{
    ShotChoice choice;
    choice.yaw = aim.yaw;
    choice.pitch = aim.pitch;
    choice.power = std::clamp(aim.power, 0.0, MAX_SHOT_POWER);
    choice.spell = SpellTable::all()[static_cast<std::size_t>(candidate.spell)].name;
    choice.score = candidate.score;
    choice.bestScore = bestScore;
    return choice;
}

// The aim a little off: up to yawError and pitchError degrees, power up to
// powerError of itself.
Aim missBy(const Aim& aim, std::mt19937& stream, double yawError, double pitchError,
           double powerError)
{
    Aim off = aim;
    off.yaw += spread(stream, yawError);
    off.pitch += spread(stream, pitchError);
    off.power *= 1.0 + spread(stream, powerError);
    return off;
}

// The best shot of another spell than the best one: the better of the others.
const Candidate& weakerSpell(const Search& search, const Candidate& strongest)
{
    const Candidate* weaker = nullptr;
    for (int spell = FIREBALL; spell < spellCount(); ++spell) {
        const Candidate& other = search.bestOf(spell);
        if (spell != strongest.spell && other.found && (weaker == nullptr || better(other, *weaker))) {
            weaker = &other;
        }
    }
    return weaker != nullptr ? *weaker : strongest;
}

// A level's shot: the candidate whose spell it casts, and its aim.
struct Shot {
    const Candidate* cast;
    Aim aim;
};

// Normal: the candidate aimed a little off.
Shot normalShot(const Candidate& candidate, std::mt19937& stream)
{
    return {&candidate, missBy(candidate.aim, stream, 8.0, 5.0, 0.12)};
}

// Easy: now and then a fair shot; otherwise one made to land a few cells
// away from where the best shot was aimed, which a blast may still graze.
Shot easyShot(const Search& search, const Candidate& strongest, std::mt19937& stream)
{
    if (uniform(stream) < 0.1 || strongest.aim.steps == 0) {
        return {&strongest, missBy(strongest.aim, stream, 3.0, 2.0, 0.05)};
    }
    const double turn = uniform(stream) * 2.0 * 3.14159265358979;
    const double distance = 3.5 + 4.5 * uniform(stream);
    const Vector wide = strongest.aim.target + Vector(std::cos(turn), 0.0, std::sin(turn)) * distance;
    Aim miss;
    if (!search.aimThrough(wide, strongest.aim.steps, miss)) {
        miss = missBy(strongest.aim, stream, 40.0, 15.0, 0.4);
    }
    return {&strongest, miss};
}

// Draws shots (draw is given the attempt's number) until one fells no unhurt
// opponent; the last of RESTRAINT_TRIES is cast whatever it does.
template <typename Draw>
Shot restrained(const Search& search, Draw draw)
{
    Shot shot = draw(0);
    for (int attempt = 1; attempt < RESTRAINT_TRIES && search.trial(shot.aim, shot.cast->spell).fellsUnhurt;
         ++attempt) {
        shot = draw(attempt);
    }
    return shot;
}

} // namespace

ShotChoice chooseShot(const ArenaModel& battlefield, int playerId, ComputerLevel level,
                      std::mt19937& stream, double radiusBombSize, const std::atomic<bool>* cancel)
{
    Search search(battlefield, playerId, radiusBombSize);
    if (!search.run(cancel)) {
        return ShotChoice();
    }
    const Candidate& strongest = search.overall();
    const double bestScore = strongest.score;
    switch (level) {
    case ComputerLevel::hard:
        return toChoice(strongest, strongest.aim, bestScore);
    case ComputerLevel::normal: {
        const bool mayFell = uniform(stream) < NORMAL_OUTRIGHT_KILL_CHANCE;
        const Candidate& first = uniform(stream) < 0.2 ? weakerSpell(search, strongest) : strongest;
        if (mayFell) {
            const Shot shot = normalShot(first, stream);
            return toChoice(*shot.cast, shot.aim, bestScore);
        }
        // Drawn again, the shot goes for the best one that fells no one
        // unhurt, when that one hurts at all, and then wide.
        const Candidate& sparing = search.bestSparing();
        const bool sparingHurts = sparing.found && sparing.score > 0.0;
        const Shot shot = restrained(search, [&](int attempt) {
            if (attempt == 0) {
                return normalShot(first, stream);
            }
            if (sparingHurts && attempt < RESTRAINT_TRIES - 2) {
                return normalShot(sparing, stream);
            }
            return easyShot(search, strongest, stream);
        });
        return toChoice(*shot.cast, shot.aim, bestScore);
    }
    case ComputerLevel::easy:
        break;
    }
    const Shot shot = restrained(search, [&](int) { return easyShot(search, strongest, stream); });
    return toChoice(*shot.cast, shot.aim, bestScore);
}

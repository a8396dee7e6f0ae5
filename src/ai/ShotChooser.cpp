// SPDX-License-Identifier: GPL-3.0-or-later
// A computer player's shot: candidate aims that pass through points on and
// around each opponent, each simulated with each spell and scored, then the
// level's aim error and choice of spell.
#include "ai/ShotChooser.h"

#include <algorithm>
#include <memory>
#include <cmath>
#include <list>
#include <map>
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

struct Candidate {
    Aim aim;
    int spell = FIREBALL;
    double score = -1e300;
    double closeness = -1e300;
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
            if (id != playerId && !battlefield.getPlayer(id).isDead()) {
                opponents.push_back(id);
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

    // Shoots the aim on the battlefield as a real shot would go, and scores
    // its impact with every spell.
    void tryAim(const Aim& aim)
    {
        const Vector nose = shooter.getCannonNose(aim.yaw, aim.pitch);
        const Vector velocity = battlefield.getShotVelocity(shooterId, aim.yaw, aim.pitch, aim.power);
        const Flight flight{nose, velocity, battlefield.createTrajectory(nose, velocity, acceleration)};
        const double closeness = -distanceToOpponents(flight.trajectory.back());
        for (int spell = FIREBALL; spell < spellCount(); ++spell) {
            Candidate candidate;
            candidate.aim = aim;
            candidate.spell = spell;
            candidate.score = score(spell, flight);
            candidate.closeness = closeness;
            candidate.found = true;
            Candidate& bestOfSpell = best[static_cast<std::size_t>(spell)];
            if (better(candidate, bestOfSpell)) {
                bestOfSpell = candidate;
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
    double score(int spell, const Flight& flight)
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
        std::map<Vector, double>& cache = scoreCaches[static_cast<std::size_t>(spell)];
        auto known = cache.find(key);
        if (known == cache.end()) {
            known = cache.emplace(key, simulate(entry, flight)).first;
        }
        return known->second;
    }

    // The shot with the spell on a copy of the battlefield: a spell that
    // changes in flight flies again, the others land where the flight ends.
    double simulate(const SpellTable::Entry& entry, const Flight& flight) const
    {
        ArenaModel copy(battlefield);
        // The score reads damages only.
        copy.setBlockFallsReported(false);
        const std::unique_ptr<Projectile> spell = entry.create(radiusBombSize);
        const ShotOutcome outcome = entry.scoring == SpellTable::Scoring::wholeFlight
                                        ? copy.resolveFlight(spell.get(), flight.nose, flight.velocity)
                                        : copy.resolveImpact(spell.get(), flight.trajectory);
        double score = 0.0;
        for (const auto& [id, damage] : outcome.damages) {
            const Player& before = battlefield.getPlayer(id);
            if (before.isDead()) {
                continue;
            }
            const double taken = std::min(damage, before.getHp());
            const bool killed = outcome.killedPlayers.count(id) > 0;
            if (id == shooterId) {
                score -= taken + (killed ? SELF_KILL_PENALTY : 0.0);
            } else {
                score += taken + (killed ? KILL_BONUS : 0.0);
            }
        }
        return score;
    }

    const ArenaModel& battlefield;
    int shooterId;
    const Player& shooter;
    Vector acceleration;
    double radiusBombSize;
    std::vector<int> opponents;
    std::vector<Candidate> best;                       // per spell
    std::vector<std::map<Vector, double>> scoreCaches; // per spell: key -> score
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
        const Candidate& cast = uniform(stream) < 0.2 ? weakerSpell(search, strongest) : strongest;
        return toChoice(cast, missBy(cast.aim, stream, 8.0, 5.0, 0.12), bestScore);
    }
    case ComputerLevel::easy:
        break;
    }
    // Easy: now and then a fair shot; otherwise one made to land a few cells
    // away from where the best shot was aimed, which a blast may still graze.
    if (uniform(stream) < 0.1 || strongest.aim.steps == 0) {
        return toChoice(strongest, missBy(strongest.aim, stream, 3.0, 2.0, 0.05), bestScore);
    }
    const double turn = uniform(stream) * 2.0 * 3.14159265358979;
    const double distance = 3.5 + 4.5 * uniform(stream);
    const Vector wide = strongest.aim.target + Vector(std::cos(turn), 0.0, std::sin(turn)) * distance;
    Aim miss;
    if (!search.aimThrough(wide, strongest.aim.steps, miss)) {
        miss = missBy(strongest.aim, stream, 40.0, 15.0, 0.4);
    }
    return toChoice(strongest, miss, bestScore);
}

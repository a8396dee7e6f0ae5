// SPDX-License-Identifier: GPL-3.0-or-later
// A small deterministic battlefield for the model's tests: every column starts
// 15 cells high (on grids 20 high), columns can be lowered, and players can be
// put where a test wants them.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "model/ArenaModel.h"
#include "model/Projectile.h"
#include "support/RecordingListener.h"
#include "support/ScriptedRandom.h"

class Battlefield {
public:
    // Every random draw is the largest the generator gives, so the terrain is a
    // plateau of height - 5 (at least 1) and the names are all alike.
    Battlefield(int players, int width, int depth, int height)
        : script(std::make_unique<ScriptedRandom>(std::vector<double>{32767.0 / 32768.0})),
          model(players, width, depth, height, script->stream())
    {
        model.addListener(&listener);
        testing::internal::CaptureStderr();
        model.reset();
        testing::internal::GetCapturedStderr();
        listener.events.clear();
    }

    // From here on the model draws from the real generator, seeded.
    void useRealRandom(unsigned int seed)
    {
        model.getRandom().setScript({});
        model.getRandom().seed(seed);
        script.reset();
        Main::seedRandom(seed);
    }

    // The model's own player object, as the listener received it.
    Player& player(int id)
    {
        std::size_t count = static_cast<std::size_t>(model.getNumberOfPlayers());
        return *listener.playerPointers[listener.playerPointers.size() - count + id];
    }

    // Empties column (x, z) from the given height up.
    void lowerColumn(int x, int z, int newHeight)
    {
        for (int y = newHeight; y < model.getHeight(); ++y) {
            model.removeGround(Vector(x, y, z));
        }
    }

    // Stands a player on top of column (x, z).
    void stand(int id, int x, int z)
    {
        int y = 0;
        while (y < model.getHeight() && model.testGround(x + 0.5, y + 0.5, z + 0.5)) {
            ++y;
        }
        player(id).setPosition(Vector(x, y, z));
    }

    std::unique_ptr<ScriptedRandom> script;
    ArenaModel model;
    RecordingListener listener;
};

// A spell for tests: marks the cells and sets the damages it was given,
// whatever the impact; remembers the impact it was told.
class MarkingSpell : public Projectile {
public:
    MarkingSpell(std::set<Vector> cells, std::map<int, double> damages = {})
        : cells(std::move(cells)), damages(std::move(damages))
    {
    }

    void onImpact(ArenaModel&, const Vector& impact, std::set<Vector>& affectedCells,
                  std::map<int, double>& damageMap) override
    {
        impacts.push_back(impact);
        affectedCells.insert(cells.begin(), cells.end());
        for (const auto& [id, damage] : damages) {
            damageMap[id] = damage;
        }
    }

    Animation* getAnimation(long, TimeSystem&, Vector) override { return nullptr; }

    std::set<Vector> cells;
    std::map<int, double> damages;
    std::vector<Vector> impacts;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// Blocks, the current-player arrow, the flying fireball and the meteor.
#include "Assets.h"

namespace assetgen {

namespace {

// Bright enough to read under the game's dim light.
const Color EARTH{0.68, 0.45, 0.24};
const Color EARTH_DARK{0.56, 0.36, 0.19};
const Color EARTH_LIGHT{0.78, 0.54, 0.3};
const Color TURF{0.38, 0.85, 0.27};

// Every point pushed out or in along its direction from the centre by up to
// amount of its distance, by a fixed hash of its index: a lumpy stone.
Mesh roughened(Mesh mesh, double amount, unsigned seed)
{
    for (std::size_t i = 0; i < mesh.points.size(); ++i) {
        unsigned hash = (static_cast<unsigned>(i) + 1) * 2654435761u ^ seed;
        hash ^= hash >> 15;
        hash *= 2246822519u;
        hash ^= hash >> 13;
        const double bump = (hash % 1000) / 999.0 * 2 - 1; // -1 .. 1
        mesh.points[i] = mesh.points[i] * (1 + amount * bump);
    }
    return mesh;
}

} // namespace

Model grassBlock()
{
    // A unit cell standing on its bottom face's centre: earth below a layer of
    // turf. Faces between the two layers would never be seen and are left out.
    Model model;
    model.name = "grass";
    model.add("earth", Pose{}, EARTH, box({-0.5, 0, -0.5}, {0.5, 0.8, 0.5}, true, false));
    model.add("turf", Pose{}, TURF, box({-0.5, 0.8, -0.5}, {0.5, 1, 0.5}, false, true));
    return model;
}

Model dirtBlock()
{
    // Three strata of earth, so that a wall of blocks shows layered soil
    // rather than one flat colour.
    Model model;
    model.name = "dirt";
    model.add("deepSoil", Pose{}, EARTH_DARK, box({-0.5, 0, -0.5}, {0.5, 0.35, 0.5}, true, false));
    model.add("soil", Pose{}, EARTH, box({-0.5, 0.35, -0.5}, {0.5, 0.7, 0.5}, false, false));
    model.add("topSoil", Pose{}, EARTH_LIGHT, box({-0.5, 0.7, -0.5}, {0.5, 1, 0.5}, false, true));
    return model;
}

Model arrow()
{
    // Points down at the current player from half a unit above its head.
    Model model;
    model.name = "arrow";
    Mesh shape = cone(0.16, 0.22, {0, 0, 0}, 8);
    shape.append(frustum(0.06, 0.06, 0.22, 0.5, 8));
    model.add("arrowHead", Pose{}, Color{1.0, 0.85, 0.1}, shape);
    return model;
}

Model fireball()
{
    // A glowing core inside a flame with a tail along +y; the view turns it a
    // quarter turn about z, so the tail trails behind the flight.
    Model model;
    model.name = "fireball";
    Part& core = model.add("core", Pose{}, Color{1.0, 0.85, 0.25}, sphere(0.16, 6, 10));
    // Tongues of flame around the core, and the tail.
    Mesh flames = cone(0.12, 0.1, {0, 0.46, 0}, 8, false);
    const Vec3 tongues[] = {{1, 0, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}, {0, -1, 0},
                            {0.6, -0.6, 0.5}, {-0.6, -0.6, -0.5}};
    for (Vec3 direction : tongues) {
        Vec3 unit = direction * (1.0 / length(direction));
        flames.append(cone(0.07, 0.1, {0, 0.24, 0}, 6, false).turned(Quat::fromTo({0, 1, 0}, unit)));
    }
    core.add("flames", Pose{}, Color{1.0, 0.4, 0.04}, flames);
    return model;
}

Model meteor()
{
    // A molten core glowing through the cracks between dark, lumpy slabs of
    // rock, with a few embers trailing along +y like the fireball's tail.
    Model model;
    model.name = "meteor";
    Part& core = model.add("core", Pose{}, Color{1.0, 0.45, 0.08}, sphere(0.15, 6, 10));
    Mesh rock;
    const Vec3 slabs[] = {{1, 0.2, 0}, {-1, 0.1, 0.2}, {0.1, 0, 1}, {-0.2, 0.2, -1},
                          {0.3, -1, 0.1}, {-0.1, 1, -0.3}, {0.6, 0.5, 0.6}, {-0.6, -0.5, -0.5}};
    unsigned seed = 0x5EED;
    for (Vec3 direction : slabs) {
        const Vec3 unit = direction * (1.0 / length(direction));
        Mesh slab = roughened(sphere(0.1, 4, 6), 0.3, seed++).scaled({1, 0.55, 1});
        rock.append(slab.moved({0, 0.13, 0}).turned(Quat::fromTo({0, 1, 0}, unit)));
    }
    core.add("rock", Pose{}, Color{0.24, 0.2, 0.18}, rock);
    Mesh embers = gem(0.035, 0.05).moved({0.05, 0.3, 0});
    embers.append(gem(0.03, 0.04).moved({-0.06, 0.36, 0.03}));
    embers.append(gem(0.025, 0.035).moved({0.01, 0.42, -0.04}));
    core.add("embers", Pose{}, Color{1.0, 0.6, 0.1}, embers);
    return model;
}

} // namespace assetgen

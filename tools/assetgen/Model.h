// SPDX-License-Identifier: GPL-3.0-or-later
// A model for the asset generator: a tree of parts (one Transform each in the
// written file, with one colour and one mesh), and key-frame animations of
// some of its parts.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Geometry.h"

namespace assetgen {

struct Color {
    double r = 0;
    double g = 0;
    double b = 0;
};

struct Part {
    std::string name;
    Pose rest;
    Color color;
    Mesh mesh;
    std::vector<std::unique_ptr<Part>> children;

    // A child part, in file order.
    Part& add(std::string childName, Pose childRest, Color childColor, Mesh childMesh);
};

struct Model {
    std::string name;
    std::vector<std::unique_ptr<Part>> roots;

    Part& add(std::string partName, Pose rest, Color color, Mesh mesh);
    // Every part, parents before children, in file order.
    std::vector<const Part*> parts() const;
};

// How a part moves away from its rest pose at time u of an animation (0..1):
// an offset added to its rest translation, a turn applied inside its rest
// rotation. Parts an animation leaves alone get no interpolators.
struct Motion {
    bool moves = false;  // translation keys
    bool turns = false;  // rotation keys
    Vec3 offset;
    Quat turn;
};

struct Animation {
    std::string name;
    // Number of key frames, times k / (keys - 1).
    int keys = 16;
    // The motion repeats: key k samples u = k / (keys - 1), and the last key
    // equals the first. Otherwise the motion is sampled up to u = 1 at the
    // next-to-last key, and the last key repeats it (the last key itself is
    // never shown by the game).
    bool loops = false;
    // The parts it moves, by name, and how.
    std::map<std::string, std::function<Motion(double u)>> tracks;

    double sampleAt(int key) const;
};

// The pose of every part, by name, at one key of an animation (or at rest
// when animation is null), relative to the parent part.
std::map<std::string, Pose> posesAt(const Model& model, const Animation* animation, int key);

// Lowest and highest world corner of the model's vertices in those poses.
void bounds(const Model& model, const std::map<std::string, Pose>& poses, Vec3& low, Vec3& high);

// The same for each part on its own, by name.
std::map<std::string, std::pair<Vec3, Vec3>> partBounds(const Model& model,
                                                        const std::map<std::string, Pose>& poses);

} // namespace assetgen

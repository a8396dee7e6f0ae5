// SPDX-License-Identifier: GPL-3.0-or-later
// kestrune_assetgen: writes the game's fifteen .wrl files (meshes and
// character animations) into a folder, after checking that every model fits
// the space the game gives it in every pose.
//
//     kestrune_assetgen [folder]      (default: res)
//
// To look at one key pose of an animation in a VRML browser:
//
//     kestrune_assetgen --pose wizard|sorcerer idle|cast|hurt|death KEY FILE [TURN]
//
// (TURN, in radians about the vertical, shows it from another side.)
#include <cstdio>
#include <cstdlib>
#include <map>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "Assets.h"
#include "WrlWriter.h"

using namespace assetgen;

namespace {

struct Limits {
    Vec3 low;
    Vec3 high;
};

int triangles(const Model& model)
{
    int count = 0;
    for (const Part* part : model.parts()) {
        count += static_cast<int>(part->mesh.faces.size());
    }
    return count;
}

bool inside(const Vec3& low, const Vec3& high, const Limits& limits)
{
    const double slack = 1e-9;
    return low.x >= limits.low.x - slack && low.y >= limits.low.y - slack
        && low.z >= limits.low.z - slack && high.x <= limits.high.x + slack
        && high.y <= limits.high.y + slack && high.z <= limits.high.z + slack;
}

std::string describe(const Vec3& low, const Vec3& high)
{
    return "x " + number(low.x) + ".." + number(high.x) + ", y " + number(low.y) + ".."
         + number(high.y) + ", z " + number(low.z) + ".." + number(high.z);
}

// Checks one pose; reports and returns false when it leaves the limits.
bool checkPose(const Model& model, const Animation* animation, int key, const Limits& limits)
{
    Vec3 low;
    Vec3 high;
    bounds(model, posesAt(model, animation, key), low, high);
    if (inside(low, high, limits)) {
        return true;
    }
    std::cerr << model.name << " " << (animation != nullptr ? animation->name : "rest")
              << (animation != nullptr ? " key " + std::to_string(key) : "") << " leaves its space: "
              << describe(low, high) << ";";
    for (const auto& [name, corners] : partBounds(model, posesAt(model, animation, key))) {
        if (!inside(corners.first, corners.second, limits)) {
            std::cerr << " " << name << " (" << describe(corners.first, corners.second) << ")";
        }
    }
    std::cerr << std::endl;
    return false;
}

bool checkCharacter(const Character& character)
{
    const Limits box{{-0.5, 0, -0.5}, {0.5, 1.8, 0.5}};
    bool ok = checkPose(character.model, nullptr, 0, box);
    for (const Animation* animation : {&character.idle, &character.cast, &character.hurt, &character.death}) {
        for (int key = 0; key < animation->keys; ++key) {
            ok = checkPose(character.model, animation, key, box) && ok;
        }
    }
    return ok;
}

bool write(const std::string& folder, const std::string& file, const std::string& text)
{
    std::ofstream out(folder + "/" + file, std::ios::binary);
    out << text;
    if (!out) {
        std::cerr << "kestrune_assetgen: cannot write " << folder << "/" << file << std::endl;
        return false;
    }
    return true;
}

void report(const Model& model)
{
    Vec3 low;
    Vec3 high;
    bounds(model, posesAt(model, nullptr, 0), low, high);
    std::cout << model.name << ": " << model.parts().size() << " parts, " << triangles(model)
              << " triangles, " << describe(low, high) << std::endl;
}

} // namespace

// Writes one key pose of a character as a still mesh file.
int writePose(const std::string& who, const std::string& which, int key, const std::string& path,
              double turn)
{
    Character character = who == "sorcerer" ? sorcerer() : wizard();
    const Animation* animation = which == "idle"   ? &character.idle
                               : which == "cast"   ? &character.cast
                               : which == "hurt"   ? &character.hurt
                               : which == "death" ? &character.death
                                                   : nullptr;
    if (animation == nullptr || key < 0 || key >= animation->keys) {
        std::cerr << "kestrune_assetgen: no " << which << " key " << key << std::endl;
        return 1;
    }
    std::map<std::string, Pose> poses = posesAt(character.model, animation, key);
    Model posed = std::move(character.model);
    for (const Part* part : posed.parts()) {
        const_cast<Part*>(part)->rest = poses.at(part->name);
    }
    for (auto& root : posed.roots) {
        root->rest = Pose{{}, Quat::aboutY(turn)}.then(root->rest);
    }
    std::ofstream out(path, std::ios::binary);
    out << meshFile(posed, "a posed character");
    return out ? 0 : 1;
}

int main(int argc, char** argv)
{
    if ((argc == 6 || argc == 7) && std::string(argv[1]) == "--pose") {
        return writePose(argv[2], argv[3], std::atoi(argv[4]), argv[5], argc == 7 ? std::atof(argv[6]) : 0.0);
    }
    const std::string folder = argc > 1 ? argv[1] : "res";

    const Model grass = grassBlock();
    const Model dirt = dirtBlock();
    const Model pointer = arrow();
    const Model shot = fireball();
    const Model rock = meteor();
    const Character wizardCharacter = wizard();
    const Character sorcererCharacter = sorcerer();

    bool ok = true;
    const Limits cell{{-0.5, 0, -0.5}, {0.5, 1, 0.5}};
    ok = checkPose(grass, nullptr, 0, cell) && ok;
    ok = checkPose(dirt, nullptr, 0, cell) && ok;
    ok = checkPose(pointer, nullptr, 0, Limits{{-0.25, 0, -0.25}, {0.25, 0.55, 0.25}}) && ok;
    ok = checkPose(shot, nullptr, 0, Limits{{-0.5, -0.5, -0.5}, {0.5, 0.5, 0.5}}) && ok;
    ok = checkPose(rock, nullptr, 0, Limits{{-0.5, -0.5, -0.5}, {0.5, 0.5, 0.5}}) && ok;
    ok = checkCharacter(wizardCharacter) && ok;
    ok = checkCharacter(sorcererCharacter) && ok;
    if (!ok) {
        return 1;
    }

    for (const Model* model : {&grass, &dirt, &pointer, &shot, &rock, &wizardCharacter.model, &sorcererCharacter.model}) {
        report(*model);
    }

    struct Output {
        std::string file;
        std::string text;
    };
    std::vector<Output> outputs = {
        {"arrow.wrl", meshFile(pointer, "current player arrow")},
        {"grassCube.wrl", meshFile(grass, "grass block")},
        {"dirtCube.wrl", meshFile(dirt, "dirt block")},
        {"fireball.wrl", meshFile(shot, "fireball in flight")},
        {"meteor.wrl", meshFile(rock, "meteor in flight")},
        {"wizard.wrl", meshFile(wizardCharacter.model, "the wizard")},
        {"sorcerer.wrl", meshFile(sorcererCharacter.model, "the sorcerer")},
    };
    for (const Character* character : {&wizardCharacter, &sorcererCharacter}) {
        const std::string& name = character->model.name;
        outputs.push_back({name + "_kill.wrl", animationFile(character->model, character->death, "the " + name + " dying")});
        outputs.push_back({name + "_spell.wrl", animationFile(character->model, character->cast, "the " + name + " casting")});
        outputs.push_back({name + "_hit.wrl", animationFile(character->model, character->hurt, "the " + name + " hurt")});
        outputs.push_back({name + "_idle.wrl", animationFile(character->model, character->idle, "the " + name + " idling")});
    }
    for (const Output& output : outputs) {
        if (!write(folder, output.file, output.text)) {
            return 1;
        }
    }
    std::cout << "wrote " << outputs.size() << " files to " << folder << std::endl;
    return 0;
}

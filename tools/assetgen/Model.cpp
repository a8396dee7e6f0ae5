// SPDX-License-Identifier: GPL-3.0-or-later
// Part trees, key sampling and posed bounds of the generated characters.
#include "Model.h"

#include <algorithm>
#include <limits>

namespace assetgen {

namespace {

Part& addPart(std::vector<std::unique_ptr<Part>>& parts, std::string name, Pose rest, Color color,
              Mesh mesh)
{
    parts.push_back(std::make_unique<Part>());
    Part& part = *parts.back();
    part.name = std::move(name);
    part.rest = rest;
    part.color = color;
    part.mesh = std::move(mesh);
    return part;
}

} // namespace

Part& Part::add(std::string childName, Pose childRest, Color childColor, Mesh childMesh)
{
    return addPart(children, std::move(childName), childRest, childColor, std::move(childMesh));
}

Part& Model::add(std::string partName, Pose rest, Color color, Mesh mesh)
{
    return addPart(roots, std::move(partName), rest, color, std::move(mesh));
}

namespace {

void collect(const Part& part, std::vector<const Part*>& out)
{
    out.push_back(&part);
    for (const auto& child : part.children) {
        collect(*child, out);
    }
}

void grow(const Part& part, const Pose& parent, const std::map<std::string, Pose>& poses,
          Vec3& low, Vec3& high)
{
    Pose world = parent.then(poses.at(part.name));
    for (Vec3 point : part.mesh.points) {
        Vec3 p = world.apply(point);
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    for (const auto& child : part.children) {
        grow(*child, world, poses, low, high);
    }
}

void growParts(const Part& part, const Pose& parent, const std::map<std::string, Pose>& poses,
               std::map<std::string, std::pair<Vec3, Vec3>>& out)
{
    Pose world = parent.then(poses.at(part.name));
    const double inf = std::numeric_limits<double>::infinity();
    Vec3 low{inf, inf, inf};
    Vec3 high{-inf, -inf, -inf};
    for (Vec3 point : part.mesh.points) {
        Vec3 p = world.apply(point);
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    out[part.name] = {low, high};
    for (const auto& child : part.children) {
        growParts(*child, world, poses, out);
    }
}

} // namespace

std::map<std::string, std::pair<Vec3, Vec3>> partBounds(const Model& model,
                                                        const std::map<std::string, Pose>& poses)
{
    std::map<std::string, std::pair<Vec3, Vec3>> out;
    for (const auto& root : model.roots) {
        growParts(*root, Pose{}, poses, out);
    }
    return out;
}

std::vector<const Part*> Model::parts() const
{
    std::vector<const Part*> out;
    for (const auto& root : roots) {
        collect(*root, out);
    }
    return out;
}

double Animation::sampleAt(int key) const
{
    if (loops) {
        return static_cast<double>(key) / (keys - 1);
    }
    return std::min(1.0, static_cast<double>(key) / (keys - 2));
}

std::map<std::string, Pose> posesAt(const Model& model, const Animation* animation, int key)
{
    std::map<std::string, Pose> poses;
    for (const Part* part : model.parts()) {
        Pose pose = part->rest;
        if (animation != nullptr) {
            auto track = animation->tracks.find(part->name);
            if (track != animation->tracks.end()) {
                Motion motion = track->second(animation->sampleAt(key));
                if (motion.moves) {
                    pose.translation = pose.translation + motion.offset;
                }
                if (motion.turns) {
                    pose.rotation = pose.rotation * motion.turn;
                }
            }
        }
        poses[part->name] = pose;
    }
    return poses;
}

void bounds(const Model& model, const std::map<std::string, Pose>& poses, Vec3& low, Vec3& high)
{
    const double inf = std::numeric_limits<double>::infinity();
    low = {inf, inf, inf};
    high = {-inf, -inf, -inf};
    for (const auto& root : model.roots) {
        grow(*root, Pose{}, poses, low, high);
    }
}

} // namespace assetgen

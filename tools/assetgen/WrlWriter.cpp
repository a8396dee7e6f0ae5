// SPDX-License-Identifier: GPL-3.0-or-later
// VRML 2.0 text for the game's meshes and key-frame animations.
#include "WrlWriter.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace assetgen {

std::string number(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.5f", value);
    std::string out = text;
    while (!out.empty() && out.back() == '0') {
        out.pop_back();
    }
    if (!out.empty() && out.back() == '.') {
        out.pop_back();
    }
    if (out == "-0") {
        out = "0";
    }
    return out;
}

namespace {

std::string triple(Vec3 v)
{
    return number(v.x) + " " + number(v.y) + " " + number(v.z);
}

std::string rotation(const Quat& q)
{
    Vec3 axis;
    double angle = 0;
    q.toAxisAngle(axis, angle);
    return triple(axis) + " " + number(angle);
}

std::string indent(int depth)
{
    return std::string(static_cast<std::size_t>(depth) * 2, ' ');
}

void writeShape(std::ostringstream& out, const Part& part, int depth)
{
    const std::string in = indent(depth);
    out << in << "Shape {\n";
    out << in << "  appearance Appearance {\n";
    out << in << "    material Material {\n";
    out << in << "      diffuseColor " << number(part.color.r) << " " << number(part.color.g) << " "
        << number(part.color.b) << "\n";
    out << in << "    }\n";
    out << in << "  }\n";
    out << in << "  geometry IndexedFaceSet {\n";
    out << in << "    ccw TRUE\n";
    out << in << "    coord Coordinate {\n";
    out << in << "      point [\n";
    for (std::size_t i = 0; i < part.mesh.points.size(); ++i) {
        out << in << "        " << triple(part.mesh.points[i])
            << (i + 1 < part.mesh.points.size() ? "," : " ]") << "\n";
    }
    out << in << "    }\n";
    out << in << "    coordIndex [\n";
    for (std::size_t i = 0; i < part.mesh.faces.size(); ++i) {
        const auto& face = part.mesh.faces[i];
        out << in << "      " << face[0] << ", " << face[1] << ", " << face[2] << ", -1"
            << (i + 1 < part.mesh.faces.size() ? "," : " ]") << "\n";
    }
    out << in << "  }\n";
    out << in << "}\n";
}

void writeMeshPart(std::ostringstream& out, const Part& part, int depth)
{
    const std::string in = indent(depth);
    out << in << "DEF " << part.name << " Transform {\n";
    out << in << "  translation " << triple(part.rest.translation) << "\n";
    out << in << "  rotation " << rotation(part.rest.rotation) << "\n";
    out << in << "  children [\n";
    if (!part.mesh.faces.empty()) {
        writeShape(out, part, depth + 2);
    }
    for (const auto& child : part.children) {
        writeMeshPart(out, *child, depth + 2);
    }
    out << in << "  ]\n";
    out << in << "}\n";
}

void writeList(std::ostringstream& out, const std::string& in, const std::string& field,
               const std::vector<std::string>& values)
{
    out << in << field << " [\n";
    for (std::size_t i = 0; i < values.size(); ++i) {
        out << in << "  " << values[i] << (i + 1 < values.size() ? "," : "") << "\n";
    }
    out << in << "]\n";
}

// One interpolator driven by the clock and routed into the part's transform field.
void writeInterpolator(std::ostringstream& out, const std::string& in, const std::string& partName,
                       const std::string& suffix, const std::string& type,
                       const std::vector<std::string>& times,
                       const std::vector<std::string>& values, const std::string& field,
                       std::vector<std::string>& routes)
{
    const std::string name = partName + suffix;
    out << in << "DEF " << name << " " << type << " {\n";
    writeList(out, in + "  ", "key", times);
    writeList(out, in + "  ", "keyValue", values);
    out << in << "}\n";
    routes.push_back("ROUTE clock.fraction_changed TO " + name + ".set_fraction");
    routes.push_back("ROUTE " + name + ".value_changed TO " + partName + "." + field);
}

void writeAnimatedPart(std::ostringstream& out, const Model& model, const Part& part,
                       const Animation& animation, int depth, std::vector<std::string>& routes)
{
    const std::string in = indent(depth);
    out << in << "DEF " << part.name << " Transform {\n";
    out << in << "  translation " << triple(part.rest.translation) << "\n";
    out << in << "  rotation " << rotation(part.rest.rotation) << "\n";
    out << in << "  children [\n";
    auto track = animation.tracks.find(part.name);
    if (track != animation.tracks.end()) {
        std::vector<std::string> times;
        std::vector<std::string> translations;
        std::vector<std::string> rotations;
        bool moves = false;
        bool turns = false;
        for (int key = 0; key < animation.keys; ++key) {
            times.push_back(number(static_cast<double>(key) / (animation.keys - 1)));
            Pose pose = posesAt(model, &animation, key).at(part.name);
            Motion motion = track->second(animation.sampleAt(key));
            moves = moves || motion.moves;
            turns = turns || motion.turns;
            translations.push_back(triple(pose.translation));
            rotations.push_back(rotation(pose.rotation));
        }
        const std::string inner = indent(depth + 2);
        if (moves) {
            writeInterpolator(out, inner, part.name, "_move", "PositionInterpolator", times,
                              translations, "set_translation", routes);
        }
        if (turns) {
            writeInterpolator(out, inner, part.name, "_turn", "OrientationInterpolator", times,
                              rotations, "set_rotation", routes);
        }
    }
    for (const auto& child : part.children) {
        writeAnimatedPart(out, model, *child, animation, depth + 2, routes);
    }
    out << in << "  ]\n";
    out << in << "}\n";
}

} // namespace

std::string meshFile(const Model& model, const std::string& title)
{
    std::ostringstream out;
    out << "#VRML V2.0 utf8\n";
    out << "# Kestrune: " << title << ". Generated by kestrune_assetgen; edit the generator, not this file.\n";
    for (const auto& root : model.roots) {
        writeMeshPart(out, *root, 0);
    }
    return out.str();
}

std::string animationFile(const Model& model, const Animation& animation, const std::string& title)
{
    std::ostringstream out;
    std::vector<std::string> routes;
    out << "#VRML V2.0 utf8\n";
    out << "# Kestrune: " << title << ". Generated by kestrune_assetgen; edit the generator, not this file.\n";
    out << "DEF clock TimeSensor {\n  cycleInterval 1\n  loop " << (animation.loops ? "TRUE" : "FALSE")
        << "\n}\n";
    for (const auto& root : model.roots) {
        writeAnimatedPart(out, model, *root, animation, 0, routes);
    }
    for (const std::string& route : routes) {
        out << route << "\n";
    }
    return out.str();
}

} // namespace assetgen

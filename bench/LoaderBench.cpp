// SPDX-License-Identifier: GPL-3.0-or-later
// Costs of reading the resource files at start-up: a 10 000-triangle mesh, more
// than any character model, and a key-frame file with a hundred keys per part.
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "scene/graphicnode.h"
#include "scene/timesensor.h"
#include "scene/wrlanimationloader.h"
#include "scene/wrlsceneloader.h"

namespace {

// A file in a temporary directory that lives as long as the benchmark run.
class TemporaryFile {
public:
    TemporaryFile(const std::string& name, const std::string& content)
    {
        char pattern[] = "/tmp/kestrune-bench-XXXXXX";
        if (mkdtemp(pattern) != nullptr) {
            directory = pattern;
        }
        path = directory + "/" + name;
        std::ofstream(path) << content;
    }
    ~TemporaryFile()
    {
        unlink(path.c_str());
        rmdir(directory.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    std::string path;

private:
    std::string directory;
};

// A 101 x 51 grid of vertices: 100 x 50 quads of two triangles each.
std::string gridMesh()
{
    const int columns = 100;
    const int rows = 50;
    std::string text = "#VRML V2.0 utf8\nTransform {\n  translation 0 1 0\n  children [\n"
                       "    Shape {\n      appearance Appearance { material Material { "
                       "diffuseColor 0.5 0.4 0.3 } }\n"
                       "      geometry IndexedFaceSet {\n        coord Coordinate { point [\n";
    for (int row = 0; row <= rows; ++row) {
        for (int column = 0; column <= columns; ++column) {
            const bool last = row == rows && column == columns;
            text += "          " + std::to_string(column * 0.1) + " " + std::to_string(row * 0.1)
                    + " 0.0" + (last ? " ]" : ",") + "\n";
        }
    }
    text += "        }\n        coordIndex [\n";
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int corner = row * (columns + 1) + column;
            const int above = corner + columns + 1;
            const bool last = row == rows - 1 && column == columns - 1;
            text += "          " + std::to_string(corner) + ", " + std::to_string(corner + 1)
                    + ", " + std::to_string(above) + ", -1, " + std::to_string(above) + ", "
                    + std::to_string(corner + 1) + ", " + std::to_string(above + 1) + ", -1"
                    + (last ? " ]" : ",") + "\n";
        }
    }
    text += "      }\n    }\n  ]\n}\n";
    return text;
}

// Twenty parts, each with a hundred position and a hundred orientation keys.
std::string keyFrames()
{
    const int parts = 20;
    const int keys = 100;
    std::string text = "#VRML V2.0 utf8\n";
    for (int part = 0; part < parts; ++part) {
        std::string times;
        std::string positions;
        std::string orientations;
        for (int key = 0; key < keys; ++key) {
            const std::string time = std::to_string(key / double(keys));
            times += time + ", ";
            positions += time + " 0.5 -0.25, ";
            orientations += "0 1 0 " + time + ", ";
        }
        text += "Transform { children [\n  PositionInterpolator { key [ " + times
                + "] keyValue [ " + positions + "] }\n  OrientationInterpolator { key [ " + times
                + "] keyValue [ " + orientations + "] }\n] }\n";
    }
    return text;
}

void LoadTenThousandTriangleMesh(benchmark::State& state)
{
    static const TemporaryFile file("grid.wrl", gridMesh());
    GraphicNode check;
    WRLSceneLoader::load(file.path.c_str(), check);
    if (check.getChildren().size() != 1 || check.getChildren().front()->getFaces().size() != 30000) {
        state.SkipWithError("the generated mesh did not load as 10 000 triangles");
        return;
    }
    for (auto _ : state) {
        GraphicNode root;
        WRLSceneLoader::load(file.path.c_str(), root);
        benchmark::DoNotOptimize(root.getChildren().front()->getFaces().data());
    }
    state.SetItemsProcessed(state.iterations() * 10000); // triangles
}
BENCHMARK(LoadTenThousandTriangleMesh)->Unit(benchmark::kMillisecond);

void LoadKeyFrameFile(benchmark::State& state)
{
    static const TemporaryFile file("keys.wrl", keyFrames());
    TimeSensor check;
    WRLAnimationLoader::load(file.path.c_str(), check);
    if (check.getChilds().size() != 20 || !check.getChilds().back()->hasRotationKeyFrame()) {
        state.SkipWithError("the generated key frames did not load");
        return;
    }
    for (auto _ : state) {
        TimeSensor root;
        WRLAnimationLoader::load(file.path.c_str(), root);
        benchmark::DoNotOptimize(root.getChilds().data());
    }
}
BENCHMARK(LoadKeyFrameFile)->Unit(benchmark::kMillisecond);

} // namespace

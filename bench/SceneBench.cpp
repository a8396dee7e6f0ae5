// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing cost of the scene graph: a thousand placed instances of one shared
// mesh, with display lists on and off. Needs a display (run under xvfb-run).
#include <GL/glu.h>

#include <cmath>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "scene/TransformNode.h"
#include "scene/graphicnode.h"

namespace {

void setUpLighting()
{
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT1);
    glEnable(GL_COLOR_MATERIAL);
}

// A lumpy sphere of about two hundred triangles: a character-sized mesh.
GraphicNode* characterSizedMesh()
{
    auto* mesh = new GraphicNode();
    const int rings = 10;
    const int sectors = 10;
    for (int ring = 0; ring <= rings; ++ring) {
        double theta = M_PI * ring / rings;
        for (int sector = 0; sector < sectors; ++sector) {
            double phi = 2 * M_PI * sector / sectors;
            mesh->addVertex(static_cast<float>(0.4 * std::sin(theta) * std::cos(phi)),
                            static_cast<float>(0.9 + 0.9 * std::cos(theta)),
                            static_cast<float>(0.4 * std::sin(theta) * std::sin(phi)));
        }
    }
    for (int ring = 0; ring < rings; ++ring) {
        for (int sector = 0; sector < sectors; ++sector) {
            int a = ring * sectors + sector;
            int b = ring * sectors + (sector + 1) % sectors;
            mesh->addFace(a, a + sectors, b);
            mesh->addFace(b, a + sectors, b + sectors);
        }
    }
    mesh->setColor(0.3f, 0.3f, 0.8f);
    mesh->computeNormal();
    return mesh;
}

void ThousandSharedInstances(benchmark::State& state)
{
    if (!openBenchWindow()) {
        state.SkipWithError("needs a display: run under xvfb-run");
        return;
    }
    setUpLighting();
    GraphicNode::useDisplayList = state.range(0) != 0;
    std::unique_ptr<GraphicNode> mesh(characterSizedMesh());
    std::vector<std::unique_ptr<TransformNode>> placed;
    for (int i = 0; i < 1000; ++i) {
        auto node = std::make_unique<TransformNode>(mesh.get());
        node->setTranslation(static_cast<float>(i % 40) - 20, 0, -static_cast<float>(i / 40) - 5);
        placed.push_back(std::move(node));
    }
    glViewport(0, 0, FRAME_WIDTH, FRAME_HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, static_cast<double>(FRAME_WIDTH) / FRAME_HEIGHT, 0.1, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 15, 10, 0, 0, -15, 0, 1, 0);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        GraphicNode::resetTriangleCount();
        for (auto& node : placed) {
            node->draw();
        }
        glFinish();
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["triangles"] = GraphicNode::getTriangleCount();
    GraphicNode::useDisplayList = true;
}
BENCHMARK(ThousandSharedInstances)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

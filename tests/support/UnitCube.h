// SPDX-License-Identifier: GPL-3.0-or-later
// A unit cube made as the game's block meshes are: origin at the middle of the
// bottom face, z towards the viewer, counter-clockwise faces seen from outside.
#pragma once

#include <memory>

#include "scene/graphicnode.h"

inline std::unique_ptr<GraphicNode> unitCube()
{
    auto mesh = std::make_unique<GraphicNode>();
    for (float x : {-0.5f, 0.5f}) {
        for (float y : {0.0f, 1.0f}) {
            for (float z : {-0.5f, 0.5f}) {
                mesh->addVertex(x, y, z);
            }
        }
    }
    // Vertex index = 4 x + 2 y + z (each 0 or 1).
    const int quads[6][4] = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1},
                             {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
    for (const auto& quad : quads) {
        mesh->addFace(quad[0], quad[1], quad[2]);
        mesh->addFace(quad[0], quad[2], quad[3]);
    }
    return mesh;
}

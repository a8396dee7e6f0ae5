// The battlefield as the view draws it: a block node per occupied cell, built
// at every new map, of which only the blocks with an empty neighbour are drawn,
// and the blue wire box around the grid.
#include <GL/freeglut.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <vector>

#include "animation/WindAnimation.h"
#include "scene/TransformNode.h"
#include "view/ArenaView.h"

void ArenaView::onNewMap(int w, int d, int h, bool*** terrain, const Vector& wind)
{
    width = w;
    depth = d;
    height = h;
    windAnimation->setDirection(wind);
    std::cout << "New Map: " << w << " " << d << " " << h << std::endl;
    cleanup();
    grassFaces = std::make_unique<BlockFaces>(*models["grass"]);
    dirtFaces = std::make_unique<BlockFaces>(*models["dirt"]);
    chunks.reset(w, d, h, grassFaces.get(), dirtFaces.get());

    GraphicNode* grass = models["grass"];
    GraphicNode* dirt = models["dirt"];
    int count = 0;
    for (int x = 0; x < w; ++x) {
        for (int z = 0; z < d; ++z) {
            for (int y = 0; y < h; ++y) {
                if (!terrain[x][z][y]) {
                    continue;
                }
                const Vector cell(x, y, z);
                // Covered blocks are dirt, the top of each column grass.
                const bool covered = y < h - 1 && terrain[x][z][y + 1];
                auto* node = new TransformNode(covered ? dirt : grass);
                node->setTranslation(static_cast<float>(x + 0.5), static_cast<float>(y),
                                     static_cast<float>(-0.5 - z));
                blockNodes[cell] = node;
                blockPositions[node] = cell;
                ++count;
            }
        }
    }
    std::cout << "There is " << count << " block on this terrain" << std::endl;
    calculateSurfaceBlocks();
}

void ArenaView::calculateSurfaceBlocks()
{
    static const Vector NEIGHBOURS[] = {Vector(1, 0, 0),  Vector(-1, 0, 0), Vector(0, 1, 0),
                                        Vector(0, -1, 0), Vector(0, 0, 1),  Vector(0, 0, -1)};
    surfaceBlocks.clear();
    int shown = 0;
    for (const auto& [node, cell] : blockPositions) {
        for (const Vector& offset : NEIGHBOURS) {
            const Vector neighbour = cell + offset;
            // A lookup that finds nothing must not create an entry.
            if (!isInsideGrid(neighbour) || blockNodes.find(neighbour) == blockNodes.end()) {
                surfaceBlocks.push_back(node);
                ++shown;
                break;
            }
        }
    }
    std::cout << "Displaying the " << shown << " blocks out of " << blockPositions.size() << std::endl;

    // The chunks hold the blocks drawn as terrain now, each of the kind its
    // node shows; only cells that changed make their chunks rebuild.
    std::vector<TerrainChunks::Block> drawn(static_cast<std::size_t>(std::max(width, 0)) * std::max(depth, 0)
                                                * std::max(height, 0),
                                            TerrainChunks::EMPTY);
    auto index = [this](int x, int y, int z) { return (static_cast<std::size_t>(x) * depth + z) * height + y; };
    const GraphicNode* grass = models["grass"];
    for (const auto& [node, cell] : blockPositions) {
        if (!isInsideGrid(cell)) {
            continue;
        }
        const bool isGrass = !node->getChildren().empty() && node->getChildren().front() == grass;
        drawn[index(static_cast<int>(cell.x), static_cast<int>(cell.y), static_cast<int>(cell.z))] =
            isGrass ? TerrainChunks::GRASS : TerrainChunks::DIRT;
    }
    for (int x = 0; x < width; ++x) {
        for (int z = 0; z < depth; ++z) {
            for (int y = 0; y < height; ++y) {
                chunks.setBlock(x, y, z, drawn[index(x, y, z)]);
            }
        }
    }
}

void ArenaView::setChunksEnabled(bool enabled)
{
    chunksEnabled = enabled;
}

bool ArenaView::isChunksEnabled() const
{
    return chunksEnabled;
}

const TerrainChunks& ArenaView::getChunks() const
{
    return chunks;
}

void ArenaView::renderTerrain()
{
    if (timeSystem.getTick() > pendingBlocksTick && !pendingBlocks.empty()) {
        for (const auto& [node, cell] : pendingBlocks) {
            blockPositions[node] = cell;
        }
        pendingBlocks.clear();
        calculateSurfaceBlocks();
    }
    if (chunksEnabled) {
        chunks.rebuild();
        chunks.draw();
        GraphicNode::countTriangles(static_cast<int>(chunks.getDrawnTriangleCount()));
        return;
    }
    for (GraphicNode* block : surfaceBlocks) {
        block->draw();
    }
}

void ArenaView::renderBounds()
{
    glColor3f(0.0f, 0.0f, 1.0f);
    glPushMatrix();
    glTranslatef(static_cast<float>(width / 2.0), static_cast<float>(height / 2.0),
                 static_cast<float>(-depth / 2.0));
    glScalef(static_cast<float>(width), static_cast<float>(height), static_cast<float>(depth));
    glutWireCube(1.0);
    glPopMatrix();
}

bool ArenaView::isInsideGrid(const Vector& v) const
{
    return 0.0 <= v.x && v.x < width && 0.0 <= v.y && v.y < height && 0.0 <= v.z && v.z < depth;
}

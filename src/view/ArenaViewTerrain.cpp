// The battlefield as the view draws it: a block node per occupied cell, built
// at every new map, of which only the blocks with an empty neighbour are drawn,
// and the blue wire box around the grid.
#include <GL/freeglut.h>

#include <iostream>

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

// SPDX-License-Identifier: GPL-3.0-or-later
// A battlefield grid built by a test, indexed [x][z][y] like the model's, to
// hand to a view's onNewMap.
#pragma once

#include <functional>
#include <memory>
#include <vector>

class TestGrid {
public:
    // solid(x, y, z) says which cells hold a block.
    TestGrid(int width, int depth, int height, const std::function<bool(int, int, int)>& solid)
        : cells(std::make_unique<bool[]>(static_cast<std::size_t>(width) * depth * height + 1)),
          columns(static_cast<std::size_t>(width) * depth + 1),
          rows(static_cast<std::size_t>(width) + 1)
    {
        for (int x = 0; x < width; ++x) {
            rows[x] = &columns[static_cast<std::size_t>(x) * depth];
            for (int z = 0; z < depth; ++z) {
                rows[x][z] = &cells[(static_cast<std::size_t>(x) * depth + z) * height];
                for (int y = 0; y < height; ++y) {
                    rows[x][z][y] = solid(x, y, z);
                }
            }
        }
    }

    bool*** terrain() { return rows.data(); }

private:
    std::unique_ptr<bool[]> cells;
    std::vector<bool*> columns;
    std::vector<bool**> rows;
};

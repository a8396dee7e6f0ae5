// SPDX-License-Identifier: GPL-3.0-or-later
// Where points of the battlefield fall in the window, from the scene's
// matrices as one frame set them: for the aids drawn in window pixels over
// the picture (health bars, edge markers).
#pragma once

#include <array>

#include "math/Vector.h"

class SceneProjection {
public:
    // Reads the model-view and projection matrices and the viewport; call
    // with the frame's camera loaded.
    void capture();

    // Clip coordinates (x, y, z, w) of a point in model coordinates.
    std::array<double, 4> clip(const Vector& model) const;
    // The window pixel of a model point, y running down from the top edge of
    // a window this high; false when the point is behind the eye or beyond
    // the far plane.
    bool toWindow(const Vector& model, int windowHeight, Vector& pixel) const;
    int getViewportWidth() const;
    int getViewportHeight() const;

private:
    std::array<double, 16> modelview{};  // column-major, as GL gives it
    std::array<double, 16> projection{};
    std::array<int, 4> viewport{};       // x, y, width, height
};

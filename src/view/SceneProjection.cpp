// SPDX-License-Identifier: GPL-3.0-or-later
// The battlefield's points carried to window pixels through the frame's
// matrices, so that flat aids can be drawn where the casters stand.
#include "view/SceneProjection.h"

#include <GL/gl.h>

namespace {

// m times v, m column-major.
std::array<double, 4> transform(const std::array<double, 16>& m, const std::array<double, 4>& v)
{
    std::array<double, 4> out{};
    for (int row = 0; row < 4; ++row) {
        out[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
    }
    return out;
}

} // namespace

void SceneProjection::capture()
{
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview.data());
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    glGetIntegerv(GL_VIEWPORT, viewport.data());
}

std::array<double, 4> SceneProjection::clip(const Vector& model) const
{
    // The scene mirrors the model's z.
    return transform(projection, transform(modelview, {model.x, model.y, -model.z, 1.0}));
}

bool SceneProjection::toWindow(const Vector& model, int windowHeight, Vector& pixel) const
{
    const std::array<double, 4> c = clip(model);
    if (c[3] <= 0.0 || c[2] > c[3]) {
        return false;
    }
    const double x = viewport[0] + (c[0] / c[3] + 1.0) * viewport[2] / 2.0;
    const double y = viewport[1] + (c[1] / c[3] + 1.0) * viewport[3] / 2.0;
    pixel = Vector(x, windowHeight - y, 0);
    return true;
}

int SceneProjection::getViewportWidth() const
{
    return viewport[2];
}

int SceneProjection::getViewportHeight() const
{
    return viewport[3];
}

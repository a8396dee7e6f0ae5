// SPDX-License-Identifier: GPL-3.0-or-later
// kestrune_icon: draws the game's icon, the wizard seen from the front and a
// little to the side, on a transparent background, and writes it as a PNG.
// It rasterises the mesh itself (no window or GL context needed), so the icon
// can be made while building.
//
//     kestrune_icon WIZARD.wrl ICON.png [SIZE]      (default size 128)
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "math/Vector.h"
#include "platform/PngWriter.h"
#include "scene/graphicnode.h"
#include "scene/wrlsceneloader.h"

namespace {

// A column-major affine transform, composed like the game's node draws.
struct Transform {
    double m[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}; // 3 x 3 columns, then translation

    Transform then(const Transform& b) const
    {
        Transform out;
        for (int column = 0; column < 3; ++column) {
            for (int row = 0; row < 3; ++row) {
                out.m[column * 3 + row] = m[row] * b.m[column * 3] + m[3 + row] * b.m[column * 3 + 1]
                                        + m[6 + row] * b.m[column * 3 + 2];
            }
        }
        for (int row = 0; row < 3; ++row) {
            out.m[9 + row] = m[row] * b.m[9] + m[3 + row] * b.m[10] + m[6 + row] * b.m[11] + m[9 + row];
        }
        return out;
    }
    Vector apply(const Vector& v) const
    {
        return Vector(m[0] * v.x + m[3] * v.y + m[6] * v.z + m[9], m[1] * v.x + m[4] * v.y + m[7] * v.z + m[10],
                      m[2] * v.x + m[5] * v.y + m[8] * v.z + m[11]);
    }
    static Transform of(const GraphicNode& node)
    {
        Transform t;
        const Vector& axis = node.getRotationAxis();
        const double length = axis.getLength();
        if (length > 0 && node.getRotationAngle() != 0.0f) {
            const double x = axis.x / length;
            const double y = axis.y / length;
            const double z = axis.z / length;
            const double a = node.getRotationAngle() * M_PI / 180;
            const double c = std::cos(a);
            const double s = std::sin(a);
            const double k = 1 - c;
            const double r[9] = {x * x * k + c, y * x * k + z * s, x * z * k - y * s,
                                 x * y * k - z * s, y * y * k + c, y * z * k + x * s,
                                 x * z * k + y * s, y * z * k - x * s, z * z * k + c};
            std::copy(r, r + 9, t.m);
        }
        const Vector& scale = node.getScale();
        for (int row = 0; row < 3; ++row) {
            t.m[row] *= scale.x;
            t.m[3 + row] *= scale.y;
            t.m[6 + row] *= scale.z;
        }
        const Vector& move = node.getTranslation();
        t.m[9] = move.x;
        t.m[10] = move.y;
        t.m[11] = move.z;
        return t;
    }
};

struct Triangle {
    Vector corners[3];
    std::array<double, 3> colour;
};

void collect(const GraphicNode& node, const Transform& parent, std::vector<Triangle>& out)
{
    const Transform world = parent.then(Transform::of(node));
    const std::vector<float>& vertices = node.getVertices();
    const std::vector<int>& faces = node.getFaces();
    const int count = static_cast<int>(vertices.size() / 3);
    const float* colour = node.getColor();
    for (std::size_t f = 0; f + 2 < faces.size(); f += 3) {
        Triangle triangle;
        bool valid = true;
        for (int corner = 0; corner < 3; ++corner) {
            const int index = faces[f + corner];
            valid = valid && index >= 0 && index < count;
            if (valid) {
                const float* v = &vertices[3 * static_cast<std::size_t>(index)];
                triangle.corners[corner] = world.apply(Vector(v[0], v[1], v[2]));
            }
        }
        if (valid) {
            triangle.colour = {colour[0], colour[1], colour[2]};
            out.push_back(triangle);
        }
    }
    for (const GraphicNode* child : node.getChildren()) {
        collect(*child, world, out);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: kestrune_icon WIZARD.wrl ICON.png [SIZE]" << std::endl;
        return 2;
    }
    const int size = argc > 3 ? std::atoi(argv[3]) : 128;
    if (size < 16 || size > 1024) {
        std::cerr << "kestrune_icon: size " << argv[3] << " refused: 16 to 1024" << std::endl;
        return 2;
    }
    GraphicNode wizard;
    WRLSceneLoader::load(argv[1], wizard);

    // Turned a little towards the viewer's left, the camera slightly above.
    Transform view;
    const double turn = -25 * M_PI / 180;
    const double tilt = 8 * M_PI / 180;
    view.m[0] = std::cos(turn);
    view.m[2] = -std::sin(turn);
    view.m[6] = std::sin(turn);
    view.m[8] = std::cos(turn);
    Transform lean;
    lean.m[4] = std::cos(tilt);
    lean.m[5] = std::sin(tilt);
    lean.m[7] = -std::sin(tilt);
    lean.m[8] = std::cos(tilt);
    std::vector<Triangle> triangles;
    collect(wizard, lean.then(view), triangles);
    if (triangles.empty()) {
        std::cerr << "kestrune_icon: no triangles in " << argv[1] << std::endl;
        return 1;
    }

    // Fit the figure into the square with a small margin.
    double low[2] = {1e9, 1e9};
    double high[2] = {-1e9, -1e9};
    for (const Triangle& t : triangles) {
        for (const Vector& c : t.corners) {
            low[0] = std::min(low[0], c.x);
            low[1] = std::min(low[1], c.y);
            high[0] = std::max(high[0], c.x);
            high[1] = std::max(high[1], c.y);
        }
    }
    // Drawn four times larger, then averaged down for smooth edges.
    const int sample = 4;
    const int big = size * sample;
    const double extent = std::max(high[0] - low[0], high[1] - low[1]) * 1.08;
    const double centreX = (low[0] + high[0]) / 2;
    const double centreY = (low[1] + high[1]) / 2;
    auto toPixel = [&](const Vector& v) {
        return Vector((v.x - centreX) / extent * big + big / 2.0, (centreY - v.y) / extent * big + big / 2.0, v.z);
    };
    const Vector light = Vector(-0.4, 0.6, 0.7).getNormalizedCopy();
    std::vector<double> depth(static_cast<std::size_t>(big) * big, -1e9);
    std::vector<std::array<double, 4>> picture(static_cast<std::size_t>(big) * big, {0, 0, 0, 0});
    for (const Triangle& t : triangles) {
        const Vector normal = (t.corners[1] - t.corners[0]) * (t.corners[2] - t.corners[0]);
        const double length = normal.getLength();
        if (length <= 0 || normal.z <= 0) {
            continue; // edge-on or facing away
        }
        const double shade = 0.35 + 0.65 * std::max(0.0, (normal * (1.0 / length)).dot(light));
        const Vector a = toPixel(t.corners[0]);
        const Vector b = toPixel(t.corners[1]);
        const Vector c = toPixel(t.corners[2]);
        const double area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        if (area == 0) {
            continue;
        }
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
        const int x1 = std::min(big - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
        const int y1 = std::min(big - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const double px = x + 0.5;
                const double py = y + 0.5;
                const double w0 = ((b.x - px) * (c.y - py) - (b.y - py) * (c.x - px)) / area;
                const double w1 = ((c.x - px) * (a.y - py) - (c.y - py) * (a.x - px)) / area;
                const double w2 = 1 - w0 - w1;
                if (w0 < 0 || w1 < 0 || w2 < 0) {
                    continue;
                }
                const double z = w0 * a.z + w1 * b.z + w2 * c.z;
                const std::size_t at = static_cast<std::size_t>(y) * big + x;
                if (z <= depth[at]) {
                    continue;
                }
                depth[at] = z;
                picture[at] = {std::min(1.0, t.colour[0] * shade), std::min(1.0, t.colour[1] * shade),
                               std::min(1.0, t.colour[2] * shade), 1.0};
            }
        }
    }

    std::vector<unsigned char> rgba(static_cast<std::size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::array<double, 4> sum = {0, 0, 0, 0};
            for (int sy = 0; sy < sample; ++sy) {
                for (int sx = 0; sx < sample; ++sx) {
                    const auto& p = picture[static_cast<std::size_t>(y * sample + sy) * big + x * sample + sx];
                    for (int channel = 0; channel < 3; ++channel) {
                        sum[channel] += p[channel] * p[3];
                    }
                    sum[3] += p[3];
                }
            }
            unsigned char* out = &rgba[(static_cast<std::size_t>(y) * size + x) * 4];
            const double coverage = sum[3] / (sample * sample);
            for (int channel = 0; channel < 3; ++channel) {
                // Colours not darkened by the transparent samples around edges.
                out[channel] = static_cast<unsigned char>(sum[3] > 0 ? std::lround(255 * sum[channel] / sum[3]) : 0);
            }
            out[3] = static_cast<unsigned char>(std::lround(255 * coverage));
        }
    }
    if (!writePng(argv[2], size, size, rgba, 4, false)) {
        std::cerr << "kestrune_icon: cannot write " << argv[2] << std::endl;
        return 1;
    }
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Carries a node along a path at constant speed: a shot along its trajectory,
// a block flung or falling, a player dropping, the arrow bobbing above a player.
#include "animation/PathAnimation.h"

#include <algorithm>
#include <cmath>

#include "scene/graphicnode.h"

namespace {

// The game turns radians into degrees with this value of pi everywhere, so a
// quarter turn reads 89.99979, not 90.
constexpr double GAME_PI = 3.1416;

// acos of a cosine that rounding may have pushed just outside [-1, 1].
double degreesFromCosine(double cosine)
{
    return 180.0 * std::acos(std::clamp(cosine, -1.0, 1.0)) / GAME_PI;
}

} // namespace

PathAnimation::PathAnimation(long length, TimeSystem& ts, bool looping, const std::list<Vector>& path,
                             GraphicNode* node, bool oriented)
    : Animation(length, ts, looping),
      node(node),
      headingNode(nullptr),
      elevationNode(nullptr),
      root(node),
      oriented(oriented),
      continuation(nullptr),
      deleteNodeOnDestroy(true)
{
    setPath(path);
    if (oriented) {
        root = new GraphicNode();
        headingNode = new GraphicNode();
        elevationNode = new GraphicNode();
        root->addGraphicNode(headingNode);
        headingNode->addGraphicNode(elevationNode);
        // A null child would be drawn; without a node the chain stays empty.
        if (node != nullptr) {
            elevationNode->addGraphicNode(node);
        }
    }
}

PathAnimation::~PathAnimation()
{
    if (root == nullptr) {
        return;
    }
    if (continuation != nullptr) {
        continuation->addGraphicNode(root);
    } else if (deleteNodeOnDestroy) {
        delete root;
    }
}

void PathAnimation::setPath(const std::list<Vector>& path)
{
    points.assign(path.begin(), path.end());
    segments.clear();
    segmentShares.clear();

    double total = 0.0;
    std::vector<double> lengths;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        Vector segment = points[i + 1] - points[i];
        segments.push_back(segment);
        lengths.push_back(std::hypot(segment.x, segment.y, segment.z));
        total += lengths.back();
    }
    // Points that all coincide have no length to share out: every share is 0
    // and the node stays at the first point.
    for (double length : lengths) {
        segmentShares.push_back(total > 0.0 ? length / total : 0.0);
    }
}

void PathAnimation::setContinuation(GraphicNode* target)
{
    continuation = target;
}

void PathAnimation::setDeleteNodeOnDestroy(bool on)
{
    deleteNodeOnDestroy = on;
}

void PathAnimation::render()
{
    if (points.empty() || root == nullptr) {
        return;
    }

    Vector position = points.front();
    Vector direction(0, 0, 0); // a single point has no direction
    if (!segments.empty()) {
        if (over()) {
            position = points.back();
            direction = segments.back();
        } else {
            double progress = getProgress();
            direction = segments.front();
            if (progress > 0.0) {
                std::size_t current = 0;
                double before = 0.0; // shares of the segments already passed
                // The last segment takes whatever the rounded shares leave
                // over, so a progress just below 1 never walks off the end.
                while (current + 1 < segmentShares.size() && before + segmentShares[current] < progress) {
                    before += segmentShares[current];
                    ++current;
                }
                double share = segmentShares[current];
                double local = share > 0.0 ? std::clamp((progress - before) / share, 0.0, 1.0) : 0.0;
                position = points[current] + segments[current] * local;
                direction = segments[current];
            }
        }
    }

    // The scene mirrors the model's z axis.
    root->setTranslation(static_cast<float>(position.x), static_cast<float>(position.y),
                         static_cast<float>(-position.z));
    if (oriented) {
        orient(direction);
    }
    root->draw();
}

void PathAnimation::orient(const Vector& direction)
{
    double heading = 0.0;   // degrees about +Y
    double elevation = 0.0; // degrees about +Z, after the heading
    double length = std::hypot(direction.x, direction.y, direction.z);
    double flatLength = std::hypot(direction.x, direction.z);
    if (flatLength > 0.0) {
        Vector flat(direction.x / flatLength, 0.0, direction.z / flatLength);
        Vector unit(direction.x / length, direction.y / length, direction.z / length);
        // A positive turn about +Y takes +X to the scene's -z, which is the
        // model's +z: the heading keeps the model's sign.
        heading = degreesFromCosine(flat.x);
        if (flat.z < 0.0) {
            heading = -heading;
        }
        elevation = degreesFromCosine(unit.dot(flat));
        if (unit.y < 0.0) {
            elevation = -elevation;
        }
    } else if (length > 0.0) {
        // Straight up or down has no heading to follow: the node keeps facing
        // +X, so the pose depends on the progress alone, and tips over fully.
        elevation = direction.y > 0.0 ? 90.0 : -90.0;
    }
    headingNode->setRotation(0.0f, 1.0f, 0.0f, static_cast<float>(heading));
    elevationNode->setRotation(0.0f, 0.0f, 1.0f, static_cast<float>(elevation));
}

GraphicNode* PathAnimation::getRoot() const
{
    return root;
}

GraphicNode* PathAnimation::getHeadingNode() const
{
    return headingNode;
}

GraphicNode* PathAnimation::getElevationNode() const
{
    return elevationNode;
}

const std::vector<double>& PathAnimation::getSegmentShares() const
{
    return segmentShares;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Moves a scene node along a polyline at constant speed, optionally turning its
// +X axis along the current segment. Shots, flung and falling blocks, falling
// players and the current-player arrow all travel this way.
#pragma once

#include <list>
#include <vector>

#include "animation/Animation.h"
#include "math/Vector.h"

class GraphicNode;

class PathAnimation : public Animation {
public:
    // path in model coordinates (drawn with z mirrored); node is taken over as
    // described at the destructor. With oriented, node is wrapped in a heading
    // and an elevation node that turn it along the path.
    PathAnimation(long length, TimeSystem& ts, bool looping, const std::list<Vector>& path,
                  GraphicNode* node, bool oriented);
    // With a continuation, the node (with its wrappers) is handed to it and keeps
    // the pose of the last render; otherwise it is deleted when
    // deleteNodeOnDestroy is set, or left to the caller (getRoot) when not.
    ~PathAnimation() override;
    PathAnimation(const PathAnimation&) = delete;
    PathAnimation& operator=(const PathAnimation&) = delete;

    // Replaces the path; length and start stay. An empty path draws nothing; a
    // single point, or points that all coincide, hold the node at the first point.
    void setPath(const std::list<Vector>& path);
    // target (not owned) receives the node when this animation is deleted.
    void setContinuation(GraphicNode* target);
    void setDeleteNodeOnDestroy(bool on);

    // Places, turns and draws the node for the current progress.
    void render() override;

    // The translated node: the moved node itself, or the top of its wrappers.
    GraphicNode* getRoot() const;
    // Null unless oriented.
    GraphicNode* getHeadingNode() const;
    GraphicNode* getElevationNode() const;
    // Each segment's length over the path's total length (all 0 when the total is 0).
    const std::vector<double>& getSegmentShares() const;

private:
    // Turns the wrappers so that +X points along direction (model coordinates).
    void orient(const Vector& direction);

    std::vector<Vector> points;
    std::vector<double> segmentShares;
    std::vector<Vector> segments; // point i+1 minus point i
    GraphicNode* node;            // owned through root when oriented; see the destructor
    GraphicNode* headingNode;     // owned by root; null unless oriented
    GraphicNode* elevationNode;   // owned by headingNode; null unless oriented
    GraphicNode* root;            // owned unless handed on or left to the caller; see the destructor
    bool oriented;
    GraphicNode* continuation;    // not owned; a node of the scene
    bool deleteNodeOnDestroy;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// While a caster's turn waits for its cast, each opponent the picture does
// not show is marked at the window's edge, on the line from the window's
// middle towards it, in its colour, with its name and how many cells away it
// stands: "Torva Mildew 23". The left edge's markers stay below the
// overlay's lines.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "math/Vector.h"
#include "view/SceneProjection.h"

class PlayingAids;
class ViewCharacters;
class ViewOverlay;

struct EdgeMarker {
    int id;            // the opponent's player id
    Vector tip;        // window pixels, y down from the top: the arrow's point
    Vector direction;  // unit, y down: from the window's middle towards the opponent
    std::string label; // its name and distance in cells
};

class EdgeMarkers {
public:
    // Pixels kept between a marker's point and the window's border.
    static constexpr int MARGIN = 6;

    // All not owned, all outliving the markers: the characters; the aids,
    // which say when a turn waits and whether aids are shown; the overlay,
    // for the window's size.
    EdgeMarkers(const ViewCharacters& characters, const PlayingAids& aids, const ViewOverlay& overlay);

    // Finds, in the scene's matrices, the opponents outside the picture and
    // where their markers go; then draws them over the frame.
    void place();
    void display() const;
    const std::vector<EdgeMarker>& getMarkers() const;

private:
    // The marker of a point seen at these clip coordinates, outside the
    // picture, or false when the picture shows it.
    bool markerAt(const std::array<double, 4>& clip, EdgeMarker& marker) const;

    const ViewCharacters& characters; // not owned
    const PlayingAids& aids;          // not owned
    const ViewOverlay& overlay;       // not owned
    std::vector<EdgeMarker> markers;  // this frame's
    SceneProjection projection;
};

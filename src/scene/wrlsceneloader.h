// SPDX-License-Identifier: GPL-3.0-or-later
// Builds a character's GraphicNode tree from its mesh file: a small subset of
// VRML 2.0 text in which each Transform becomes one node, in file order.
#pragma once

#include <cstdio>

class GraphicNode;
class WrlTokenReader;

class WRLSceneLoader {
public:
    // Adds one child to root per top-level Transform of the file at path.
    // A file that cannot be opened leaves root as it was; a broken file leaves
    // what was read before the break. Either writes one warning line on
    // standard error naming the file; a sound file writes nothing.
    static void load(const char* path, GraphicNode& root);

    // Each reads one piece of the file into node; reader counts the lines
    // and keeps the load's warning.
    static void parseTransform(std::FILE* file, GraphicNode& node, WrlTokenReader& reader);
    static void parseChildren(std::FILE* file, GraphicNode& node, WrlTokenReader& reader);
    static void parseShape(std::FILE* file, GraphicNode& node, WrlTokenReader& reader);
    static void parseAppearance(std::FILE* file, GraphicNode& node, WrlTokenReader& reader);
    static void parseMaterial(std::FILE* file, GraphicNode& node, WrlTokenReader& reader);
    static void parseGeometry(std::FILE* file, GraphicNode& node, WrlTokenReader& reader);
    static void parseCoord(std::FILE* file, GraphicNode& node, WrlTokenReader& reader);
    // ccw 0 turns each clockwise face counter-clockwise. Faces are kept as
    // written, also when their points come later or never (drawing leaves
    // out what it cannot draw); only a face with a corner that is no whole
    // number is dropped.
    static void parseCoordIndex(std::FILE* file, GraphicNode& node, int ccw,
                                WrlTokenReader& reader);
};

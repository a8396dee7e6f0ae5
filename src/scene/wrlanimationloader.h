// SPDX-License-Identifier: GPL-3.0-or-later
// Builds a character animation's TimeSensor tree from its key-frame file: the
// Transform hierarchy of the character's mesh file, each Transform holding
// the interpolators of that part. One sensor per Transform, in file order.
#pragma once

#include <cstdio>

class TimeSensor;
class WrlTokenReader;

class WRLAnimationLoader {
public:
    // Adds one child sensor to root per top-level Transform of the file at
    // path. A file that cannot be opened leaves root as it was; a broken file
    // leaves what was read before the break. Either writes one warning line on
    // standard error naming the file; a sound file writes nothing.
    static void load(const char* path, TimeSensor& root);

    // Each reads one piece of the file into sensor; reader counts the lines
    // and keeps the load's warning.
    static void parseTransform(std::FILE* file, TimeSensor& sensor, WrlTokenReader& reader);
    static void parsePositionInterpolator(std::FILE* file, TimeSensor& sensor,
                                          WrlTokenReader& reader);
    static void parsePositionKeyValue(std::FILE* file, TimeSensor& sensor, WrlTokenReader& reader);
    static void parsePositionTimeKey(std::FILE* file, TimeSensor& sensor, WrlTokenReader& reader);
    static void parseOrientationInterpolator(std::FILE* file, TimeSensor& sensor,
                                             WrlTokenReader& reader);
    static void parseOrientationKeyValue(std::FILE* file, TimeSensor& sensor,
                                         WrlTokenReader& reader);
    static void parseOrientationTimeKey(std::FILE* file, TimeSensor& sensor,
                                        WrlTokenReader& reader);
};

// SPDX-License-Identifier: GPL-3.0-or-later
// Loads the characters' key-frame animations (idle, cast, hurt, death) from
// their .wrl files into sensor trees that pair with the mesh trees by position.
#include "scene/wrlanimationloader.h"

#include <cmath>
#include <cstring>
#include <string>

#include "scene/WrlTokenReader.h"
#include "scene/timesensor.h"

namespace {

const float DEGREES_PER_RADIAN = 57.29578f;

bool isKeyword(const char* token, const char* keyword)
{
    return WrlTokenReader::isKeyword(token, keyword);
}

// A bracketed list of numbers, each handed to useNumber; returns how many.
// The "[" may be joined to the first number and a "," to the end of any. A
// word that is no number repeats the number before it (0 at the start), so
// the values after it keep their places in the cycle.
template <typename UseNumber>
int readNumberList(std::FILE* file, WrlTokenReader& reader, const char* where,
                   UseNumber useNumber)
{
    if (!reader.skipToChar(file, '[', where)) {
        return 0;
    }
    char token[WrlTokenReader::TOKEN_SIZE];
    float number = 0.0f;
    int count = 0;
    int depth = 1;
    while (depth != 0 && reader.expectToken(file, token, where)) {
        if (token[0] == '[') {
            ++depth;
        }
        if (token[0] == ']') {
            --depth;
        }
        if (depth == 0) {
            break;
        }
        int numberLength = 0;
        if (std::sscanf(token, "%f%n", &number, &numberLength) != 1) {
            reader.warn(WrlTokenReader::quoted(token) + " in the " + where
                        + " is not a number; the value before it is used");
        } else if (!std::isfinite(number)) {
            reader.warn(std::string("a number out of range in the ") + where);
        } else if (token[numberLength + std::strspn(token + numberLength, ",]")] != '\0') {
            // Such as "3,4": the number after the comma would be lost unnoticed.
            reader.warn(WrlTokenReader::quoted(token) + " in the " + where
                        + " goes on after its number; the rest is ignored");
        }
        useNumber(number);
        ++count;
        // A "]" joined to the last number closes the list too, rather than
        // letting the list run on through the rest of the file.
        if (token[0] != '[' && token[0] != ']' && std::strchr(token, ']') != nullptr) {
            --depth;
        }
    }
    return count;
}

// Values come in groups (three numbers to a position, four to a rotation):
// an empty list or an incomplete last group is a mistake in the file.
void checkListLength(WrlTokenReader& reader, int count, int numbersPerValue, const char* where)
{
    if (count == 0) {
        reader.warn(std::string("empty ") + where);
    } else if (count % numbersPerValue != 0) {
        reader.warn(std::string("the ") + where + " holds " + std::to_string(count)
                    + " numbers, not a multiple of " + std::to_string(numbersPerValue)
                    + "; the last value is incomplete and ignored");
    }
}

} // namespace

void WRLAnimationLoader::load(const char* path, TimeSensor& root)
{
    WrlTokenReader::scanTopLevel(path, [&root](std::FILE* file, WrlTokenReader& reader) {
        parseTransform(file, *root.addTimeSensor(), reader);
    });
}

void WRLAnimationLoader::parseTransform(std::FILE* file, TimeSensor& sensor,
                                        WrlTokenReader& reader)
{
    // The Transform's own fields are the mesh file's business: only the
    // interpolators and the nested Transforms count here, at any depth.
    reader.scanBody(file, '{', '}', "Transform", [&](const char* token) {
        if (isKeyword(token, "PositionInterpolator")) {
            parsePositionInterpolator(file, sensor, reader);
        } else if (isKeyword(token, "OrientationInterpolator")) {
            parseOrientationInterpolator(file, sensor, reader);
        } else if (isKeyword(token, "Transform")) {
            parseTransform(file, *sensor.addTimeSensor(), reader);
        }
    });
}

void WRLAnimationLoader::parsePositionInterpolator(std::FILE* file, TimeSensor& sensor,
                                                   WrlTokenReader& reader)
{
    reader.scanBody(file, '{', '}', "PositionInterpolator", [&](const char* token) {
        if (isKeyword(token, "keyValue")) {
            parsePositionKeyValue(file, sensor, reader);
        } else if (isKeyword(token, "key")) {
            parsePositionTimeKey(file, sensor, reader);
        }
    });
}

void WRLAnimationLoader::parsePositionKeyValue(std::FILE* file, TimeSensor& sensor,
                                               WrlTokenReader& reader)
{
    float position[3];
    int filled = 0;
    const int count = readNumberList(file, reader, "position keyValue list", [&](float number) {
        position[filled++] = number;
        if (filled == 3) {
            sensor.addTranslationKey(position[0], position[1], position[2]);
            filled = 0;
        }
    });
    checkListLength(reader, count, 3, "position keyValue list");
}

void WRLAnimationLoader::parsePositionTimeKey(std::FILE* file, TimeSensor& sensor,
                                              WrlTokenReader& reader)
{
    const int count = readNumberList(file, reader, "position key list",
                                     [&](float time) { sensor.addTranslationTimeKey(time); });
    checkListLength(reader, count, 1, "position key list");
}

void WRLAnimationLoader::parseOrientationInterpolator(std::FILE* file, TimeSensor& sensor,
                                                      WrlTokenReader& reader)
{
    reader.scanBody(file, '{', '}', "OrientationInterpolator", [&](const char* token) {
        if (isKeyword(token, "keyValue")) {
            parseOrientationKeyValue(file, sensor, reader);
        } else if (isKeyword(token, "key")) {
            parseOrientationTimeKey(file, sensor, reader);
        }
    });
}

void WRLAnimationLoader::parseOrientationKeyValue(std::FILE* file, TimeSensor& sensor,
                                                  WrlTokenReader& reader)
{
    float rotation[4]; // axis x, y, z, then the angle in radians
    int filled = 0;
    const int count = readNumberList(file, reader, "orientation keyValue list", [&](float number) {
        rotation[filled++] = number;
        if (filled == 4) {
            sensor.addRotationKey(rotation[0], rotation[1], rotation[2],
                                  rotation[3] * DEGREES_PER_RADIAN);
            filled = 0;
        }
    });
    checkListLength(reader, count, 4, "orientation keyValue list");
}

void WRLAnimationLoader::parseOrientationTimeKey(std::FILE* file, TimeSensor& sensor,
                                                 WrlTokenReader& reader)
{
    const int count = readNumberList(file, reader, "orientation key list",
                                     [&](float time) { sensor.addRotationTimeKey(time); });
    checkListLength(reader, count, 1, "orientation key list");
}

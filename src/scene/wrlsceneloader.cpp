// SPDX-License-Identifier: GPL-3.0-or-later
// Loads the wizard's and sorcerer's meshes (and the other .wrl meshes of res/)
// into node trees: transforms, triangles and one diffuse colour per Transform.
#include "scene/wrlsceneloader.h"

#include <cstring>
#include <string>
#include <vector>

#include "scene/WrlTokenReader.h"
#include "scene/graphicnode.h"

namespace {

const float DEGREES_PER_RADIAN = 57.29578f;

bool isKeyword(const char* token, const char* keyword)
{
    return WrlTokenReader::isKeyword(token, keyword);
}

// A "]" anywhere in the word after a value closes its list, even where the
// list did not expect its end: a list that has lost its place must not run
// on through the rest of the file.
bool closesList(const char* separator)
{
    return std::strchr(separator, ']') != nullptr;
}

// Where the faces of one coordIndex list begin among the node's face
// indices, and the line of its keyword, for the warning about them.
struct IndexList {
    std::size_t firstIndex;
    int line;
};

// Points may follow the faces that use them, so a face's indices are only
// wrong if the whole geometry node leaves them without a vertex. Such a face
// stays as written: drawing leaves out whatever it cannot draw.
void warnOfMissingVertices(const GraphicNode& node, const std::vector<IndexList>& lists,
                           WrlTokenReader& reader)
{
    const std::vector<int>& faces = node.getFaces();
    const long vertexCount = static_cast<long>(node.getVertices().size() / 3);
    for (std::size_t list = 0; list < lists.size(); ++list) {
        const std::size_t end =
            list + 1 < lists.size() ? lists[list + 1].firstIndex : faces.size();
        for (std::size_t index = lists[list].firstIndex; index < end; ++index) {
            if (faces[index] < 0 || faces[index] >= vertexCount) {
                const std::size_t face = index - index % 3;
                reader.warnAt(lists[list].line,
                              "face " + std::to_string(faces[face]) + " "
                                  + std::to_string(faces[face + 1]) + " "
                                  + std::to_string(faces[face + 2])
                                  + " refers to a vertex the geometry does not have;"
                                    " it is not drawn");
                return;
            }
        }
    }
}

} // namespace

void WRLSceneLoader::load(const char* path, GraphicNode& root)
{
    WrlTokenReader::scanTopLevel(path, [&root](std::FILE* file, WrlTokenReader& reader) {
        parseTransform(file, *root.addGraphicNode(), reader);
    });
}

void WRLSceneLoader::parseTransform(std::FILE* file, GraphicNode& node, WrlTokenReader& reader)
{
    reader.scanBody(file, '{', '}', "Transform", [&](const char* token) {
        float value[4];
        if (isKeyword(token, "translation")) {
            if (reader.readFloats(file, value, 3, "translation")) {
                node.setTranslation(value[0], value[1], value[2]);
            }
        } else if (isKeyword(token, "rotation")) {
            if (reader.readFloats(file, value, 4, "rotation")) {
                node.setRotation(value[0], value[1], value[2], value[3] * DEGREES_PER_RADIAN);
            }
        } else if (isKeyword(token, "scale")) {
            if (reader.readFloats(file, value, 3, "scale")) {
                node.setScale(value[0], value[1], value[2]);
            }
        } else if (isKeyword(token, "children")) {
            parseChildren(file, node, reader);
        }
    });
}

void WRLSceneLoader::parseChildren(std::FILE* file, GraphicNode& node, WrlTokenReader& reader)
{
    reader.scanBody(file, '[', ']', "children list", [&](const char* token) {
        if (isKeyword(token, "Shape")) {
            parseShape(file, node, reader);
        } else if (isKeyword(token, "Transform")) {
            parseTransform(file, *node.addGraphicNode(), reader);
        }
    });
}

void WRLSceneLoader::parseShape(std::FILE* file, GraphicNode& node, WrlTokenReader& reader)
{
    reader.scanBody(file, '{', '}', "Shape", [&](const char* token) {
        if (isKeyword(token, "appearance")) {
            parseAppearance(file, node, reader);
        } else if (isKeyword(token, "geometry")) {
            parseGeometry(file, node, reader);
        }
    });
}

void WRLSceneLoader::parseAppearance(std::FILE* file, GraphicNode& node, WrlTokenReader& reader)
{
    reader.scanBody(file, '{', '}', "Appearance", [&](const char* token) {
        if (isKeyword(token, "material")) {
            parseMaterial(file, node, reader);
        }
    });
}

void WRLSceneLoader::parseMaterial(std::FILE* file, GraphicNode& node, WrlTokenReader& reader)
{
    reader.scanBody(file, '{', '}', "Material", [&](const char* token) {
        float color[3];
        if (isKeyword(token, "diffuseColor") && reader.readFloats(file, color, 3, "diffuseColor")) {
            node.setColor(color[0], color[1], color[2]);
        }
    });
}

void WRLSceneLoader::parseGeometry(std::FILE* file, GraphicNode& node, WrlTokenReader& reader)
{
    // Faces run counter-clockwise unless the node says otherwise, and the
    // field governs only the index lists after it.
    int ccw = 1;
    std::vector<IndexList> indexLists;
    reader.scanBody(file, '{', '}', "geometry", [&](const char* token) {
        if (isKeyword(token, "ccw")) {
            char value[WrlTokenReader::TOKEN_SIZE];
            if (reader.expectToken(file, value, "ccw field")) {
                ccw = isKeyword(value, "TRUE") ? 1 : 0;
            }
        } else if (isKeyword(token, "coord")) {
            parseCoord(file, node, reader);
        } else if (isKeyword(token, "coordIndex")) {
            indexLists.push_back({node.getFaces().size(), reader.lastWordLine()});
            parseCoordIndex(file, node, ccw, reader);
        }
    });
    warnOfMissingVertices(node, indexLists, reader);
}

void WRLSceneLoader::parseCoord(std::FILE* file, GraphicNode& node, WrlTokenReader& reader)
{
    // separator ends up holding whatever follows each point: "," between
    // points, a word holding "]" after the last. A point that is not three
    // numbers is skipped, and the word that broke it stands as its separator.
    char separator[WrlTokenReader::TOKEN_SIZE];
    if (!reader.skipToOpen(file, '[', separator, "Coordinate")) {
        return;
    }
    float point[3];
    while (!closesList(separator)) {
        if (reader.readFloats(file, point, 3, "point list")) {
            node.addVertex(point[0], point[1], point[2]);
        }
        if (!reader.expectToken(file, separator, "point list")) {
            return;
        }
    }
    // The Coordinate's closing brace, which the geometry's scan must not count.
    reader.expectToken(file, separator, "Coordinate");
}

void WRLSceneLoader::parseCoordIndex(std::FILE* file, GraphicNode& node, int ccw,
                                     WrlTokenReader& reader)
{
    char separator[WrlTokenReader::TOKEN_SIZE];
    if (!reader.skipToOpen(file, '[', separator, "coordIndex list")) {
        return;
    }
    // Three corners and the terminator (normally -1), each followed by a
    // separator word. A corner that is no whole number costs its face, its
    // word standing as the separator; the last face may lack its terminator.
    int face[4];
    bool listOpen = !closesList(separator);
    while (listOpen) {
        int read = 0;
        bool cornersAreNumbers = true;
        while (read < 4 && listOpen) {
            const bool isNumber = reader.readInt(file, face[read], "coordIndex list");
            cornersAreNumbers = cornersAreNumbers && (isNumber || read == 3);
            ++read;
            if (!reader.expectToken(file, separator, "coordIndex list")) {
                return;
            }
            listOpen = !closesList(separator);
        }
        if (read < 3) {
            reader.warn("the coordIndex list ends in a face of fewer than three corners");
        } else if (cornersAreNumbers && ccw != 0) {
            node.addFace(face[0], face[1], face[2]);
        } else if (cornersAreNumbers) {
            node.addFace(face[1], face[0], face[2]);
        }
    }
}

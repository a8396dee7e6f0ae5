// Loads the wizard's and sorcerer's meshes (and the other .wrl meshes of res/)
// into node trees: transforms, triangles and one diffuse colour per Transform.
#include "scene/wrlsceneloader.h"

#include <string>

#include "scene/WrlTokenReader.h"
#include "scene/graphicnode.h"

namespace {

const float DEGREES_PER_RADIAN = 57.29578f;

bool isKeyword(const char* token, const char* keyword)
{
    return WrlTokenReader::isKeyword(token, keyword);
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
    reader.scanBody(file, '{', '}', "geometry", [&](const char* token) {
        if (isKeyword(token, "ccw")) {
            char value[WrlTokenReader::TOKEN_SIZE];
            if (reader.expectToken(file, value, "ccw field")) {
                ccw = isKeyword(value, "TRUE") ? 1 : 0;
            }
        } else if (isKeyword(token, "coord")) {
            parseCoord(file, node, reader);
        } else if (isKeyword(token, "coordIndex")) {
            parseCoordIndex(file, node, ccw, reader);
        }
    });
}

void WRLSceneLoader::parseCoord(std::FILE* file, GraphicNode& node, WrlTokenReader& reader)
{
    // separator ends up holding whatever follows each point: "," between
    // points, a word beginning with "]" after the last.
    char separator[WrlTokenReader::TOKEN_SIZE];
    if (!reader.skipToOpen(file, '[', separator, "Coordinate")) {
        return;
    }
    float point[3];
    while (separator[0] != ']') {
        if (!reader.readFloats(file, point, 3, "point list")
            || !reader.expectToken(file, separator, "point list")) {
            return;
        }
        node.addVertex(point[0], point[1], point[2]);
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
    // separator word; only the one after the terminator can close the list.
    int face[4];
    while (separator[0] != ']') {
        for (int& index : face) {
            if (!reader.readInt(file, index, "coordIndex list")
                || !reader.expectToken(file, separator, "coordIndex list")) {
                return;
            }
        }
        const int vertexCount = static_cast<int>(node.getVertices().size() / 3);
        bool known = true;
        for (int corner = 0; corner < 3; ++corner) {
            known = known && face[corner] >= 0 && face[corner] < vertexCount;
        }
        if (!known) {
            reader.warn("face " + std::to_string(face[0]) + " " + std::to_string(face[1]) + " "
                        + std::to_string(face[2]) + " refers to a missing vertex; dropped");
        } else if (ccw != 0) {
            node.addFace(face[0], face[1], face[2]);
        } else {
            node.addFace(face[1], face[0], face[2]);
        }
    }
}

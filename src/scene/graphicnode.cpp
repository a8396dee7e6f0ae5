// SPDX-License-Identifier: GPL-3.0-or-later
// Scene-graph meshes: flat-shaded triangles cached in display lists, a static
// or key-framed transform, and owned children drawn inside it.
#include "scene/graphicnode.h"

#include <GL/gl.h>

#include <cmath>
#include <set>

#include "scene/timesensor.h"

bool GraphicNode::useDisplayList = true;
int GraphicNode::triangleCount = 0;

GraphicNode::GraphicNode()
    : rotationAxis(0, 1, 0),
      rotationAngle(0.0f),
      scale(1, 1, 1),
      translation(0, 0, 0),
      timeSensor(nullptr),
      color{0.0f, 0.0f, 0.0f},
      listCompiled(false),
      displayList(0)
{
}

namespace {

// Every node with a compiled display list, so that all of them can be let go
// of while the context exists.
std::set<GraphicNode*>& compiledNodes()
{
    // Never destroyed: nodes that outlive it among the program's statics
    // (when the window system ends the program with exit()) still find it.
    static auto* nodes = new std::set<GraphicNode*>;
    return *nodes;
}

} // namespace

GraphicNode::~GraphicNode()
{
    // This class's own: an override of a derived class no longer applies here.
    GraphicNode::clearChildren();
    if (listCompiled) {
        glDeleteLists(displayList, 1);
        compiledNodes().erase(this);
    }
}

void GraphicNode::releaseDisplayLists()
{
    for (GraphicNode* node : compiledNodes()) {
        glDeleteLists(node->displayList, 1);
        node->listCompiled = false;
    }
    compiledNodes().clear();
}

void GraphicNode::addVertex(float x, float y, float z)
{
    vertices.insert(vertices.end(), {x, y, z});
}

void GraphicNode::addFace(int a, int b, int c)
{
    faces.insert(faces.end(), {a, b, c});
}

void GraphicNode::emitTriangles() const
{
    const int vertexCount = static_cast<int>(vertices.size() / 3);
    const std::size_t triangles = faces.size() / 3;
    glBegin(GL_TRIANGLES);
    // The colour goes with the vertices: a colour set only outside them makes
    // Mesa's unlit fixed-function path read it as a constant, re-sent with
    // every draw call (a tenfold slower frame with lighting off).
    glColor3f(color[0], color[1], color[2]);
    for (std::size_t t = 0; t < triangles; ++t) {
        const int* corners = &faces[3 * t];
        if (corners[0] < 0 || corners[0] >= vertexCount || corners[1] < 0
            || corners[1] >= vertexCount || corners[2] < 0 || corners[2] >= vertexCount) {
            continue;
        }
        if (3 * t + 2 < normals.size()) {
            glNormal3f(normals[3 * t], normals[3 * t + 1], normals[3 * t + 2]);
        } else {
            // No normal computed for it yet: face up.
            glNormal3f(0.0f, 1.0f, 0.0f);
        }
        for (int corner = 0; corner < 3; ++corner) {
            const float* vertex = &vertices[3 * static_cast<std::size_t>(corners[corner])];
            glVertex3f(vertex[0], vertex[1], vertex[2]);
        }
    }
    glEnd();
}

void GraphicNode::draw()
{
    glColor3f(color[0], color[1], color[2]);
    glPushMatrix();
    if (timeSensor != nullptr && timeSensor->hasTranslationKeyFrame()) {
        Vector moved = timeSensor->getTranslation();
        glTranslatef(moved.getX(), moved.getY(), moved.getZ());
    } else {
        glTranslatef(translation.getX(), translation.getY(), translation.getZ());
    }
    if (timeSensor != nullptr && timeSensor->hasRotationKeyFrame()) {
        Vector axis = timeSensor->getRotationAxis();
        glRotatef(timeSensor->getRotationAngle(), axis.getX(), axis.getY(), axis.getZ());
    } else {
        glRotatef(rotationAngle, rotationAxis.getX(), rotationAxis.getY(), rotationAxis.getZ());
    }
    glScalef(scale.getX(), scale.getY(), scale.getZ());

    if (!faces.empty()) {
        if (!listCompiled && useDisplayList) {
            // Compiled once, on the first draw that wants it; the mesh and
            // its colour are cached, the transform stays outside the list.
            displayList = glGenLists(1);
            glNewList(displayList, GL_COMPILE);
            emitTriangles();
            glEndList();
            listCompiled = true;
            compiledNodes().insert(this);
        } else if (!useDisplayList) {
            emitTriangles();
        }
        if (listCompiled && useDisplayList) {
            glCallList(displayList);
        }
    }
    triangleCount += static_cast<int>(faces.size() / 3);

    for (GraphicNode* child : children) {
        child->draw();
    }
    glPopMatrix();
}

GraphicNode* GraphicNode::addGraphicNode()
{
    GraphicNode* child = new GraphicNode();
    children.push_back(child);
    return child;
}

void GraphicNode::addGraphicNode(GraphicNode* node)
{
    children.push_back(node);
}

void GraphicNode::removeGraphicNode(GraphicNode* node)
{
    children.remove(node);
}

void GraphicNode::clearChildren()
{
    for (GraphicNode* child : children) {
        delete child;
    }
    children.clear();
}

const std::list<GraphicNode*>& GraphicNode::getChildren() const
{
    return children;
}

void GraphicNode::setTranslation(float x, float y, float z)
{
    translation = Vector(x, y, z);
}

void GraphicNode::setRotation(float x, float y, float z, float angle)
{
    Vector axis(x, y, z);
    double length = axis.getLength();
    // A null axis cannot be made unit length; it stays as given and GL
    // ignores such a rotation.
    rotationAxis = length > 0.0 ? axis.getNormalizedCopy() : axis;
    rotationAngle = angle;
}

void GraphicNode::setScale(float x, float y, float z)
{
    scale = Vector(x, y, z);
}

const Vector& GraphicNode::getTranslation() const
{
    return translation;
}

const Vector& GraphicNode::getRotationAxis() const
{
    return rotationAxis;
}

float GraphicNode::getRotationAngle() const
{
    return rotationAngle;
}

const Vector& GraphicNode::getScale() const
{
    return scale;
}

void GraphicNode::computeNormal()
{
    const int vertexCount = static_cast<int>(vertices.size() / 3);
    auto vertexAt = [this](int index) {
        const float* v = &vertices[3 * static_cast<std::size_t>(index)];
        return Vector(v[0], v[1], v[2]);
    };
    for (std::size_t t = 0; t + 2 < faces.size(); t += 3) {
        Vector normal(0, 1, 0);
        const int a = faces[t];
        const int b = faces[t + 1];
        const int c = faces[t + 2];
        if (a >= 0 && a < vertexCount && b >= 0 && b < vertexCount && c >= 0 && c < vertexCount) {
            const Vector p = vertexAt(a);
            const Vector cross = (p - vertexAt(b)) * (p - vertexAt(c));
            const double length = cross.getLength();
            // A triangle without area has no direction of its own: face up
            // rather than spread NaN through the lighting.
            if (length > 0.0 && std::isfinite(length)) {
                normal = cross * (1.0 / length);
            }
        }
        normals.insert(normals.end(), {normal.getX(), normal.getY(), normal.getZ()});
    }
    for (GraphicNode* child : children) {
        child->computeNormal();
    }
}

void GraphicNode::setColor(float r, float g, float b)
{
    color[0] = r;
    color[1] = g;
    color[2] = b;
    // The compiled list holds the old colour.
    if (listCompiled) {
        glDeleteLists(displayList, 1);
        listCompiled = false;
        compiledNodes().erase(this);
    }
}

const float* GraphicNode::getColor() const
{
    return color;
}

void GraphicNode::setTimeSensor(TimeSensor* s)
{
    timeSensor = s;
    if (s == nullptr) {
        for (GraphicNode* child : children) {
            child->setTimeSensor(nullptr);
        }
        return;
    }
    std::vector<TimeSensor*> childSensors = s->getChilds();
    auto sensor = childSensors.begin();
    for (auto child = children.begin(); child != children.end() && sensor != childSensors.end();
         ++child, ++sensor) {
        (*child)->setTimeSensor(*sensor);
    }
}

TimeSensor* GraphicNode::getTimeSensor() const
{
    return timeSensor;
}

const std::vector<float>& GraphicNode::getVertices() const
{
    return vertices;
}

const std::vector<float>& GraphicNode::getNormals() const
{
    return normals;
}

const std::vector<int>& GraphicNode::getFaces() const
{
    return faces;
}

void GraphicNode::countTriangles(int count)
{
    triangleCount += count;
}

void GraphicNode::resetTriangleCount()
{
    triangleCount = 0;
}

int GraphicNode::getTriangleCount()
{
    return triangleCount;
}

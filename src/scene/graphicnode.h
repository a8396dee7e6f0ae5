// SPDX-License-Identifier: GPL-3.0-or-later
// A node of the scene graph: a triangle mesh with flat normals, one colour, a
// static transform and owned children. An attached TimeSensor replaces the
// static translation and rotation while it is attached. Character models,
// blocks and every other mesh of the view are trees of these.
#pragma once

#include <GL/gl.h>

#include <list>
#include <vector>

#include "math/Vector.h"

class TimeSensor;

class GraphicNode {
public:
    GraphicNode();
    // Deletes the children and frees the display list (which needs the GL
    // context when one was compiled).
    virtual ~GraphicNode();
    GraphicNode(const GraphicNode&) = delete;
    GraphicNode& operator=(const GraphicNode&) = delete;

    void addVertex(float x, float y, float z);
    // A triangle of vertex indices; call computeNormal once all are added.
    virtual void addFace(int a, int b, int c);

    // Colour, transform (from the sensor where it has keys), mesh through a
    // display list when useDisplayList is on, then the children.
    virtual void draw();

    // A new child, owned by this node.
    virtual GraphicNode* addGraphicNode();
    // Takes ownership of node.
    void addGraphicNode(GraphicNode* node);
    // Gives every occurrence of node back to the caller without deleting it.
    void removeGraphicNode(GraphicNode* node);
    // Deletes every child.
    virtual void clearChildren();
    const std::list<GraphicNode*>& getChildren() const;

    virtual void setTranslation(float x, float y, float z);
    // The axis is stored at unit length; angle in degrees.
    virtual void setRotation(float x, float y, float z, float angle);
    virtual void setScale(float x, float y, float z);
    const Vector& getTranslation() const;
    const Vector& getRotationAxis() const;
    float getRotationAngle() const;
    const Vector& getScale() const;

    // Appends one unit normal per triangle (counter-clockwise faces point at
    // the viewer), then does the same for every child.
    virtual void computeNormal();
    virtual void setColor(float r, float g, float b);
    const float* getColor() const;

    // Attaches s (not owned) and pairs this node's children with s's child
    // sensors by position; null detaches the whole subtree.
    virtual void setTimeSensor(TimeSensor* s);
    TimeSensor* getTimeSensor() const;

    const std::vector<float>& getVertices() const;
    const std::vector<float>& getNormals() const;
    const std::vector<int>& getFaces() const;

    // Triangles drawn since the last reset, counted by every draw.
    static void resetTriangleCount();
    static int getTriangleCount();
    // Adds triangles drawn by other means (the terrain's chunks).
    static void countTriangles(int count);

    // Meshes are drawn through display lists while this is true.
    static bool useDisplayList;

    // Deletes every display list compiled so far, while the GL context still
    // exists: a node destroyed after its window has gone then asks nothing
    // of GL. A node drawn again compiles its list anew.
    static void releaseDisplayLists();

protected:
    // The mesh as GL triangles, leaving out any triangle whose indices lie
    // outside the vertex list.
    void emitTriangles() const;

    std::vector<float> vertices; // x, y, z per vertex
    std::vector<float> normals;  // x, y, z per triangle
    std::vector<int> faces;      // three vertex indices per triangle
    Vector rotationAxis;
    float rotationAngle; // degrees
    Vector scale;
    Vector translation;
    std::list<GraphicNode*> children; // owned: deleted by clearChildren and the destructor
    TimeSensor* timeSensor;           // not owned: lives in the view's resource table
    float color[3];
    bool listCompiled;
    GLuint displayList;

    static int triangleCount;
};

#pragma once
// What the 3D view's passes share in one context: the shader programs, the unit meshes in buffers,
// and the three kinds of vertex data a pass draws — instances of a mesh, vertices of their own
// colour, plain lines — each owning its buffers and vertex arrays.

#include <QMatrix4x4>
#include <array>
#include <vector>

#include "render/view3d/FrameCulling.h"
#include "render/view3d/Scene3D.h"
#include "render/view3d/gl/GlObjects.h"
#include "render/view3d/gl/Shaders.h"

namespace mw {

// A unit mesh's faces and edges in buffers.
struct MeshBuffers {
    GlBuffer vertices, triangles, edgeVertices, edges;
    GLsizei triangleCount = 0, edgeCount = 0;
};

class GlResources {
public:
    // Builds the programs and the meshes in the current context; ready() tells whether it could.
    explicit GlResources(QOpenGLExtraFunctions& f);
    bool ready() const { return m_failure.isEmpty(); }
    const QString& failure() const { return m_failure; }

    QOpenGLExtraFunctions& f;
    GlPrograms programs;
    std::array<MeshBuffers, 4> meshes; // by Mesh3D
    GlBuffer arrowVertices;            // a facing arrow, from an object's centre out past its front
    GLsizei arrowVertexCount = 0;
    int drawCalls = 0;                 // of the frame being drawn

private:
    QString m_failure;
};

// Instances of one unit mesh: their buffer, filled each frame, with the vertex arrays that draw
// the mesh's faces, its edges and (for objects with a facing) an arrow per instance.
class InstanceDraw {
public:
    InstanceDraw(GlResources& gl, Mesh3D mesh);
    void fill(const std::vector<Instance3D>& instances);
    GLsizei count() const { return m_count; }
    void drawFaces() const { draw(false); }
    void drawEdges() const { draw(true); }
    void drawArrows() const;

private:
    void draw(bool edges) const;

    GlResources& m_gl;
    Mesh3D m_mesh;
    GlBuffer m_instances;
    GlVertexArray m_faces, m_edges, m_arrows;
    GLsizei m_count = 0;
};

// Vertices of their own colour (FramePoint): points, lines or triangles.
class ColouredDraw {
public:
    explicit ColouredDraw(GlResources& gl);
    void fill(const std::vector<FramePoint>& vertices);
    GLsizei count() const { return m_count; }
    void draw(GLenum mode) const;

private:
    GlResources& m_gl;
    GlBuffer m_buffer;
    GlVertexArray m_vao;
    GLsizei m_count = 0;
};

// Plain points joined by lines, in one colour the line program is given.
class LineDraw {
public:
    explicit LineDraw(GlResources& gl);
    void fill(const Vec3* points, std::size_t count);
    void fill(const std::vector<Vec3>& points) { fill(points.data(), points.size()); }
    GLsizei count() const { return m_count; }
    void draw(GLenum mode, float r, float g, float b, float a) const;
    void drawRange(GLenum mode, GLint first, GLsizei count) const;

private:
    GlResources& m_gl;
    GlBuffer m_buffer;
    GlVertexArray m_vao;
    GLsizei m_count = 0;
};

// A column-major matrix of the camera's as the shaders take it.
QMatrix4x4 shaderMatrix(const Mat4& m);

} // namespace mw

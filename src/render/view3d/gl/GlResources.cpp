#include "render/view3d/gl/GlResources.h"

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "render/view3d/gl/UnitMeshes.h"

namespace mw {

namespace {

constexpr int InstanceStride = sizeof(Instance3D);
static_assert(sizeof(Instance3D) == 52, "12 floats and a colour, packed");

// The arrow: a stem from the centre (z = 1) to the tip an arrow length past the front, and two
// barbs; x along the facing, y across it, in arrow lengths.
constexpr float ArrowLines[] = {0, 0, 1, 1, 0, 0, 1, 0, 0, 0.75f, 0.12f, 0, 1, 0, 0, 0.75f, -0.12f, 0};

template <class T>
void upload(QOpenGLExtraFunctions& f, GLenum target, const GlBuffer& buffer, const std::vector<T>& data, GLenum usage)
{
    f.glBindBuffer(target, buffer.id());
    f.glBufferData(target, static_cast<GLsizeiptr>(data.size() * sizeof(T)), data.data(), usage);
}

// Vertices of three floats (and a normal of three, when `normals`), indexed by `elements` when
// there are any, with the instances beside them.
GlVertexArray instancedVao(QOpenGLExtraFunctions& f, GLuint vertices, bool normals, GLuint elements, GLuint instances)
{
    GlVertexArray vao(f);
    f.glBindVertexArray(vao.id());
    f.glBindBuffer(GL_ARRAY_BUFFER, vertices);
    const GLsizei stride = normals ? 6 * sizeof(float) : 3 * sizeof(float);
    f.glEnableVertexAttribArray(0);
    f.glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, nullptr);
    if (normals) {
        f.glEnableVertexAttribArray(1);
        f.glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(3 * sizeof(float)));
    } else {
        f.glDisableVertexAttribArray(1);
        f.glVertexAttrib3f(1, 0, 0, 0); // no normal: unlit
    }
    f.glBindBuffer(GL_ARRAY_BUFFER, instances);
    for (int c = 0; c < 4; ++c) {
        f.glEnableVertexAttribArray(static_cast<GLuint>(2 + c));
        f.glVertexAttribPointer(static_cast<GLuint>(2 + c), 3, GL_FLOAT, GL_FALSE, InstanceStride,
                                reinterpret_cast<void*>(static_cast<std::uintptr_t>(c * 3 * sizeof(float))));
        f.glVertexAttribDivisor(static_cast<GLuint>(2 + c), 1);
    }
    f.glEnableVertexAttribArray(6);
    f.glVertexAttribPointer(6, 4, GL_UNSIGNED_BYTE, GL_TRUE, InstanceStride, reinterpret_cast<void*>(12 * sizeof(float)));
    f.glVertexAttribDivisor(6, 1);
    if (elements)
        f.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, elements);
    f.glBindVertexArray(0);
    return vao;
}

} // namespace

GlResources::GlResources(QOpenGLExtraFunctions& functions) : f(functions)
{
    if (!programs.build(m_failure))
        return;
    for (std::size_t k = 0; k < meshes.size(); ++k) {
        const UnitMesh m = unitMesh(static_cast<Mesh3D>(k));
        MeshBuffers& b = meshes[k];
        b.vertices = GlBuffer(f);
        upload(f, GL_ARRAY_BUFFER, b.vertices, m.vertices, GL_STATIC_DRAW);
        b.triangles = GlBuffer(f);
        upload(f, GL_ELEMENT_ARRAY_BUFFER, b.triangles, m.triangles, GL_STATIC_DRAW);
        b.triangleCount = static_cast<GLsizei>(m.triangles.size());
        b.edgeVertices = GlBuffer(f);
        upload(f, GL_ARRAY_BUFFER, b.edgeVertices, m.edgeVertices, GL_STATIC_DRAW);
        b.edges = GlBuffer(f);
        upload(f, GL_ELEMENT_ARRAY_BUFFER, b.edges, m.edges, GL_STATIC_DRAW);
        b.edgeCount = static_cast<GLsizei>(m.edges.size());
    }
    arrowVertices = GlBuffer(f);
    upload(f, GL_ARRAY_BUFFER, arrowVertices, std::vector<float>(std::begin(ArrowLines), std::end(ArrowLines)), GL_STATIC_DRAW);
    arrowVertexCount = static_cast<GLsizei>(std::size(ArrowLines) / 3);
}

InstanceDraw::InstanceDraw(GlResources& gl, Mesh3D mesh) : m_gl(gl), m_mesh(mesh), m_instances(gl.f)
{
    const MeshBuffers& m = gl.meshes[static_cast<std::size_t>(mesh)];
    m_faces = instancedVao(gl.f, m.vertices.id(), true, m.triangles.id(), m_instances.id());
    m_edges = instancedVao(gl.f, m.edgeVertices.id(), false, m.edges.id(), m_instances.id());
    m_arrows = instancedVao(gl.f, gl.arrowVertices.id(), false, 0, m_instances.id());
}

void InstanceDraw::fill(const std::vector<Instance3D>& instances)
{
    // The vertex arrays keep pointing at the buffer: only its data changes.
    upload(m_gl.f, GL_ARRAY_BUFFER, m_instances, instances, GL_DYNAMIC_DRAW);
    m_count = static_cast<GLsizei>(instances.size());
}

void InstanceDraw::draw(bool edges) const
{
    GlResources& gl = m_gl;
    if (m_count == 0)
        return;
    const MeshBuffers& mesh = gl.meshes[static_cast<std::size_t>(m_mesh)];
    gl.f.glBindVertexArray(edges ? m_edges.id() : m_faces.id());
    gl.f.glDrawElementsInstanced(edges ? GL_LINES : GL_TRIANGLES, edges ? mesh.edgeCount : mesh.triangleCount,
                                 GL_UNSIGNED_SHORT, nullptr, m_count);
    ++gl.drawCalls;
}

void InstanceDraw::drawArrows() const
{
    GlResources& gl = m_gl;
    if (m_count == 0)
        return;
    gl.f.glBindVertexArray(m_arrows.id());
    gl.f.glDrawArraysInstanced(GL_LINES, 0, gl.arrowVertexCount, m_count);
    ++gl.drawCalls;
}

ColouredDraw::ColouredDraw(GlResources& gl) : m_gl(gl), m_buffer(gl.f), m_vao(gl.f)
{
    QOpenGLExtraFunctions& f = gl.f;
    f.glBindVertexArray(m_vao.id());
    f.glBindBuffer(GL_ARRAY_BUFFER, m_buffer.id());
    f.glEnableVertexAttribArray(0);
    f.glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(FramePoint), nullptr);
    f.glEnableVertexAttribArray(6);
    f.glVertexAttribPointer(6, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(FramePoint), reinterpret_cast<void*>(offsetof(FramePoint, rgba)));
    f.glBindVertexArray(0);
}

void ColouredDraw::fill(const std::vector<FramePoint>& vertices)
{
    upload(m_gl.f, GL_ARRAY_BUFFER, m_buffer, vertices, GL_STREAM_DRAW);
    m_count = static_cast<GLsizei>(vertices.size());
}

void ColouredDraw::draw(GLenum mode) const
{
    GlResources& gl = m_gl;
    if (m_count == 0)
        return;
    gl.f.glBindVertexArray(m_vao.id());
    gl.f.glDrawArrays(mode, 0, m_count);
    ++gl.drawCalls;
}

LineDraw::LineDraw(GlResources& gl) : m_gl(gl), m_buffer(gl.f), m_vao(gl.f)
{
    QOpenGLExtraFunctions& f = gl.f;
    f.glBindVertexArray(m_vao.id());
    f.glBindBuffer(GL_ARRAY_BUFFER, m_buffer.id());
    f.glEnableVertexAttribArray(0);
    f.glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Vec3), nullptr);
    f.glBindVertexArray(0);
}

void LineDraw::fill(const Vec3* points, std::size_t count)
{
    m_gl.f.glBindBuffer(GL_ARRAY_BUFFER, m_buffer.id());
    m_gl.f.glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(Vec3)), points, GL_DYNAMIC_DRAW);
    m_count = static_cast<GLsizei>(count);
}

void LineDraw::draw(GLenum mode, float r, float g, float b, float a) const
{
    if (m_count == 0)
        return;
    m_gl.programs.line.setUniformValue("colour", r, g, b, a);
    drawRange(mode, 0, m_count);
}

void LineDraw::drawRange(GLenum mode, GLint first, GLsizei count) const
{
    GlResources& gl = m_gl;
    gl.f.glBindVertexArray(m_vao.id());
    gl.f.glDrawArrays(mode, first, count);
    ++gl.drawCalls;
}

QMatrix4x4 shaderMatrix(const Mat4& m)
{
    return QMatrix4x4(m.m.data()).transposed(); // QMatrix4x4 takes rows
}

} // namespace mw

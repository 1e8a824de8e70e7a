#include "render/view3d/GlRenderer.h"

#include "render/view3d/FrameCulling.h"

#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLShaderProgram>
#include <cmath>
#include <cstddef>
#include <iterator>

namespace mw {

namespace {

// Unit meshes: position and normal per vertex, triangles by index; edges as line pairs.
struct Mesh {
    std::vector<float> vertices; // x y z nx ny nz
    std::vector<std::uint16_t> triangles;
    std::vector<float> edgeVertices; // x y z
    std::vector<std::uint16_t> edges;
};

void vertex(Mesh& m, Vec3 p, Vec3 n)
{
    m.vertices.insert(m.vertices.end(), {p.x, p.y, p.z, n.x, n.y, n.z});
}

Mesh boxMesh()
{
    Mesh m;
    const Vec3 normals[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (const Vec3& n : normals) {
        // Two axes across the face, chosen so the corners go round counter-clockwise seen from outside.
        const Vec3 u = std::fabs(n.y) > 0 ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
        const Vec3 v = cross(n, u);
        const auto base = static_cast<std::uint16_t>(m.vertices.size() / 6);
        for (const auto& [a, b] : {std::pair{-1.f, -1.f}, {1.f, -1.f}, {1.f, 1.f}, {-1.f, 1.f}})
            vertex(m, (n + u * a + v * b) * 0.5f, n);
        m.triangles.insert(m.triangles.end(), {base, static_cast<std::uint16_t>(base + 1), static_cast<std::uint16_t>(base + 2),
                                               base, static_cast<std::uint16_t>(base + 2), static_cast<std::uint16_t>(base + 3)});
    }
    for (int i = 0; i < 8; ++i)
        m.edgeVertices.insert(m.edgeVertices.end(), {i & 1 ? 0.5f : -0.5f, i & 2 ? 0.5f : -0.5f, i & 4 ? 0.5f : -0.5f});
    for (int i = 0; i < 8; ++i)
        for (int bit : {1, 2, 4})
            if (!(i & bit))
                m.edges.insert(m.edges.end(), {static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i | bit)});
    return m;
}

constexpr int Segments = 16;

void circle(Mesh& m, float y, int axis) // axis 1: in x-z; 0: in y-z; 2: in x-y
{
    const auto base = static_cast<std::uint16_t>(m.edgeVertices.size() / 3);
    for (int k = 0; k < Segments; ++k) {
        const float a = 6.2831853f * static_cast<float>(k) / Segments;
        const float c = 0.5f * std::cos(a), s = 0.5f * std::sin(a);
        const Vec3 p = axis == 1 ? Vec3{c, y, s} : axis == 0 ? Vec3{0, c, s} : Vec3{c, s, 0};
        m.edgeVertices.insert(m.edgeVertices.end(), {p.x, p.y, p.z});
        m.edges.insert(m.edges.end(), {static_cast<std::uint16_t>(base + k), static_cast<std::uint16_t>(base + (k + 1) % Segments)});
    }
}

Mesh sphereMesh()
{
    Mesh m;
    constexpr int Rings = 8;
    for (int r = 0; r <= Rings; ++r) {
        const float phi = 3.1415927f * static_cast<float>(r) / Rings;
        for (int k = 0; k <= Segments; ++k) {
            const float theta = 6.2831853f * static_cast<float>(k) / Segments;
            const Vec3 n{std::sin(phi) * std::cos(theta), std::cos(phi), std::sin(phi) * std::sin(theta)};
            vertex(m, n * 0.5f, n);
        }
    }
    for (int r = 0; r < Rings; ++r)
        for (int k = 0; k < Segments; ++k) {
            const auto a = static_cast<std::uint16_t>(r * (Segments + 1) + k), b = static_cast<std::uint16_t>(a + Segments + 1);
            m.triangles.insert(m.triangles.end(), {a, static_cast<std::uint16_t>(a + 1), b, b, static_cast<std::uint16_t>(a + 1),
                                                   static_cast<std::uint16_t>(b + 1)});
        }
    circle(m, 0, 1);
    circle(m, 0, 0);
    circle(m, 0, 2);
    return m;
}

Mesh cylinderMesh()
{
    Mesh m;
    for (int k = 0; k <= Segments; ++k) {
        const float a = 6.2831853f * static_cast<float>(k) / Segments;
        const Vec3 n{std::cos(a), 0, std::sin(a)};
        vertex(m, Vec3{n.x * 0.5f, -0.5f, n.z * 0.5f}, n);
        vertex(m, Vec3{n.x * 0.5f, 0.5f, n.z * 0.5f}, n);
    }
    for (int k = 0; k < Segments; ++k) {
        const auto a = static_cast<std::uint16_t>(2 * k);
        m.triangles.insert(m.triangles.end(), {a, static_cast<std::uint16_t>(a + 1), static_cast<std::uint16_t>(a + 2),
                                               static_cast<std::uint16_t>(a + 1), static_cast<std::uint16_t>(a + 3),
                                               static_cast<std::uint16_t>(a + 2)});
    }
    for (const float y : {-0.5f, 0.5f}) {
        const auto centre = static_cast<std::uint16_t>(m.vertices.size() / 6);
        vertex(m, {0, y, 0}, {0, y > 0 ? 1.f : -1.f, 0});
        for (int k = 0; k <= Segments; ++k) {
            const float a = 6.2831853f * static_cast<float>(k) / Segments;
            vertex(m, {0.5f * std::cos(a), y, 0.5f * std::sin(a)}, {0, y > 0 ? 1.f : -1.f, 0});
        }
        for (int k = 0; k < Segments; ++k)
            m.triangles.insert(m.triangles.end(), {centre, static_cast<std::uint16_t>(centre + 1 + k),
                                                   static_cast<std::uint16_t>(centre + 2 + k)});
    }
    circle(m, -0.5f, 1);
    circle(m, 0.5f, 1);
    return m;
}

Mesh markerMesh()
{
    Mesh m;
    const Vec3 tips[6] = {{0.5f, 0, 0}, {-0.5f, 0, 0}, {0, 0.5f, 0}, {0, -0.5f, 0}, {0, 0, 0.5f}, {0, 0, -0.5f}};
    for (int sx : {0, 1})
        for (int sy : {2, 3})
            for (int sz : {4, 5}) {
                const Vec3 a = tips[sx], b = tips[sy], c = tips[sz];
                Vec3 n = normalized(a + b + c);
                const auto base = static_cast<std::uint16_t>(m.vertices.size() / 6);
                vertex(m, a, n);
                vertex(m, b, n);
                vertex(m, c, n);
                m.triangles.insert(m.triangles.end(), {base, static_cast<std::uint16_t>(base + 1), static_cast<std::uint16_t>(base + 2)});
            }
    // The edges: each tip joined to the four that are not opposite it.
    for (const Vec3& tip : tips)
        m.edgeVertices.insert(m.edgeVertices.end(), {tip.x, tip.y, tip.z});
    for (std::uint16_t a = 0; a < 6; ++a)
        for (std::uint16_t b = static_cast<std::uint16_t>(a + 1); b < 6; ++b)
            if (a / 2 != b / 2)
                m.edges.insert(m.edges.end(), {a, b});
    return m;
}

const char* MeshVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec3 c0;
layout(location = 3) in vec3 c1;
layout(location = 4) in vec3 c2;
layout(location = 5) in vec3 c3;
layout(location = 6) in vec4 colour;
uniform mat4 viewProjection;
uniform vec4 tint;
uniform float replaceColour;
out vec3 vNormal;
out vec4 vColour;
void main()
{
    mat3 axes = mat3(c0, c1, c2);
    vNormal = axes * normal;
    vColour = mix(colour * tint, tint, replaceColour);
    gl_Position = viewProjection * vec4(axes * position + c3, 1.0);
}
)";

const char* MeshFragmentShader = R"(#version 330 core
in vec3 vNormal;
in vec4 vColour;
uniform float lit;
out vec4 fragColour;
void main()
{
    float light = 1.0;
    if (lit > 0.5 && dot(vNormal, vNormal) > 0.0)
        light = 0.5 + 0.5 * abs(dot(normalize(vNormal), normalize(vec3(0.4, 0.8, 0.3))));
    // A solid item's alpha (255, or 254 for one without a facing) is opaque.
    fragColour = vec4(vColour.rgb * light, vColour.a > 0.99 ? 1.0 : vColour.a);
}
)";

// An object's facing: a line from its translation along its z axis with two barbs, drawn over
// each instance; an instance without a facing (its alpha short of 1) is put beyond the far plane.
const char* ArrowVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 2) in vec3 c0;
layout(location = 3) in vec3 c1;
layout(location = 4) in vec3 c2;
layout(location = 5) in vec3 c3;
layout(location = 6) in vec4 colour;
uniform mat4 viewProjection;
uniform float lift;
uniform float arrowLength;
void main()
{
    if (colour.a < 0.999 || dot(c2, c2) == 0.0 || dot(c0, c0) == 0.0) {
        gl_Position = vec4(0.0, 0.0, 2.0, 1.0);
        return;
    }
    vec3 base = c3 - c1 * lift;
    vec3 along = normalize(c2) * position.x + normalize(c0) * position.y;
    gl_Position = viewProjection * vec4(base + along * arrowLength, 1.0);
}
)";

// Vertices of their own colour, unlit, through the meshes' fragment shader: the items too small to
// draw in their shapes, a point each (`opaque`), and the handles.
const char* PointVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 6) in vec4 colour;
uniform mat4 viewProjection;
uniform float opaque;
out vec3 vNormal;
out vec4 vColour;
void main()
{
    vNormal = vec3(0.0);
    vColour = vec4(colour.rgb, opaque > 0.5 ? 1.0 : colour.a);
    gl_Position = viewProjection * vec4(position, 1.0);
    gl_PointSize = 2.0;
}
)";

const char* PlainFragmentShader = R"(#version 330 core
uniform vec4 colour;
out vec4 fragColour;
void main()
{
    fragColour = colour;
}
)";

const char* LineVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
uniform mat4 viewProjection;
uniform vec3 offset;
out vec3 vWorld;
void main()
{
    vWorld = position + offset;
    gl_Position = viewProjection * vec4(vWorld, 1.0);
}
)";

const char* LineFragmentShader = R"(#version 330 core
in vec3 vWorld;
uniform vec4 colour;
uniform vec3 eye;
uniform float fadeFrom;
uniform float fadeTo;
out vec4 fragColour;
void main()
{
    float fade = 1.0;
    if (fadeTo > 0.0)
        fade = 1.0 - smoothstep(fadeFrom, fadeTo, distance(vWorld.xz, eye.xz));
    fragColour = vec4(colour.rgb, colour.a * fade);
}
)";

constexpr int InstanceStride = sizeof(Instance3D);
constexpr GLenum ProgramPointSize = 0x8642; // GL_PROGRAM_POINT_SIZE of OpenGL 3.2: the shader sets the size
static_assert(sizeof(Instance3D) == 52, "12 floats and a colour, packed");

} // namespace

struct GlRenderer::Gl {
    QOpenGLExtraFunctions* f = nullptr;
    QString failure;
    QOpenGLShaderProgram meshProgram, lineProgram, arrowProgram, pointProgram;
    std::shared_ptr<const Scene3D> scene;
    FrameDraw frame; // what the last frame drew; its memory is kept
    struct Coloured {
        GLuint buffer = 0, vao = 0;
        GLsizei count = 0;
    };
    Coloured points;                         // the items too small for their shapes
    Coloured overlayLines, overlayTriangles; // the handles

    // A buffer of coloured vertices (FramePoint) and its vertex array.
    void makeColoured(Coloured& c)
    {
        f->glGenBuffers(1, &c.buffer);
        f->glGenVertexArrays(1, &c.vao);
        f->glBindVertexArray(c.vao);
        f->glBindBuffer(GL_ARRAY_BUFFER, c.buffer);
        f->glEnableVertexAttribArray(0);
        f->glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(FramePoint), nullptr);
        f->glEnableVertexAttribArray(6);
        f->glVertexAttribPointer(6, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(FramePoint),
                                 reinterpret_cast<void*>(offsetof(FramePoint, rgba)));
        f->glBindVertexArray(0);
    }
    // Points of their own colours, opaque.
    void drawDots(const Coloured& c, const QMatrix4x4& viewProjection)
    {
        if (c.count == 0)
            return;
        pointProgram.bind();
        pointProgram.setUniformValue("viewProjection", viewProjection);
        pointProgram.setUniformValue("opaque", 1.0f);
        f->glEnable(ProgramPointSize);
        f->glBindVertexArray(c.vao);
        f->glDrawArrays(GL_POINTS, 0, c.count);
        f->glDisable(ProgramPointSize);
        ++drawCalls;
    }
    void fillColoured(Coloured& c, const std::vector<FramePoint>& vertices)
    {
        f->glBindBuffer(GL_ARRAY_BUFFER, c.buffer);
        f->glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(FramePoint)), vertices.data(),
                        GL_STREAM_DRAW);
        c.count = static_cast<GLsizei>(vertices.size());
    }
    GLuint arrowVertices = 0;
    GLsizei arrowVertexCount = 0;

    struct MeshBuffers {
        GLuint vertices = 0, triangles = 0, edgeVertices = 0, edges = 0;
        GLsizei triangleCount = 0, edgeCount = 0;
    };
    std::array<MeshBuffers, 4> meshes{}; // by Mesh3D

    struct BatchBuffers {
        GLuint instances = 0, facesVao = 0, edgesVao = 0, arrowsVao = 0;
        GLsizei count = 0;
        Mesh3D mesh = Mesh3D::Box;
        ViewLayer layer = ViewLayer::Scene;
        bool translucent = false, standing = false;
    };
    std::array<BatchBuffers, static_cast<std::size_t>(BatchKind::Count)> batches{};
    std::array<BatchBuffers, 4> selected{}; // the selection, by mesh
    Highlight3D selection;                  // what is selected, culled into the buffers each frame
    std::array<std::vector<Instance3D>, 4> selectedShapes;
    std::vector<FramePoint> selectedPoints;
    Coloured selectedDots;                  // the selected items too small for their shapes

    struct Lines {
        GLuint buffer = 0, vao = 0;
        GLsizei count = 0;
    };
    Lines route, highlight, fineGrid, coarseGrid, compass;
    int drawCalls = 0;
    bool ready = false;

    void makeMesh(Mesh3D kind, const Mesh& m)
    {
        MeshBuffers& b = meshes[static_cast<std::size_t>(kind)];
        f->glGenBuffers(1, &b.vertices);
        f->glBindBuffer(GL_ARRAY_BUFFER, b.vertices);
        f->glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(m.vertices.size() * sizeof(float)), m.vertices.data(), GL_STATIC_DRAW);
        f->glGenBuffers(1, &b.triangles);
        f->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, b.triangles);
        f->glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(m.triangles.size() * 2), m.triangles.data(), GL_STATIC_DRAW);
        b.triangleCount = static_cast<GLsizei>(m.triangles.size());
        f->glGenBuffers(1, &b.edgeVertices);
        f->glBindBuffer(GL_ARRAY_BUFFER, b.edgeVertices);
        f->glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(m.edgeVertices.size() * sizeof(float)), m.edgeVertices.data(),
                        GL_STATIC_DRAW);
        f->glGenBuffers(1, &b.edges);
        f->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, b.edges);
        f->glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(m.edges.size() * 2), m.edges.data(), GL_STATIC_DRAW);
        b.edgeCount = static_cast<GLsizei>(m.edges.size());
    }

    // A vertex array of a mesh's faces (or edges) with the batch's instances beside it.
    GLuint instancedVao(const MeshBuffers& mesh, GLuint instances, bool edges)
    {
        return instancedVao(edges ? mesh.edgeVertices : mesh.vertices, !edges, edges ? mesh.edges : mesh.triangles, instances);
    }
    // Vertices of three floats (and a normal of three, when `normals`), indexed by `elements` when
    // there are any, with the instances beside them.
    GLuint instancedVao(GLuint vertices, bool normals, GLuint elements, GLuint instances)
    {
        GLuint vao = 0;
        f->glGenVertexArrays(1, &vao);
        f->glBindVertexArray(vao);
        f->glBindBuffer(GL_ARRAY_BUFFER, vertices);
        const GLsizei stride = normals ? 6 * sizeof(float) : 3 * sizeof(float);
        f->glEnableVertexAttribArray(0);
        f->glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, nullptr);
        if (normals) {
            f->glEnableVertexAttribArray(1);
            f->glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(3 * sizeof(float)));
        } else {
            f->glDisableVertexAttribArray(1);
            f->glVertexAttrib3f(1, 0, 0, 0); // no normal: unlit
        }
        f->glBindBuffer(GL_ARRAY_BUFFER, instances);
        for (int c = 0; c < 4; ++c) {
            f->glEnableVertexAttribArray(static_cast<GLuint>(2 + c));
            f->glVertexAttribPointer(static_cast<GLuint>(2 + c), 3, GL_FLOAT, GL_FALSE, InstanceStride,
                                     reinterpret_cast<void*>(static_cast<std::uintptr_t>(c * 3 * sizeof(float))));
            f->glVertexAttribDivisor(static_cast<GLuint>(2 + c), 1);
        }
        f->glEnableVertexAttribArray(6);
        f->glVertexAttribPointer(6, 4, GL_UNSIGNED_BYTE, GL_TRUE, InstanceStride, reinterpret_cast<void*>(12 * sizeof(float)));
        f->glVertexAttribDivisor(6, 1);
        if (elements)
            f->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, elements);
        f->glBindVertexArray(0);
        return vao;
    }

    void makeLines(Lines& l)
    {
        f->glGenBuffers(1, &l.buffer);
        f->glGenVertexArrays(1, &l.vao);
        f->glBindVertexArray(l.vao);
        f->glBindBuffer(GL_ARRAY_BUFFER, l.buffer);
        f->glEnableVertexAttribArray(0);
        f->glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Vec3), nullptr);
        f->glBindVertexArray(0);
    }
    void fillLines(Lines& l, const Vec3* points, std::size_t count)
    {
        f->glBindBuffer(GL_ARRAY_BUFFER, l.buffer);
        f->glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(Vec3)), points, GL_DYNAMIC_DRAW);
        l.count = static_cast<GLsizei>(count);
    }
    void drawLines(const Lines& l, GLenum mode, float r, float g, float b, float a)
    {
        if (l.count == 0)
            return;
        lineProgram.setUniformValue("colour", r, g, b, a);
        f->glBindVertexArray(l.vao);
        f->glDrawArrays(mode, 0, l.count);
        ++drawCalls;
    }
    void fillInstances(BatchBuffers& b, const std::vector<Instance3D>& instances)
    {
        f->glBindBuffer(GL_ARRAY_BUFFER, b.instances);
        f->glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(instances.size() * sizeof(Instance3D)), instances.data(),
                        GL_DYNAMIC_DRAW);
        b.count = static_cast<GLsizei>(instances.size());
    }
    void drawInstances(const BatchBuffers& b, bool edges)
    {
        const MeshBuffers& mesh = meshes[static_cast<std::size_t>(b.mesh)];
        f->glBindVertexArray(edges ? b.edgesVao : b.facesVao);
        f->glDrawElementsInstanced(edges ? GL_LINES : GL_TRIANGLES, edges ? mesh.edgeCount : mesh.triangleCount,
                                   GL_UNSIGNED_SHORT, nullptr, b.count);
        ++drawCalls;
    }
};

GlRenderer::GlRenderer() : m_gl(std::make_unique<Gl>()) {}

namespace {

// The arrow in its own frame: x along the facing, y across it, in arrow lengths.
constexpr float ArrowLines[] = {0, 0, 0, 1, 0, 0, 1, 0, 0, 0.75f, 0.12f, 0, 1, 0, 0, 0.75f, -0.12f, 0};

} // namespace
GlRenderer::~GlRenderer() = default;

QString GlRenderer::failure() const { return m_gl->failure; }
int GlRenderer::drawCalls() const { return m_gl->drawCalls; }

bool GlRenderer::initialize()
{
    Gl& g = *m_gl;
    QOpenGLContext* context = QOpenGLContext::currentContext();
    const QSurfaceFormat format = context ? context->format() : QSurfaceFormat();
    if (!context || context->isOpenGLES() || format.version() < qMakePair(3, 3)) {
        g.failure = QStringLiteral("The 3D view needs OpenGL 3.3, which this system does not offer.");
        return false;
    }
    g.f = context->extraFunctions();
    if (!g.meshProgram.addShaderFromSourceCode(QOpenGLShader::Vertex, MeshVertexShader) ||
        !g.meshProgram.addShaderFromSourceCode(QOpenGLShader::Fragment, MeshFragmentShader) || !g.meshProgram.link() ||
        !g.lineProgram.addShaderFromSourceCode(QOpenGLShader::Vertex, LineVertexShader) ||
        !g.lineProgram.addShaderFromSourceCode(QOpenGLShader::Fragment, LineFragmentShader) || !g.lineProgram.link() ||
        !g.arrowProgram.addShaderFromSourceCode(QOpenGLShader::Vertex, ArrowVertexShader) ||
        !g.arrowProgram.addShaderFromSourceCode(QOpenGLShader::Fragment, PlainFragmentShader) || !g.arrowProgram.link() ||
        !g.pointProgram.addShaderFromSourceCode(QOpenGLShader::Vertex, PointVertexShader) ||
        !g.pointProgram.addShaderFromSourceCode(QOpenGLShader::Fragment, MeshFragmentShader) || !g.pointProgram.link()) {
        g.failure = QStringLiteral("The 3D view's shaders do not build on this system's OpenGL: ") + g.meshProgram.log() +
                    g.lineProgram.log() + g.arrowProgram.log() + g.pointProgram.log();
        return false;
    }
    g.makeMesh(Mesh3D::Box, boxMesh());
    g.makeMesh(Mesh3D::Sphere, sphereMesh());
    g.makeMesh(Mesh3D::Cylinder, cylinderMesh());
    g.makeMesh(Mesh3D::Marker, markerMesh());
    g.f->glGenBuffers(1, &g.arrowVertices);
    g.f->glBindBuffer(GL_ARRAY_BUFFER, g.arrowVertices);
    g.f->glBufferData(GL_ARRAY_BUFFER, sizeof ArrowLines, ArrowLines, GL_STATIC_DRAW);
    g.arrowVertexCount = static_cast<GLsizei>(std::size(ArrowLines) / 3);
    for (Gl::Coloured* c : {&g.points, &g.overlayLines, &g.overlayTriangles, &g.selectedDots})
        g.makeColoured(*c);
    for (std::size_t k = 0; k < g.batches.size(); ++k) {
        Gl::BatchBuffers& b = g.batches[k];
        const auto kind = static_cast<BatchKind>(k);
        g.f->glGenBuffers(1, &b.instances);
        b.mesh = meshOf(kind);
        b.layer = layerOf(kind);
        b.translucent = b.layer == ViewLayer::Collision;
        b.standing = kind == BatchKind::SceneBoxes || kind == BatchKind::CacheBoxes;
        b.facesVao = g.instancedVao(g.meshes[static_cast<std::size_t>(b.mesh)], b.instances, false);
        b.edgesVao = g.instancedVao(g.meshes[static_cast<std::size_t>(b.mesh)], b.instances, true);
        b.arrowsVao = g.instancedVao(g.arrowVertices, false, 0, b.instances);
    }
    for (std::size_t k = 0; k < g.selected.size(); ++k) {
        Gl::BatchBuffers& b = g.selected[k];
        g.f->glGenBuffers(1, &b.instances);
        b.mesh = static_cast<Mesh3D>(k);
        b.facesVao = g.instancedVao(g.meshes[k], b.instances, false);
        b.edgesVao = g.instancedVao(g.meshes[k], b.instances, true);
    }
    for (Gl::Lines* l : {&g.route, &g.highlight, &g.fineGrid, &g.coarseGrid, &g.compass})
        g.makeLines(*l);
    // The grids around the origin; drawn moved to the camera's nearest line.
    std::vector<Vec3> fine, coarse;
    for (int k = -100; k <= 100; ++k) {
        fine.insert(fine.end(), {{static_cast<float>(k), 0, -100}, {static_cast<float>(k), 0, 100},
                                 {-100, 0, static_cast<float>(k)}, {100, 0, static_cast<float>(k)}});
        coarse.insert(coarse.end(), {{k * 10.0f, 0, -1000}, {k * 10.0f, 0, 1000}, {-1000, 0, k * 10.0f}, {1000, 0, k * 10.0f}});
    }
    g.fillLines(g.fineGrid, fine.data(), fine.size());
    g.fillLines(g.coarseGrid, coarse.data(), coarse.size());
    const Vec3 axes[] = {{0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {0, 1, 0}, {0, 0, 0}, {0, 0, 1}};
    g.fillLines(g.compass, axes, 6);
    g.ready = true;
    return true;
}

void GlRenderer::setScene(std::shared_ptr<const Scene3D> scene)
{
    Gl& g = *m_gl;
    g.scene = std::move(scene);
    if (!g.ready)
        return;
    if (g.scene)
        g.fillLines(g.route, g.scene->route.data(), g.scene->route.size());
    else
        g.fillLines(g.route, nullptr, 0);
}

void GlRenderer::setHighlight(const Highlight3D& highlight)
{
    Gl& g = *m_gl;
    if (!g.ready)
        return;
    g.selection.items = highlight.items;
    g.fillLines(g.highlight, highlight.lines.data(), highlight.lines.size());
}

void GlRenderer::setOverlay(const std::vector<FramePoint>& lines, const std::vector<FramePoint>& triangles)
{
    Gl& g = *m_gl;
    if (!g.ready)
        return;
    g.fillColoured(g.overlayLines, lines);
    g.fillColoured(g.overlayTriangles, triangles);
}

void GlRenderer::render(const Camera& camera, int width, int height, const LayerSwitches& shown)
{
    Gl& g = *m_gl;
    if (!g.ready)
        return;
    QOpenGLExtraFunctions& f = *g.f;
    g.drawCalls = 0;
    f.glViewport(0, 0, width, height);
    f.glClearColor(0.80f, 0.84f, 0.88f, 1);
    f.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    f.glEnable(GL_DEPTH_TEST);
    f.glDepthFunc(GL_LEQUAL);
    const Mat4 vp = camera.viewProjection(static_cast<float>(width), static_cast<float>(std::max(height, 1)));
    const QMatrix4x4 viewProjection(vp.m.data());
    const QMatrix4x4 matrix = viewProjection.transposed(); // QMatrix4x4 takes rows
    const auto isShown = [&](ViewLayer layer) { return shown[static_cast<std::size_t>(layer)]; };

    // What is in view: each batch's shapes, and the points, into the buffers.
    if (g.scene)
        cullForFrame(*g.scene, camera, static_cast<float>(width), static_cast<float>(std::max(height, 1)), shown, g.frame);
    else
        g.frame = {};
    for (std::size_t k = 0; k < g.batches.size(); ++k)
        g.fillInstances(g.batches[k], g.frame.shapes[k]);
    g.fillColoured(g.points, g.frame.points);
    g.selectedPoints.clear();
    for (std::size_t k = 0; k < g.selected.size(); ++k) {
        g.selectedShapes[k].clear();
        cullInstances(g.selection.items[k], camera, static_cast<float>(width), static_cast<float>(std::max(height, 1)),
                      g.selectedShapes[k], g.selectedPoints, packRgba(255, 217, 0));
        g.fillInstances(g.selected[k], g.selectedShapes[k]);
    }
    g.fillColoured(g.selectedDots, g.selectedPoints);

    // The ground grid first, seen through what stands on it.
    f.glEnable(GL_BLEND);
    // Colours blend; the picture's alpha stays opaque, or the window would show through it.
    f.glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
    f.glDepthMask(GL_FALSE);
    g.lineProgram.bind();
    g.lineProgram.setUniformValue("viewProjection", matrix);
    g.lineProgram.setUniformValue("eye", camera.position.x, camera.position.y, camera.position.z);
    g.lineProgram.setUniformValue("offset", std::round(camera.position.x), 0.0f, std::round(camera.position.z));
    g.lineProgram.setUniformValue("fadeFrom", 15.0f);
    g.lineProgram.setUniformValue("fadeTo", 70.0f);
    g.drawLines(g.fineGrid, GL_LINES, 0.45f, 0.48f, 0.52f, 0.3f);
    g.lineProgram.setUniformValue("offset", std::round(camera.position.x / 10) * 10, 0.0f, std::round(camera.position.z / 10) * 10);
    g.lineProgram.setUniformValue("fadeFrom", 150.0f);
    g.lineProgram.setUniformValue("fadeTo", 700.0f);
    g.drawLines(g.coarseGrid, GL_LINES, 0.35f, 0.38f, 0.42f, 0.45f);
    f.glDepthMask(GL_TRUE);
    f.glDisable(GL_BLEND);

    // Solid things, lit.
    g.meshProgram.bind();
    g.meshProgram.setUniformValue("viewProjection", matrix);
    g.meshProgram.setUniformValue("replaceColour", 0.0f);
    g.meshProgram.setUniformValue("tint", 1.0f, 1.0f, 1.0f, 1.0f);
    g.meshProgram.setUniformValue("lit", 1.0f);
    f.glEnable(GL_CULL_FACE);
    for (const auto& b : g.batches)
        if (!b.translucent && b.count > 0 && isShown(b.layer))
            g.drawInstances(b, false);
    f.glDisable(GL_CULL_FACE);

    // The items too small for their shapes.
    g.drawDots(g.points, matrix);

    // Where the scene's and the cache's objects face.
    g.arrowProgram.bind();
    g.arrowProgram.setUniformValue("viewProjection", matrix);
    g.arrowProgram.setUniformValue("arrowLength", ArrowLength);
    for (const auto& b : g.batches)
        if (b.count > 0 && (b.layer == ViewLayer::Scene || b.layer == ViewLayer::Cache) && isShown(b.layer)) {
            g.arrowProgram.setUniformValue("lift", b.standing ? 0.5f : 0.0f);
            if (b.layer == ViewLayer::Scene)
                g.arrowProgram.setUniformValue("colour", 0.15f, 0.15f, 0.15f, 1.0f);
            else
                g.arrowProgram.setUniformValue("colour", 0.35f, 0.25f, 0.45f, 1.0f);
            f.glBindVertexArray(b.arrowsVao);
            f.glDrawArraysInstanced(GL_LINES, 0, g.arrowVertexCount, b.count);
            ++g.drawCalls;
        }

    // The route.
    g.lineProgram.bind();
    g.lineProgram.setUniformValue("offset", 0.0f, 0.0f, 0.0f);
    g.lineProgram.setUniformValue("fadeTo", 0.0f);
    if (isShown(ViewLayer::Route))
        g.drawLines(g.route, GL_LINE_STRIP, 0.9f, 0.1f, 0.6f, 1);

    // The collision bodies: their edges, then their faces seen through.
    g.meshProgram.bind();
    g.meshProgram.setUniformValue("lit", 0.0f);
    g.meshProgram.setUniformValue("tint", 0.55f, 0.55f, 0.55f, 2.5f);
    for (const auto& b : g.batches)
        if (b.translucent && b.count > 0 && isShown(b.layer))
            g.drawInstances(b, true);
    f.glEnable(GL_BLEND);
    f.glDepthMask(GL_FALSE);
    g.meshProgram.setUniformValue("lit", 1.0f);
    g.meshProgram.setUniformValue("tint", 1.0f, 1.0f, 1.0f, 1.0f);
    for (const auto& b : g.batches)
        if (b.translucent && b.count > 0 && isShown(b.layer))
            g.drawInstances(b, false);
    f.glDepthMask(GL_TRUE);

    // The selection, seen through everything: its faces tinted, its edges in the highlight colour.
    f.glDisable(GL_DEPTH_TEST);
    f.glEnable(GL_BLEND);
    g.meshProgram.setUniformValue("lit", 0.0f);
    g.meshProgram.setUniformValue("replaceColour", 1.0f);
    for (const auto& b : g.selected)
        if (b.count > 0) {
            g.meshProgram.setUniformValue("tint", HighlightRgb[0], HighlightRgb[1], HighlightRgb[2], 0.4f);
            g.drawInstances(b, false);
            g.meshProgram.setUniformValue("tint", HighlightRgb[0], HighlightRgb[1], HighlightRgb[2], 1.0f);
            g.drawInstances(b, true);
        }
    g.meshProgram.setUniformValue("replaceColour", 0.0f);
    g.drawDots(g.selectedDots, matrix);
    g.lineProgram.bind();
    g.lineProgram.setUniformValue("viewProjection", matrix);
    g.drawLines(g.highlight, GL_LINES, HighlightRgb[0], HighlightRgb[1], HighlightRgb[2], 1);

    // The handles, over everything.
    if (g.overlayLines.count > 0 || g.overlayTriangles.count > 0) {
        g.pointProgram.bind();
        g.pointProgram.setUniformValue("viewProjection", matrix);
        g.pointProgram.setUniformValue("opaque", 0.0f);
        for (const auto& [c, mode] : {std::pair{&g.overlayTriangles, GL_TRIANGLES}, std::pair{&g.overlayLines, GL_LINES}})
            if (c->count > 0) {
                f.glBindVertexArray(c->vao);
                f.glDrawArrays(mode, 0, c->count);
                ++g.drawCalls;
            }
        g.lineProgram.bind();
    }

    // The compass: the world's axes as the camera turns them, in the lower left corner.
    const int side = std::min(90, std::min(width, height));
    f.glViewport(0, 0, side, side);
    Camera turned = camera;
    turned.position = -camera.forward() * 3.0f;
    turned.nearPlane = 0.1f;
    turned.farPlane = 10;
    const Mat4 compass = turned.viewProjection(1, 1);
    g.lineProgram.setUniformValue("viewProjection", QMatrix4x4(compass.m.data()).transposed());
    for (int axis = 0; axis < 3; ++axis) {
        g.lineProgram.setUniformValue("colour", axis == 0 ? 0.9f : 0.1f, axis == 1 ? 0.7f : 0.1f, axis == 2 ? 0.9f : 0.1f, 1.0f);
        f.glBindVertexArray(g.compass.vao);
        f.glDrawArrays(GL_LINES, axis * 2, 2);
        ++g.drawCalls;
    }
    f.glViewport(0, 0, width, height);
    f.glEnable(GL_DEPTH_TEST);
    f.glDisable(GL_BLEND);
    f.glBindVertexArray(0);
}

void GlRenderer::release()
{
    Gl& g = *m_gl;
    if (!g.ready)
        return;
    QOpenGLExtraFunctions& f = *g.f;
    for (auto& m : g.meshes) {
        const GLuint buffers[] = {m.vertices, m.triangles, m.edgeVertices, m.edges};
        f.glDeleteBuffers(4, buffers);
    }
    for (auto& b : g.selected) {
        f.glDeleteBuffers(1, &b.instances);
        f.glDeleteVertexArrays(1, &b.facesVao);
        f.glDeleteVertexArrays(1, &b.edgesVao);
    }
    for (auto& b : g.batches) {
        f.glDeleteBuffers(1, &b.instances);
        if (b.facesVao) {
            f.glDeleteVertexArrays(1, &b.facesVao);
            f.glDeleteVertexArrays(1, &b.edgesVao);
            f.glDeleteVertexArrays(1, &b.arrowsVao);
        }
    }
    f.glDeleteBuffers(1, &g.arrowVertices);
    for (Gl::Coloured* c : {&g.points, &g.overlayLines, &g.overlayTriangles, &g.selectedDots}) {
        f.glDeleteBuffers(1, &c->buffer);
        f.glDeleteVertexArrays(1, &c->vao);
    }
    for (Gl::Lines* l : {&g.route, &g.highlight, &g.fineGrid, &g.coarseGrid, &g.compass}) {
        f.glDeleteBuffers(1, &l->buffer);
        f.glDeleteVertexArrays(1, &l->vao);
    }
    g.meshProgram.removeAllShaders();
    g.lineProgram.removeAllShaders();
    g.arrowProgram.removeAllShaders();
    g.pointProgram.removeAllShaders();
    g.ready = false;
}

} // namespace mw

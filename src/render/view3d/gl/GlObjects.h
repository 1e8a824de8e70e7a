#pragma once
// OpenGL buffers and vertex arrays as objects that free themselves: made with the functions of the
// current context, deleted with them when the object goes (the context must then be current, as it
// is while the renderer is released). Move-only, like the names they hold.

#include <QOpenGLExtraFunctions>
#include <utility>

namespace mw {

template <class Kind>
class GlObject {
public:
    GlObject() = default;
    explicit GlObject(QOpenGLExtraFunctions& f) : m_f(&f) { Kind::make(f, m_id); }
    ~GlObject() { reset(); }
    GlObject(GlObject&& other) noexcept : m_f(std::exchange(other.m_f, nullptr)), m_id(std::exchange(other.m_id, 0)) {}
    GlObject& operator=(GlObject&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_f = std::exchange(other.m_f, nullptr);
            m_id = std::exchange(other.m_id, 0);
        }
        return *this;
    }
    GlObject(const GlObject&) = delete;
    GlObject& operator=(const GlObject&) = delete;

    GLuint id() const { return m_id; }
    void reset()
    {
        if (m_f && m_id)
            Kind::free(*m_f, m_id);
        m_f = nullptr;
        m_id = 0;
    }

private:
    QOpenGLExtraFunctions* m_f = nullptr;
    GLuint m_id = 0;
};

struct BufferKind {
    static void make(QOpenGLExtraFunctions& f, GLuint& id) { f.glGenBuffers(1, &id); }
    static void free(QOpenGLExtraFunctions& f, GLuint id) { f.glDeleteBuffers(1, &id); }
};
struct VertexArrayKind {
    static void make(QOpenGLExtraFunctions& f, GLuint& id) { f.glGenVertexArrays(1, &id); }
    static void free(QOpenGLExtraFunctions& f, GLuint id) { f.glDeleteVertexArrays(1, &id); }
};

using GlBuffer = GlObject<BufferKind>;
using GlVertexArray = GlObject<VertexArrayKind>;

} // namespace mw

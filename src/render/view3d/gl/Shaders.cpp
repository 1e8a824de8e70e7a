#include "render/view3d/gl/Shaders.h"

namespace mw {

namespace {

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

// An object's facing: a line from its centre along its z axis out beyond its front, with two barbs
// at the tip, drawn for each instance; an instance without a facing (its alpha short of 1) is put
// beyond the far plane. A vertex with z = 1 is the centre; the others lie past the front by x arrow
// lengths, y arrow lengths aside.
const char* ArrowVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 2) in vec3 c0;
layout(location = 3) in vec3 c1;
layout(location = 4) in vec3 c2;
layout(location = 5) in vec3 c3;
layout(location = 6) in vec4 colour;
uniform mat4 viewProjection;
uniform float arrowLength;
void main()
{
    if (colour.a < 0.999 || dot(c2, c2) == 0.0 || dot(c0, c0) == 0.0) {
        gl_Position = vec4(0.0, 0.0, 2.0, 1.0);
        return;
    }
    float ahead = position.z > 0.5 ? 0.0 : 0.5 * length(c2) + position.x * arrowLength;
    vec3 at = c3 + normalize(c2) * ahead + normalize(c0) * position.y * arrowLength;
    gl_Position = viewProjection * vec4(at, 1.0);
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
        fade = 1.0 - smoothstep(fadeFrom, fadeTo, distance(vWorld, eye)); // seen from high up, a fine grid is a blur
    fragColour = vec4(colour.rgb, colour.a * fade);
}
)";

bool link(QOpenGLShaderProgram& program, const char* vertex, const char* fragment)
{
    return program.addShaderFromSourceCode(QOpenGLShader::Vertex, vertex) &&
           program.addShaderFromSourceCode(QOpenGLShader::Fragment, fragment) && program.link();
}

} // namespace

bool GlPrograms::build(QString& failure)
{
    if (link(mesh, MeshVertexShader, MeshFragmentShader) && link(line, LineVertexShader, LineFragmentShader) &&
        link(arrow, ArrowVertexShader, PlainFragmentShader) && link(point, PointVertexShader, MeshFragmentShader))
        return true;
    failure = QStringLiteral("The 3D view's shaders do not build on this system's OpenGL: ") + mesh.log() + line.log() +
              arrow.log() + point.log();
    return false;
}

} // namespace mw

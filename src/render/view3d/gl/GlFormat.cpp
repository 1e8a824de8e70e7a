#include "render/view3d/gl/GlFormat.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QString>

namespace mw {

QSurfaceFormat view3dSurfaceFormat()
{
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    return format;
}

std::optional<QString> view3dShortfall(const QOpenGLContext* context)
{
    if (context && !context->isOpenGLES() && context->format().version() >= qMakePair(3, 3))
        return std::nullopt;
    return QStringLiteral("The 3D view needs OpenGL 3.3, which this system does not offer.");
}

std::optional<QString> view3dUnavailable()
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return QStringLiteral("The 3D view needs OpenGL 3.3, which this display (%1) cannot show.").arg(platform);
    QOpenGLContext context;
    context.setFormat(view3dSurfaceFormat());
    return view3dShortfall(context.create() ? &context : nullptr);
}

} // namespace mw

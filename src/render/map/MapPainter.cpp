#include "render/map/MapPainter.h"

#include <algorithm>
#include <QPixmap>
#include <cmath>

namespace mw {

namespace {

constexpr std::array<std::pair<MarkerKind, const char*>, 7> KindNames{{{MarkerKind::Light, "light"},
                                                                       {MarkerKind::Sound, "sound"},
                                                                       {MarkerKind::Human, "human"},
                                                                       {MarkerKind::Car, "car"},
                                                                       {MarkerKind::Building, "building"},
                                                                       {MarkerKind::Model, "model"},
                                                                       {MarkerKind::Other, "other"}}};

QColor qColour(Rgb c) { return QColor(c.r, c.g, c.b); }
QColor colourOf(MarkerKind kind) { return qColour(markerColour(kind)); }

const QColor CachePen = qColour(CacheColour);
const QColor CollisionPen = qColour(CollisionColour);

bool insideQuad(const std::array<MapPoint, 4>& poly, MapPoint p)
{
    bool in = false;
    for (std::size_t i = 0, j = 3; i < 4; j = i++)
        if ((poly[i].z > p.z) != (poly[j].z > p.z) &&
            p.x < (poly[j].x - poly[i].x) * (p.z - poly[i].z) / (poly[j].z - poly[i].z) + poly[i].x)
            in = !in;
    return in;
}

bool isHidden(const MapOverlay& overlay, const MapShape& s)
{
    if (indexOf(s.layer) >= overlay.hidden.size())
        return false;
    const auto& rows = overlay.hidden[indexOf(s.layer)];
    return s.row < rows.size() && rows[s.row];
}

bool isSelected(const MapOverlay& overlay, const MapShape& s)
{
    if (indexOf(s.layer) >= overlay.selected.size())
        return false;
    const auto& rows = overlay.selected[indexOf(s.layer)];
    return std::binary_search(rows.begin(), rows.end(), s.row);
}

void drawLegend(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 210));
    const int lineHeight = p.fontMetrics().height();
    p.drawRect(QRect(6, 6, 120, lineHeight * 9 + 8));
    int y = 10 + lineHeight;
    for (const auto& [kind, name] : KindNames) {
        p.setPen(QPen(colourOf(kind), MapMarkerRadius * 2, Qt::SolidLine, Qt::SquareCap));
        p.drawPoint(QPointF(16, y - lineHeight / 3.0));
        p.setPen(Qt::black);
        p.drawText(28, y, QString::fromLatin1(name));
        y += lineHeight;
    }
    p.setPen(CachePen);
    p.drawRect(QRect(11, y - lineHeight / 2 - 4, 10, 8));
    p.setPen(Qt::black);
    p.drawText(28, y, QStringLiteral("cached object"));
    y += lineHeight;
    p.setPen(CollisionPen);
    p.drawEllipse(QPointF(16, y - lineHeight / 3.0), 5, 5);
    p.setPen(Qt::black);
    p.drawText(28, y, QStringLiteral("collision body"));
}

void drawScaleBar(QPainter& p, const MapCamera& camera)
{
    // The largest round length (1, 2 or 5 times a power of ten) up to 120 pixels.
    const double units = 120 / camera.scale;
    const double power = std::pow(10.0, std::floor(std::log10(units)));
    double length = power;
    for (double f : {2.0, 5.0, 10.0})
        if (power * f <= units)
            length = power * f;
    const double pixels = length * camera.scale;
    const QPointF start(12, camera.size.height() - 14);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(start, start + QPointF(pixels, 0));
    p.drawLine(start, start + QPointF(0, -5));
    p.drawLine(start + QPointF(pixels, 0), start + QPointF(pixels, -5));
    p.drawText(start + QPointF(pixels + 6, 4), QString::number(length) + QStringLiteral(" m"));
}

} // namespace

QPointF MapCamera::toScreen(MapPoint p) const
{
    return {size.width() / 2.0 + (p.x - centre.x) * scale, size.height() / 2.0 - (p.z - centre.z) * scale};
}

MapPoint MapCamera::toWorld(QPointF p) const
{
    return {static_cast<float>(centre.x + (p.x() - size.width() / 2.0) / scale),
            static_cast<float>(centre.z - (p.y() - size.height() / 2.0) / scale)};
}

MapCamera MapCamera::fitting(const MapArea& map, QSizeF size)
{
    MapCamera camera;
    camera.size = size;
    const double w = std::max(1.0f, map.max.x - map.min.x), d = std::max(1.0f, map.max.z - map.min.z);
    camera.centre = {(map.min.x + map.max.x) / 2, (map.min.z + map.max.z) / 2};
    camera.scale = std::min((size.width() - 40) / w, (size.height() - 40) / d);
    if (!(camera.scale > 0))
        camera.scale = 1;
    return camera;
}

bool insideOutline(const std::array<MapPoint, 4>& outline, MapPoint p) { return insideQuad(outline, p); }

namespace {

// A large mission seen whole puts many entries on the same pixels: each small thing is drawn once
// per 2 x 2 pixel cell and kind, so a frame costs at most the view's size.
class Cells {
public:
    explicit Cells(QSizeF size)
        : m_x(static_cast<int>(size.width()) / 2 + 2), m_y(static_cast<int>(size.height()) / 2 + 2),
          m_taken(static_cast<std::size_t>(m_x) * static_cast<std::size_t>(m_y))
    {
    }
    // True the first time a thing of the kind `bit` stands in the cell of `c`.
    bool first(QPointF c, std::uint16_t bit)
    {
        const int cx = static_cast<int>(c.x() / 2) + 1, cy = static_cast<int>(c.y() / 2) + 1;
        if (cx < 0 || cy < 0 || cx >= m_x || cy >= m_y)
            return true;
        std::uint16_t& cell = m_taken[static_cast<std::size_t>(cy) * static_cast<std::size_t>(m_x) + static_cast<std::size_t>(cx)];
        if (cell & bit)
            return false;
        cell |= bit;
        return true;
    }

private:
    int m_x, m_y;
    std::vector<std::uint16_t> m_taken;
};

// The kinds of things a cell holds once.
enum CellBit : std::uint16_t { CacheBit = 1, BodyBit = 2, BodyPointBit = 4, MarkerBits = 8, RingBit = 1024, OutlineBit = 2048 };

// An outline's four sides, or a pixel where it is smaller than one; nothing out of view.
void addOutline(QVector<QLineF>& lines, Cells& cells, std::uint16_t bit, const MapShape& s, const MapCamera& camera,
                const QRectF& view)
{
    std::array<QPointF, 4> q;
    for (int i = 0; i < 4; ++i)
        q[i] = camera.toScreen(s.outline[i]);
    const QRectF box = QRectF(q[0], q[2]).normalized().united(QRectF(q[1], q[3]).normalized());
    if (!view.intersects(box.adjusted(-1, -1, 1, 1)))
        return;
    const QPointF c = camera.toScreen(s.centre);
    if (box.width() < 2 && box.height() < 2) {
        if (cells.first(c, bit))
            lines.append(QLineF(c, c + QPointF(1, 0)));
        return;
    }
    for (int i = 0; i < 4; ++i)
        lines.append(QLineF(q[i], q[(i + 1) % 4]));
}

// Outlines first (cache, collision), markers on top; each colour in one call.
void drawShapes(QPainter& p, const MissionMap& map, const MapCamera& camera, const MapOverlay& overlay, Cells& cells,
                const QRectF& view)
{
    QVector<QLineF> cacheLines, bodyLines, headings;
    QVector<QPointF> bodyPoints;
    std::array<QVector<QPointF>, MarkerKindCount> markers;
    for (const MapShape& s : map.shapes) {
        if (!overlay.visible[indexOf(s.layer)] || isHidden(overlay, s))
            continue;
        const QPointF c = camera.toScreen(s.centre);
        if (s.corners) {
            const bool cached = s.layer == ViewLayer::Cache;
            addOutline(cached ? cacheLines : bodyLines, cells, cached ? CacheBit : BodyBit, s, camera, view);
        } else if (s.layer == ViewLayer::Collision) {
            const double r = s.radius * camera.scale;
            if (!view.intersects(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r)))
                continue;
            if (r >= 2) {
                p.setPen(CollisionPen);
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(c, r, r);
            } else if (cells.first(c, BodyPointBit)) {
                bodyPoints.append(c);
            }
        } else if (view.contains(c) && cells.first(c, static_cast<std::uint16_t>(MarkerBits << static_cast<int>(s.kind)))) {
            markers[static_cast<std::size_t>(s.kind)].append(c);
            if (s.heading.x != 0 || s.heading.z != 0)
                headings.append(QLineF(c, c + QPointF(s.heading.x, -s.heading.z) * (MapMarkerRadius * 2.5)));
        }
    }
    p.setPen(QPen(CachePen, 1));
    p.drawLines(cacheLines);
    p.setPen(QPen(CollisionPen, 1));
    p.drawLines(bodyLines);
    p.setPen(QPen(CollisionPen, 2));
    p.drawPoints(bodyPoints);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.drawLines(headings);
    for (std::size_t k = 0; k < markers.size(); ++k) {
        p.setPen(QPen(colourOf(static_cast<MarkerKind>(k)), MapMarkerRadius * 2, Qt::SolidLine, Qt::SquareCap));
        p.drawPoints(markers[k]);
    }
}

// The selection: a ring about each object, each cached object's and body's outline in blue; like
// the rest, drawn once per cell and in as few calls as it can be (Select All of a city).
void drawSelection(QPainter& p, const MissionMap& map, const MapCamera& camera, const MapOverlay& overlay, Cells& cells,
                   const QRectF& view)
{
    const QPen selectionPen(QColor(0, 90, 255), 2);
    static const QPixmap ring = [&] {
        const int side = static_cast<int>(MapMarkerRadius * 4 + 4);
        QPixmap picture(side, side);
        picture.fill(Qt::transparent);
        QPainter rp(&picture);
        rp.setRenderHint(QPainter::Antialiasing);
        rp.setPen(selectionPen);
        rp.drawEllipse(QPointF(side / 2.0, side / 2.0), MapMarkerRadius * 2, MapMarkerRadius * 2);
        return picture;
    }();
    QVector<QLineF> outlines;
    QVector<QPointF> rings;
    p.setPen(selectionPen);
    p.setBrush(Qt::NoBrush);
    for (const MapShape& s : map.shapes) {
        if (!isSelected(overlay, s) || !overlay.visible[indexOf(s.layer)] || isHidden(overlay, s))
            continue;
        const QPointF c = camera.toScreen(s.centre);
        const double r = s.radius * camera.scale;
        if (s.corners)
            addOutline(outlines, cells, OutlineBit, s, camera, view);
        else if (s.layer == ViewLayer::Collision && r > MapMarkerRadius * 2 && view.contains(c))
            p.drawEllipse(c, r + 1, r + 1);
        else if (view.contains(c) && cells.first(c, RingBit))
            rings.append(c);
    }
    p.drawLines(outlines);
    const QPointF ringHalf(ring.width() / 2.0, ring.height() / 2.0);
    for (const QPointF& c : rings)
        p.drawPixmap(c - ringHalf, ring);
}

// The entry a list marked, ringed black and yellow.
void drawMarked(QPainter& p, const MapShape& s, const MapCamera& camera)
{
    const QPointF c = camera.toScreen(s.centre);
    const double r = std::max(MapMarkerRadius * 2.5, s.corners ? 0.0 : s.radius * camera.scale + 3);
    p.setPen(QPen(QColor(0, 0, 0), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(QColor(255, 255, 0), 1));
    p.drawEllipse(c, r + 2, r + 2);
}

} // namespace

void paintMissionMap(QPainter& p, const MissionMap& map, const MapCamera& camera, const MapOverlay& overlay)
{
    const QRectF view = QRectF(QPointF(0, 0), camera.size).adjusted(-10, -10, 10, 10);
    Cells cells(camera.size);
    drawShapes(p, map, camera, overlay, cells, view);
    p.setRenderHint(QPainter::Antialiasing);
    if (std::any_of(overlay.selected.begin(), overlay.selected.end(), [](const auto& rows) { return !rows.empty(); }))
        drawSelection(p, map, camera, overlay, cells, view);
    if (overlay.band) {
        p.setPen(QPen(QColor(0, 90, 255), 1, Qt::DashLine));
        p.setBrush(QColor(0, 90, 255, 40));
        p.drawRect(*overlay.band);
    }
    if (overlay.highlight && *overlay.highlight < map.shapes.size())
        drawMarked(p, map.shapes[*overlay.highlight], camera);
    drawLegend(p);
    drawScaleBar(p, camera);
}

QImage missionMapImage(const MissionMap& map, int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(MapBackground);
    QPainter painter(&image);
    paintMissionMap(painter, map, MapCamera::fitting(map, QSizeF(size, size)), {});
    return image;
}

} // namespace mw

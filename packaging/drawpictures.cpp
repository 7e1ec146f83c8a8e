// Draws the program's pictures: the main window's background, the seven tool bar pictures and the
// menu icon in its sizes. Every picture the program ships is made here, by this program, so that
// the package owes nobody a licence for them. Run it again after a change and commit its output:
//
//   cmake --build build/release --target draw_pictures && build/release/draw_pictures .
//
// The drawing is deterministic: the same source gives the same files.
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

QRandomGenerator random(19042026);

double uniform(double from, double to) { return from + (to - from) * random.generateDouble(); }

// ---- The background: a village shop of the cooperative and its warehouse, fields and sky ------

void sky(QPainter &p, const QSize &size)
{
    QLinearGradient gradient(0, 0, 0, size.height() * 0.55);
    gradient.setColorAt(0, QColor(58, 118, 196));
    gradient.setColorAt(0.7, QColor(140, 186, 232));
    gradient.setColorAt(1, QColor(214, 230, 240));
    p.fillRect(QRect(QPoint(0, 0), size), gradient);
    QRadialGradient sun(QPointF(1480, 190), 260);
    sun.setColorAt(0, QColor(255, 250, 225, 255));
    sun.setColorAt(0.18, QColor(255, 244, 200, 230));
    sun.setColorAt(1, QColor(255, 244, 200, 0));
    p.fillRect(QRect(1100, 0, 800, 500), sun);
    for (int cloud = 0; cloud < 9; ++cloud) {
        const QPointF centre(uniform(0, size.width()), uniform(90, 420));
        const double width = uniform(160, 380);
        for (int puff = 0; puff < 40; ++puff) {
            const QPointF at = centre + QPointF(uniform(-width, width), uniform(-width / 6, width / 8));
            const double r = uniform(30, 80);
            QRadialGradient white(at, r);
            white.setColorAt(0, QColor(255, 255, 255, 70));
            white.setColorAt(1, QColor(255, 255, 255, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(white);
            p.drawEllipse(at, r, r);
        }
    }
}

QPainterPath ridge(double base, double height, double waves, double phase, int width)
{
    QPainterPath path(QPointF(0, 1200));
    for (int x = 0; x <= width; x += 8)
        path.lineTo(x, base - height * (0.6 * std::sin(x / waves + phase) + 0.4 * std::sin(x / (waves * 0.37) + phase * 2)));
    path.lineTo(width, 1200);
    path.closeSubpath();
    return path;
}

void land(QPainter &p, const QSize &size)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(112, 146, 150));
    p.drawPath(ridge(600, 40, 210, 0.3, size.width()));
    p.setBrush(QColor(96, 150, 92));
    p.drawPath(ridge(660, 30, 160, 1.7, size.width()));
    // fields in strips towards the horizon
    const QColor fields[] = {QColor(126, 170, 70), QColor(196, 178, 88), QColor(92, 146, 64), QColor(150, 182, 82)};
    for (int strip = 0; strip < 12; ++strip) {
        const double top = 660 + strip * strip * 3.9;
        const double bottom = 660 + (strip + 1) * (strip + 1) * 3.9;
        QPolygonF band;
        band << QPointF(-200, bottom) << QPointF(size.width() + 200, bottom) << QPointF(size.width() + 200, top) << QPointF(-200, top);
        p.setBrush(fields[strip % 4].darker(100 + strip * 2));
        p.drawPolygon(band);
    }
    QLinearGradient meadow(0, 1100, 0, 1200);
    meadow.setColorAt(0, QColor(70, 140, 52));
    meadow.setColorAt(1, QColor(48, 118, 40));
    p.fillRect(QRect(0, 1100, size.width(), 100), meadow);
}

void building(QPainter &p, const QRectF &walls, const QColor &wall, const QColor &roof, bool shop)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60)); // its shadow on the grass
    p.drawEllipse(QRectF(walls.left() - 30, walls.bottom() - 18, walls.width() + 140, 40));
    p.setBrush(wall);
    p.drawRect(walls);
    QPolygonF gable;
    gable << QPointF(walls.left() - 24, walls.top()) << QPointF(walls.center().x(), walls.top() - walls.height() * 0.45)
          << QPointF(walls.right() + 24, walls.top());
    p.setBrush(roof);
    p.drawPolygon(gable);
    p.setBrush(wall.darker(150));
    const double doorWidth = walls.width() * (shop ? 0.16 : 0.34);
    p.drawRect(QRectF(walls.center().x() - doorWidth / 2, walls.bottom() - walls.height() * 0.62, doorWidth, walls.height() * 0.62));
    if (shop) {
        p.setBrush(QColor(160, 200, 220));
        for (double x : {walls.left() + walls.width() * 0.1, walls.right() - walls.width() * 0.3})
            p.drawRect(QRectF(x, walls.top() + walls.height() * 0.3, walls.width() * 0.2, walls.height() * 0.3));
        // the striped awning over the door
        const double stripe = walls.width() / 10;
        for (int i = 0; i < 10; ++i) {
            p.setBrush(i % 2 ? QColor(244, 255, 249) : QColor(232, 82, 63));
            p.drawRect(QRectF(walls.left() + i * stripe, walls.top() + walls.height() * 0.12, stripe, walls.height() * 0.1));
        }
        p.setBrush(QColor(20, 92, 56));
        p.drawRect(QRectF(walls.left() + walls.width() * 0.25, walls.top() - walls.height() * 0.02, walls.width() * 0.5, walls.height() * 0.1));
    }
}

// Blades rooted between the rows from and to; the far ones first, so the buildings stand in the grass.
void grass(QPainter &p, const QSize &size, double from, double to, int blades)
{
    for (int blade = 0; blade < blades; ++blade) {
        const double y = uniform(from, to);
        const double x = uniform(-10, size.width() + 10);
        const double depth = (y - 740) / 460; // nearer blades are longer and brighter
        const double length = 4 + 26 * depth * depth * uniform(0.5, 1.0);
        p.setPen(QPen(QColor::fromHsv(int(uniform(85, 115)), int(uniform(120, 200)), int(uniform(90, 150) + 60 * depth)), 1 + depth * 1.6));
        p.drawLine(QPointF(x, y), QPointF(x + uniform(-6, 6) * depth, y - length));
    }
}

QImage background()
{
    QImage image(1920, 1200, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    sky(p, image.size());
    land(p, image.size());
    grass(p, image.size(), 760, 822, 5000);
    building(p, QRectF(1180, 560, 420, 190), QColor(222, 206, 170), QColor(120, 70, 52), false); // the base warehouse
    building(p, QRectF(560, 620, 360, 200), QColor(240, 236, 222), QColor(20, 92, 56), true);    // the shop
    grass(p, image.size(), 822, image.height() + 20, 21000);
    p.end();
    // The grain of a photograph.
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(random.bounded(25)) - 12;
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + n, 255), qBound(0, qGreen(c) + n, 255), qBound(0, qBlue(c) + n, 255));
        }
    }
    return image;
}

// ---- The tool bar's pictures, 16 x 16 ------------------------------------------------------------

QImage icon16(const std::function<void(QPainter &)> &draw)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return image;
}

const QColor Ink(20, 92, 56), Crate(217, 164, 65), CrateEdge(138, 93, 23), Red(232, 82, 63), Paper(250, 250, 244);

void crate(QPainter &p, QRectF r)
{
    p.setPen(QPen(CrateEdge, 1));
    p.setBrush(Crate);
    p.drawRect(r);
    p.drawLine(r.topLeft(), r.bottomRight());
}

void house(QPainter &p, QRectF r, const QColor &roof)
{
    p.setPen(QPen(Ink, 1));
    p.setBrush(Paper);
    p.drawRect(r);
    p.setBrush(roof);
    p.drawPolygon(QPolygonF({QPointF(r.left() - 1.5, r.top()), QPointF(r.center().x(), r.top() - 4.5), QPointF(r.right() + 1.5, r.top())}));
}

void paper(QPainter &p, QRectF r)
{
    p.setPen(QPen(Ink, 1));
    p.setBrush(Paper);
    p.drawRect(r);
    for (double y = r.top() + 3; y < r.bottom() - 1; y += 2.5)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void tick(QPainter &p, QPointF at)
{
    p.setPen(QPen(Red, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({at, at + QPointF(2.5, 2.5), at + QPointF(7, -4)}));
}

void arrow(QPainter &p, QPointF from, QPointF to)
{
    p.setPen(QPen(Red, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot((to - from).x(), (to - from).y());
    const QPointF n(-d.y(), d.x());
    p.drawLine(to, to - 3 * d + 2.5 * n);
    p.drawLine(to, to - 3 * d - 2.5 * n);
}

QList<QPair<QString, QImage>> toolPictures()
{
    return {
        {QStringLiteral("0-distribution"), icon16([](QPainter &p) { crate(p, {1.5, 9.5, 5, 5}); arrow(p, {5, 8}, {10.5, 3}); arrow(p, {7.5, 11}, {14, 11}); })},
        {QStringLiteral("1-shopstock"), icon16([](QPainter &p) { house(p, {2.5, 6.5, 11, 8}, Red); crate(p, {5.5, 9.5, 5, 5}); })},
        {QStringLiteral("2-warehouse"), icon16([](QPainter &p) { house(p, {1.5, 6.5, 13, 8}, Ink); crate(p, {3.5, 10.5, 4, 4}); crate(p, {8.5, 10.5, 4, 4}); })},
        {QStringLiteral("3-revenue"), icon16([](QPainter &p) {
             p.setPen(QPen(Ink, 1));
             p.drawLine(QPointF(1.5, 1), QPointF(1.5, 14.5));
             p.drawLine(QPointF(1.5, 14.5), QPointF(15, 14.5));
             p.setPen(QPen(Red, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.drawPolyline(QPolygonF({QPointF(3, 12), QPointF(6, 8), QPointF(9, 10), QPointF(14, 3)}));
         })},
        {QStringLiteral("4-shopaudit"), icon16([](QPainter &p) { house(p, {1.5, 7.5, 8, 7}, Red); paper(p, {8.5, 2.5, 6, 10}); tick(p, {9, 8}); })},
        {QStringLiteral("5-baseaudit"), icon16([](QPainter &p) { crate(p, {1.5, 8.5, 6, 6}); paper(p, {8.5, 2.5, 6, 10}); tick(p, {9, 8}); })},
        {QStringLiteral("6-receipts"), icon16([](QPainter &p) { paper(p, {1.5, 1.5, 8, 11}); arrow(p, {15, 12}, {8.5, 12}); crate(p, {10.5, 4.5, 5, 5}); })},
    };
}

// ---- The menu icon: the shop of packaging/myrolan.svg, drawn on its 256 x 256 grid --------------

QImage menuIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    p.setPen(Qt::NoPen);
    QLinearGradient green(0, 8, 0, 248);
    green.setColorAt(0, QColor(0x3f, 0xbf, 0x7f));
    green.setColorAt(1, QColor(0x1b, 0x7a, 0x4b));
    p.setBrush(green);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 40, 40);
    p.setBrush(QColor(0xf4, 0xff, 0xf9));
    p.drawRect(QRectF(52, 112, 152, 100));
    p.setBrush(QColor(0xc6, 0xff, 0xe3));
    p.drawPolygon(QPolygonF({QPointF(44, 80), QPointF(212, 80), QPointF(220, 116), QPointF(36, 116)}));
    p.setBrush(QColor(0xe8, 0x52, 0x3f));
    p.drawPolygon(QPolygonF({QPointF(44, 80), QPointF(72, 80), QPointF(68, 116), QPointF(36, 116)}));
    p.drawPolygon(QPolygonF({QPointF(100, 80), QPointF(128, 80), QPointF(128, 116), QPointF(96, 116)}));
    p.drawPolygon(QPolygonF({QPointF(156, 80), QPointF(184, 80), QPointF(188, 116), QPointF(160, 116)}));
    QPainterPath scallops(QPointF(36, 116));
    for (int x = 36; x < 204; x += 28) {
        scallops.quadTo(x + 14, 132, x + 28, 116);
    }
    scallops.quadTo(212, 128, 220, 116);
    scallops.closeSubpath();
    p.drawPath(scallops);
    p.setBrush(QColor(0x14, 0x5c, 0x38));
    p.drawRoundedRect(QRectF(40, 60, 176, 22), 6, 6);
    p.drawRect(QRectF(72, 142, 40, 70));
    p.setPen(QPen(QColor(0x14, 0x5c, 0x38), 6));
    p.setBrush(QColor(0x8f, 0xd6, 0xb2));
    p.drawRect(QRectF(128, 142, 56, 40));
    p.setPen(QPen(QColor(0x8a, 0x5d, 0x17), 4));
    p.setBrush(QColor(0xd9, 0xa4, 0x41));
    p.drawRect(QRectF(150, 186, 34, 26));
    p.drawLine(QPointF(150, 199), QPointF(184, 199));
    return image;
}

bool save(const QImage &image, const QString &path, const char *format, int quality = -1)
{
    if (image.save(path, format, quality))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_pictures SOURCE_DIR\n");
        return 2;
    }
    const QString top = QString::fromLocal8Bit(argv[1]);
    bool ok = save(background(), top + QStringLiteral("/assets/background.jpg"), "JPEG", 97);
    for (const auto &[name, picture] : toolPictures())
        ok = save(picture, top + QStringLiteral("/assets/imagelist1/") + name + QStringLiteral(".png"), "PNG") && ok;
    for (int size : {48, 128, 256})
        ok = save(menuIcon(size), top + QStringLiteral("/packaging/myrolan-%1.png").arg(size), "PNG") && ok;
    return ok ? 0 : 1;
}

// Draws the game's pictures and the program icon into assets/.
// Everything is procedural with fixed seeds, so the output is the same on
// every run; tweak the numbers here and run it again:
//   cmake --build build --target make_pictures && build/make_pictures assets
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// ---- noise -----------------------------------------------------------

std::uint32_t Hash(int x, int y, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B1u ^ static_cast<std::uint32_t>(x) * 0x85EBCA77u ^
                      static_cast<std::uint32_t>(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

double Lattice(int x, int y, std::uint32_t seed) { return (Hash(x, y, seed) & 0xffffff) / double(0xffffff); }

double Smooth(double t) { return t * t * (3 - 2 * t); }

// Value noise in 0..1.
double Noise(double x, double y, std::uint32_t seed) {
    const int ix = static_cast<int>(std::floor(x));
    const int iy = static_cast<int>(std::floor(y));
    const double fx = Smooth(x - ix);
    const double fy = Smooth(y - iy);
    const double a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
    const double c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

double Fbm(double x, double y, int octaves, std::uint32_t seed) {
    double sum = 0, amplitude = 0.5, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * Noise(x, y, seed + 101u * i);
        total += amplitude;
        x *= 2.03;
        y *= 2.03;
        amplitude *= 0.5;
    }
    return sum / total;
}

int Clamp255(double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); }

QRgb Mix(QRgb a, QRgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return qRgb(Clamp255(qRed(a) + (qRed(b) - qRed(a)) * t), Clamp255(qGreen(a) + (qGreen(b) - qGreen(a)) * t),
                Clamp255(qBlue(a) + (qBlue(b) - qBlue(a)) * t));
}

QRgb Shade(QRgb c, double f) { return qRgb(Clamp255(qRed(c) * f), Clamp255(qGreen(c) * f), Clamp255(qBlue(c) * f)); }

// ---- tiles -----------------------------------------------------------

constexpr int Tile = 25;

// The one-pixel edges every tile shares: white top and left, black bottom
// and right, plus a soft inner bevel that makes the tile read as raised.
void Edges(QImage& tile) {
    for (int i = 0; i < Tile; ++i) {
        tile.setPixel(i, 1, Mix(tile.pixel(i, 1), qRgb(255, 255, 255), 0.35));
        tile.setPixel(1, i, Mix(tile.pixel(1, i), qRgb(255, 255, 255), 0.35));
        tile.setPixel(i, Tile - 2, Shade(tile.pixel(i, Tile - 2), 0.75));
        tile.setPixel(Tile - 2, i, Shade(tile.pixel(Tile - 2, i), 0.75));
    }
    for (int i = 0; i < Tile; ++i) {
        tile.setPixel(i, 0, qRgb(255, 255, 255));
        tile.setPixel(0, i, qRgb(255, 255, 255));
    }
    for (int i = 0; i < Tile; ++i) {
        tile.setPixel(i, Tile - 1, qRgb(0, 0, 0));
        tile.setPixel(Tile - 1, i, qRgb(0, 0, 0));
    }
}

// A tile must never contain its key colour, or holes would appear.
void AvoidKey(QImage& tile, QRgb key) {
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
            if ((tile.pixel(x, y) & RGB_MASK) == (key & RGB_MASK))
                tile.setPixel(x, y, qRgb(qRed(key) ^ 1, qGreen(key) ^ 1, qBlue(key) ^ 1));
}

QImage BodyTile() {
    QImage tile(Tile, Tile, QImage::Format_RGB32);
    const QRgb deep = qRgb(60, 150, 225);
    const QRgb light = qRgb(165, 225, 255);
    for (int y = 0; y < Tile; ++y) {
        for (int x = 0; x < Tile; ++x) {
            // Overlapping scales: rows of arcs, each lit from the top left.
            const double sx = x / 6.0 + ((y / 5) % 2) * 0.5;
            const double sy = y / 5.0;
            const double fx = sx - std::floor(sx) - 0.5;
            const double fy = sy - std::floor(sy);
            const double scale = 1.0 - std::clamp(std::sqrt(fx * fx * 1.4 + fy * fy) * 1.1, 0.0, 1.0);
            const double grain = Fbm(x / 3.0, y / 3.0, 3, 7);
            const double diagonal = 1.0 - (x + y) / (2.0 * Tile);
            const double t = 0.25 + 0.35 * scale + 0.25 * grain + 0.25 * diagonal;
            tile.setPixel(x, y, Mix(deep, light, t));
        }
    }
    Edges(tile);
    AvoidKey(tile, qRgb(0, 128, 0));
    return tile;
}

QImage FoodTile() {
    QImage tile(Tile, Tile, QImage::Format_RGB32);
    for (int y = 0; y < Tile; ++y) {
        for (int x = 0; x < Tile; ++x) {
            const double body = Fbm(x / 5.0, y / 5.0, 4, 31);
            const double crack = std::abs(Fbm(x / 7.0 + 3, y / 7.0, 3, 57) - 0.5);
            const double speck = Lattice(x, y, 91);
            double v = 95 + 110 * body + 20 * (1.0 - (x + y) / (2.0 * Tile));
            if (crack < 0.035)
                v *= 0.62;  // fine dark veins
            if (speck > 0.93)
                v += 28;
            if (speck < 0.05)
                v -= 30;
            const int g = Clamp255(v);
            // A touch of warmth keeps the stone from looking like plastic.
            tile.setPixel(x, y, qRgb(Clamp255(g + 4), g, Clamp255(g - 6)));
        }
    }
    Edges(tile);
    AvoidKey(tile, qRgb(255, 0, 0));
    return tile;
}

// ---- background ------------------------------------------------------

QImage Background() {
    constexpr int W = 502, H = 576;
    QImage picture(W, H, QImage::Format_RGB32);
    const QRgb zenith = qRgb(38, 92, 178);
    const QRgb horizon = qRgb(150, 200, 240);

    // Hill outlines, far to near.
    auto farHill = [](double x) {
        return 385 + 28 * std::sin(x / 83.0 + 0.7) + 17 * std::sin(x / 37.0 + 2.1) + 12 * (Fbm(x / 60.0, 0.5, 3, 5) - 0.5);
    };
    auto midHill = [](double x) {
        return 438 + 34 * std::sin(x / 97.0 + 2.6) + 14 * std::sin(x / 41.0 + 0.4) + 10 * (Fbm(x / 45.0, 1.5, 3, 6) - 0.5);
    };
    auto nearHill = [](double x) {
        return 505 + 26 * std::sin(x / 120.0 + 4.0) + 12 * std::sin(x / 53.0 + 1.3) + 6 * (Fbm(x / 30.0, 2.5, 3, 8) - 0.5);
    };

    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            // Sky: gradient, then clouds drawn as soft, lit puffs.
            const double t = std::pow(y / 420.0, 1.2);
            QRgb c = Mix(zenith, horizon, t);
            const double nx = x / 150.0, ny = y / 55.0;
            const double cloud = Fbm(nx + 0.3 * Fbm(nx, ny, 2, 13), ny, 5, 21);
            const double band = 1.0 - std::abs(y - 170.0) / 230.0;  // fewer clouds near the hills
            const double density = std::clamp((cloud - 0.52 + 0.1 * band) * 4.2, 0.0, 1.0) * std::clamp(band * 2.0, 0.0, 1.0);
            if (density > 0) {
                const double lit = Fbm(nx + 0.08, ny - 0.25, 4, 21);  // brighter where the puff faces the sun
                const QRgb cloudColour = Mix(qRgb(205, 215, 232), qRgb(255, 255, 255), (cloud - lit) * 6 + 0.6);
                c = Mix(c, cloudColour, density);
            }

            const double far = farHill(x), mid = midHill(x), near = nearHill(x);
            if (y >= far) {
                const double g = Fbm(x / 25.0, y / 25.0, 3, 41);
                c = Mix(qRgb(78, 140, 110), qRgb(110, 165, 130), g);
                c = Mix(c, horizon, 0.25);  // haze on the far range
                if (y < far + 2)
                    c = Mix(c, qRgb(160, 205, 170), 0.5);
            }
            if (y >= mid) {
                const double g = Fbm(x / 18.0, y / 14.0, 4, 43);
                const double slope = (midHill(x + 1) - midHill(x - 1)) * 0.5;
                c = Mix(qRgb(44, 120, 52), qRgb(96, 170, 70), g + slope * 0.25 - (y - mid) / 300.0);
                if (y < mid + 2)
                    c = Mix(c, qRgb(150, 205, 110), 0.6);
            }
            if (y >= near) {
                const double g = Fbm(x / 9.0, y / 6.0, 4, 47);
                const double blade = Lattice(x, y / 2, 49);
                const double slope = (nearHill(x + 1) - nearHill(x - 1)) * 0.5;
                c = Mix(qRgb(52, 135, 40), qRgb(120, 192, 64), g * 0.9 + slope * 0.3 - (y - near) / 220.0);
                if (blade > 0.9)
                    c = Shade(c, 1.15);
                else if (blade < 0.08)
                    c = Shade(c, 0.85);
                if (y < near + 2)
                    c = Mix(c, qRgb(170, 220, 110), 0.6);
            }
            picture.setPixel(x, y, c);
        }
    }
    return picture;
}

// ---- icon ------------------------------------------------------------

// The serpent's centre line on a 32-unit grid: a square spiral coiled
// inwards clockwise, ending with the head in the middle.
QPainterPath SpiralPath() {
    QPainterPath path;
    path.moveTo(2.5, 21.0);
    path.lineTo(2.5, 2.5);
    path.lineTo(29.5, 2.5);
    path.lineTo(29.5, 29.5);
    path.lineTo(8.5, 29.5);
    path.lineTo(8.5, 8.5);
    path.lineTo(23.5, 8.5);
    path.lineTo(23.5, 23.5);
    path.lineTo(15.5, 23.5);
    path.lineTo(15.5, 17.0);
    return path;
}

struct IconColours {
    QRgb outline, body, belly, spots, eye, tongue, head;
    bool stripe;
};

void PaintIcon(QPainter& p, double unit, bool smooth, const IconColours& c) {
    p.scale(unit, unit);
    const QPainterPath spine = SpiralPath();
    constexpr double thickness = 3.0;
    auto stroke = [&](QRgb colour, double width, Qt::PenCapStyle cap) {
        QPen pen{QColor(colour)};
        pen.setWidthF(width);
        pen.setCapStyle(cap);
        pen.setJoinStyle(Qt::MiterJoin);
        p.strokePath(spine, pen);
    };
    stroke(c.outline, thickness + 2.0, Qt::RoundCap);
    stroke(c.body, thickness, Qt::RoundCap);
    // A lighter stripe along the coil, and darker bands across the back.
    if (c.stripe)
        stroke(c.belly, thickness * 0.3, Qt::RoundCap);
    {
        QPen pen{QColor(c.spots)};
        pen.setWidthF(smooth ? thickness * 0.55 : 1.0);
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern({1.0 / pen.widthF(), 2.0 / pen.widthF()});
        pen.setJoinStyle(Qt::MiterJoin);
        p.strokePath(spine, pen);
    }

    // Head: a rounded block in the middle of the coil, looking up.
    const QRectF head(12.5, 13.5, 6.0, 5.0);
    p.setPen(QPen(QColor(c.outline), 1.0));
    p.setBrush(QColor(c.head));
    p.drawRoundedRect(head, smooth ? 2.0 : 1.0, smooth ? 2.0 : 1.0);
    // Forked tongue flicking out of the mouth.
    QPen tongue{QColor(c.tongue)};
    tongue.setWidthF(smooth ? 0.7 : 1.0);
    tongue.setCapStyle(Qt::FlatCap);
    p.setPen(tongue);
    p.setBrush(Qt::NoBrush);
    QPainterPath fork;
    if (smooth) {
        fork.moveTo(15.5, 13.0);
        fork.lineTo(15.5, 12.0);
        fork.lineTo(14.4, 10.8);
        fork.moveTo(15.5, 12.0);
        fork.lineTo(16.6, 10.8);
    } else {
        fork.moveTo(15.5, 12.0);
        fork.lineTo(15.5, 13.0);
        fork.moveTo(14.5, 11.0);
        fork.lineTo(14.5, 12.0);
        fork.moveTo(16.5, 11.0);
        fork.lineTo(16.5, 12.0);
    }
    p.drawPath(fork);
    // Purple eyes.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(c.eye));
    if (smooth) {
        p.drawEllipse(QRectF(13.2, 14.3, 1.9, 1.9));
        p.drawEllipse(QRectF(15.9, 14.3, 1.9, 1.9));
        p.setBrush(QColor(255, 255, 255));
        p.drawEllipse(QRectF(13.6, 14.6, 0.55, 0.55));
        p.drawEllipse(QRectF(16.3, 14.6, 0.55, 0.55));
    } else {
        p.drawRect(QRectF(14.0, 15.0, 1.0, 1.0));
        p.drawRect(QRectF(17.0, 15.0, 1.0, 1.0));
    }
}

// 32 x 32 in the sixteen standard colours, crisp, with a transparent field.
QImage SmallIcon() {
    // Drawn eight times larger and sampled at pixel centres, which keeps
    // every line exactly on the pixel grid.
    constexpr int Zoom = 8;
    QImage canvas(32 * Zoom, 32 * Zoom, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    {
        QPainter p(&canvas);
        p.setRenderHint(QPainter::Antialiasing, true);
        PaintIcon(p, Zoom, false,
                  {qRgb(0, 0, 0), qRgb(128, 128, 0), qRgb(255, 255, 0), qRgb(0, 128, 0), qRgb(128, 0, 128),
                   qRgb(0, 0, 0), qRgb(128, 128, 0), false});
    }
    QVector<QRgb> table = {qRgba(0, 0, 0, 0),     qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),
                           qRgb(128, 128, 0),     qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128),
                           qRgb(192, 192, 192),   qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),
                           qRgb(255, 255, 0),     qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(255, 255, 255)};
    QImage icon(32, 32, QImage::Format_Indexed8);
    icon.setColorTable(table);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb px = canvas.pixel(x * Zoom + Zoom / 2, y * Zoom + Zoom / 2);
            int best = 0;
            if (qAlpha(px) >= 128) {
                int bestDistance = 1 << 30;
                for (int i = 1; i < table.size(); ++i) {
                    const int dr = qRed(px) - qRed(table[i]), dg = qGreen(px) - qGreen(table[i]),
                              db = qBlue(px) - qBlue(table[i]);
                    const int d = dr * dr + dg * dg + db * db;
                    if (d < bestDistance) {
                        bestDistance = d;
                        best = i;
                    }
                }
            }
            icon.setPixel(x, y, static_cast<uint>(best));
        }
    }
    return icon;
}

// The same design for larger desktop icons, in full colour and smoothed.
QImage LargeIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, true);
    PaintIcon(p, size / 32.0, true,
              {qRgb(24, 28, 6), qRgb(128, 128, 0), qRgb(214, 206, 72), qRgb(82, 96, 10), qRgb(128, 0, 128),
               qRgb(10, 10, 10), qRgb(140, 138, 16), true});
    return icon;
}

bool Save(const QImage& image, const QString& folder, const char* name) {
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("assets");
    bool ok = Save(BodyTile(), folder, "body.png") && Save(FoodTile(), folder, "food.png") &&
              Save(Background(), folder, "background.png") && Save(SmallIcon(), folder, "icon-32.png");
    for (const int size : {48, 64, 128, 256}) {
        const std::string name = "icon-" + std::to_string(size) + ".png";
        ok = ok && Save(LargeIcon(size), folder, name.c_str());
    }
    return ok ? 0 : 1;
}

// Draws the board images of Fourfall and writes them as 24-bit BMP files.
//
//   fourfall-imagegen <dir>                      writes the eight images into <dir>
//   fourfall-imagegen --preview <png> <dir> [w h] composes a whole board from the
//                                                images in <dir> into <png>, as
//                                                the game does for a board area
//                                                of w x h (default 461 x 519)
//
// The art is drawn at the size the tiles have in the window as it first opens
// (cells 57 x 57, borders 12 x 12, the right border 13 x 12), so that the
// opening window shows every pixel as drawn. One light falls from the top left
// on everything. The holes show the navy of the panel behind the board.
#include <QColor>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/bitmap.h"

namespace {

constexpr int kCell = 57;
constexpr int kBorder = 12;

const QColor kPanel(0, 64, 128);    // the board area's background, seen through the holes
const QColor kBoard(238, 186, 38);  // golden plastic
const QColor kRedStone(206, 22, 30);
const QColor kBlueStone(34, 104, 236);

QColor Shade(const QColor& c, double factor) {
    auto channel = [factor](int v) {
        const double out = factor >= 1.0 ? v + (255 - v) * (factor - 1.0) : v * factor;
        return static_cast<int>(std::lround(std::clamp(out, 0.0, 255.0)));
    };
    return QColor(channel(c.red()), channel(c.green()), channel(c.blue()));
}

// The moulded rim around a hole: a raised lip lit on its upper left, then a
// chamfer down into the hole, lit on its lower right.
constexpr double kCentre = kCell / 2.0;
constexpr double kHoleRadius = 21.0;
constexpr double kChamferRadius = 23.5;
constexpr double kLipRadius = 26.0;

void DrawRing(QPainter& p, double outer, double inner, const QColor& upperLeft,
              const QColor& lowerRight) {
    QLinearGradient g(kCentre - outer, kCentre - outer, kCentre + outer, kCentre + outer);
    g.setColorAt(0.0, upperLeft);
    g.setColorAt(0.5, kBoard);
    g.setColorAt(1.0, lowerRight);
    QPainterPath ring;
    ring.addEllipse(QPointF(kCentre, kCentre), outer, outer);
    ring.addEllipse(QPointF(kCentre, kCentre), inner, inner);
    p.fillPath(ring, g);
}

QImage NewCell() {
    QImage image(kCell, kCell, QImage::Format_RGB32);
    image.fill(kBoard);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    DrawRing(p, kLipRadius, kChamferRadius, Shade(kBoard, 1.45), Shade(kBoard, 0.72));
    return image;
}

// The board's edge throws a shadow into the hole on its upper left.
void DrawRimShadow(QPainter& p, double strength) {
    QRadialGradient g(QPointF(kCentre + 3.0, kCentre + 3.0), kHoleRadius + 3.0);
    g.setColorAt(0.80, QColor(0, 0, 0, 0));
    g.setColorAt(1.0, QColor(0, 0, 0, static_cast<int>(255 * strength)));
    QPainterPath hole;
    hole.addEllipse(QPointF(kCentre, kCentre), kHoleRadius, kHoleRadius);
    p.fillPath(hole, g);
}

void DrawChamfer(QPainter& p) {
    DrawRing(p, kChamferRadius, kHoleRadius - 0.5, Shade(kBoard, 0.55), Shade(kBoard, 1.55));
}

QImage Hole() {
    QImage image = NewCell();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kPanel);
    p.drawEllipse(QPointF(kCentre, kCentre), kHoleRadius, kHoleRadius);
    DrawRimShadow(p, 0.55);
    DrawChamfer(p);
    return image;
}

// A glossy stone seated in the hole: lit from the upper left, a groove round
// its face, and a soft highlight.
QImage Stone(const QColor& base) {
    QImage image = NewCell();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QPointF centre(kCentre, kCentre);
    const double r = kHoleRadius;

    QRadialGradient body(centre, r * 1.05, QPointF(kCentre - r * 0.45, kCentre - r * 0.45));
    body.setColorAt(0.0, Shade(base, 1.45));
    body.setColorAt(0.45, base);
    body.setColorAt(1.0, Shade(base, 0.42));
    p.setBrush(body);
    p.drawEllipse(centre, r, r);

    // The groove: dark on its upper left edge, catching light on its lower right.
    p.setBrush(Qt::NoBrush);
    QLinearGradient groove(kCentre - r, kCentre - r, kCentre + r, kCentre + r);
    groove.setColorAt(0.0, Shade(base, 0.5));
    groove.setColorAt(1.0, Shade(base, 1.35));
    p.setPen(QPen(QBrush(groove), 1.6));
    p.drawEllipse(centre, r * 0.68, r * 0.68);
    QLinearGradient lip(kCentre - r, kCentre - r, kCentre + r, kCentre + r);
    lip.setColorAt(0.0, Shade(base, 1.35));
    lip.setColorAt(1.0, Shade(base, 0.55));
    p.setPen(QPen(QBrush(lip), 1.0));
    p.drawEllipse(centre, r * 0.68 + 1.3, r * 0.68 + 1.3);
    p.setPen(Qt::NoPen);

    QRadialGradient gloss(QPointF(kCentre - r * 0.38, kCentre - r * 0.42), r * 0.5);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 200));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(gloss);
    p.drawEllipse(QPointF(kCentre - r * 0.38, kCentre - r * 0.42), r * 0.5, r * 0.38);

    DrawRimShadow(p, 0.45);
    DrawChamfer(p);
    return image;
}

// Edge profiles by distance d in pixels from the board's outer edge: the lit
// left edge and the shaded right and bottom edges.
QColor LitEdge(int d) {
    static const double kFactors[] = {0.55, 1.55, 1.45, 1.2};
    return d < 4 ? Shade(kBoard, kFactors[d]) : kBoard;
}

QColor ShadedEdge(int d) {
    static const double kFactors[] = {0.35, 0.55, 0.68, 0.8, 0.92};
    return d < 5 ? Shade(kBoard, kFactors[d]) : kBoard;
}

QImage Tile(int width, int height, const std::function<QColor(int x, int y)>& colour) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) image.setPixelColor(x, y, colour(x, y));
    }
    return image;
}

// The board's lower edge cuts the bottom border tile off two or three rows
// above its own bottom, and the corner tiles sit three rows higher than it (at
// the opening size; about as much, scaled, at others). So the bottom tile's
// edge row is three rows above the corners' last row, and the edges meet.
constexpr int kBottomEdgeRow = 8;
constexpr int kCornerEdgeRow = kBorder - 1;

QImage BorderLeft() {
    return Tile(kBorder, kBorder, [](int x, int) { return LitEdge(x); });
}

QImage BorderRight() {
    return Tile(kBorder + 1, kBorder, [](int x, int) { return ShadedEdge(kBorder - x); });
}

QImage BorderBottom() {
    return Tile(kBorder, kBorder,
                [](int, int y) { return ShadedEdge(std::max(kBottomEdgeRow - y, 0)); });
}

// Picture-frame corners: each pixel takes the profile of the nearer edge.
QImage BorderLeftBottom() {
    return Tile(kBorder, kBorder, [](int x, int y) {
        const int toBottom = kCornerEdgeRow - y;
        return x < toBottom ? LitEdge(x) : ShadedEdge(toBottom);
    });
}

QImage BorderRightBottom() {
    return Tile(kBorder, kBorder, [](int x, int y) {
        return ShadedEdge(std::min(kBorder - 1 - x, kCornerEdgeRow - y));
    });
}

bool WriteBmp24(const QImage& image, const QString& path) {
    const int w = image.width();
    const int h = image.height();
    const int stride = (w * 3 + 3) / 4 * 4;
    const int offset = 14 + 40;
    std::vector<unsigned char> out(static_cast<std::size_t>(offset + stride * h), 0);
    auto put = [&out](int at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out[static_cast<std::size_t>(at) + static_cast<std::size_t>(i)] = (v >> (8 * i)) & 255;
    };
    out[0] = 'B';
    out[1] = 'M';
    put(2, static_cast<std::uint32_t>(out.size()), 4);
    put(10, offset, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(w), 4);
    put(22, static_cast<std::uint32_t>(h), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, static_cast<std::uint32_t>(stride * h), 4);
    put(38, 3780, 4);  // 96 dots per inch
    put(42, 3780, 4);
    for (int y = 0; y < h; ++y) {
        const int row = offset + (h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) put(row + 3 * x, image.pixel(x, y) & 0xFFFFFF, 3);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(out.data()), static_cast<qint64>(out.size())) ==
               static_cast<qint64>(out.size());
}

int WriteImages(const QString& dir) {
    const std::vector<std::pair<const char*, QImage>> images = {
        {"board.bmp", Hole()},
        {"drstone.bmp", Stone(kRedStone)},
        {"dbstone.bmp", Stone(kBlueStone)},
        {"borderL.bmp", BorderLeft()},
        {"borderR.bmp", BorderRight()},
        {"borderB.bmp", BorderBottom()},
        {"borderRB.bmp", BorderRightBottom()},
        {"borderLB.bmp", BorderLeftBottom()},
    };
    for (const auto& [name, image] : images) {
        const QString path = dir + "/" + name;
        if (!WriteBmp24(image, path)) {
            std::fprintf(stderr, "fourfall-imagegen: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}

// Composes the board the way the game does, closely enough to judge the art:
// the same tile sizes and positions, the same plain stretch.
int Preview(const QString& png, const QString& dir, int pbW, int pbH) {
    const char* names[] = {"board.bmp",   "drstone.bmp", "dbstone.bmp",  "borderL.bmp",
                           "borderR.bmp", "borderB.bmp", "borderRB.bmp", "borderLB.bmp"};
    TBitmap source[8];
    try {
        for (int i = 0; i < 8; ++i) source[i].LoadFromFile((dir + "/" + names[i]).toStdString());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "fourfall-imagegen: %s\n", e.what());
        return 1;
    }
    const int F = pbW * 6 / 7 > pbH ? pbH * 7 / 6 : pbW;
    const int W = 9 * F / 10;
    const int m = W * 6 / 7;
    const int H = m > 0 ? (97 * m - 1) / 100 : 0;
    const float b = static_cast<float>(W * 0.03);
    const float c = static_cast<float>((W - 2.0 * b) / 7.0);
    const int T = 47 * W / 350 + 2;
    const int B = 3 * W / 100;
    TBitmap tile[8];
    const int sizes[8][2] = {{T, T}, {T, T}, {T, T}, {B, B}, {B + 1, B}, {B, B}, {B, B}, {B, B}};
    for (int i = 0; i < 8; ++i) {
        tile[i].SetSize(sizes[i][0], sizes[i][1]);
        tile[i].Canvas().StretchDraw(Rect(0, 0, sizes[i][0], sizes[i][1]), source[i]);
    }
    TBitmap board;
    board.SetSize(W, H);
    for (int y = 0; y < H && B > 0; y += B) {
        board.Canvas().Draw(0, y, tile[3]);
        board.Canvas().Draw(static_cast<int>(7.0 * c + b), y, tile[4]);
    }
    for (int x = 0; x < W && B > 0; x += B)
        board.Canvas().Draw(x, static_cast<int>(6.0 * c), tile[5]);
    board.Canvas().Draw(static_cast<int>(static_cast<float>(W) - b + 1),
                        static_cast<int>(static_cast<float>(H) - b), tile[6]);
    board.Canvas().Draw(0, static_cast<int>(static_cast<float>(H) - b), tile[7]);
    const int B0 = W > 0 ? (3 * W - 1) / 100 : 0;
    const float c0 = static_cast<float>((W - 2.0 * B0) / 7.0);
    // A sample game: the bottom rows mixed, so every tile shows.
    const char* rows[6] = {"RBRBBRR", "BRBRRB.", ".BR.B..", "..R....", ".......", "......."};
    for (int col = 0; col < 7; ++col) {
        for (int row = 0; row < 6; ++row) {
            const char s = rows[row][col];
            const TBitmap& t = s == 'R' ? tile[1] : s == 'B' ? tile[2] : tile[0];
            board.Canvas().Draw(
                static_cast<int>(static_cast<float>(B0) + static_cast<float>(col) * c0),
                static_cast<int>(static_cast<float>(5 - row) * c0), t);
        }
    }
    QImage out(pbW, pbH, QImage::Format_RGB32);
    out.fill(kPanel);
    QPainter(&out).drawImage((pbW - W) / 2, (pbH - H) / 2, board.Image());
    return out.save(png) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // Painting on a QImage needs no application object, and so no display.
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    if (args.size() >= 4 && args[1] == "--preview") {
        const int w = args.size() >= 6 ? args[4].toInt() : 461;
        const int h = args.size() >= 6 ? args[5].toInt() : 519;
        return Preview(args[2], args[3], w, h);
    }
    if (args.size() != 2) {
        std::fprintf(stderr,
                     "usage: fourfall-imagegen <output dir>\n"
                     "       fourfall-imagegen --preview <png> <image dir> [w h]\n");
        return 2;
    }
    return WriteImages(args[1]);
}

// fourfall-icongen: draws Fourfall's program icon.
//
// The motif is a corner of the blue board, four holes by four, where four red
// stones stand on a rising diagonal. It is described once, as a handful of
// shapes on a 256 x 256 canvas, and rendered three ways from that description:
// anti-aliased PNGs for modern desktops, an SVG for the scalable icon theme
// folder, and the classic 32 x 32 icon in 16 colours (PNG, XPM and a 4-bit ICO).
//
// Usage: fourfall-icongen <output folder>

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <QTextStream>
#include <QtEndian>
#include <array>
#include <cstdio>

namespace {

constexpr double kCanvas = 256.0;

// The board: a rounded square with a dark outline.
constexpr QRgb kBoardLight = qRgb(0x4a, 0x8a, 0xf0);
constexpr QRgb kBoardMid = qRgb(0x2c, 0x66, 0xd8);
constexpr QRgb kBoardDark = qRgb(0x17, 0x47, 0xb0);
constexpr QRgb kBoardOutlineColour = qRgb(0x0b, 0x22, 0x5e);

// Holes and stones sit on a 4 x 4 grid; row 0 is the bottom row.
constexpr int kGrid = 4;
constexpr QRgb kHoleColour = qRgb(0xe4, 0xec, 0xf8);
constexpr QRgb kHoleShadow = qRgb(0x0e, 0x2f, 0x7a);

struct StoneColours {
    QRgb light;  // the highlight toward the upper left
    QRgb base;
    QRgb rim;
};
constexpr StoneColours kRed{qRgb(0xff, 0x9a, 0x86), qRgb(0xe0, 0x22, 0x22), qRgb(0x7a, 0x08, 0x08)};
constexpr StoneColours kBlue{qRgb(0xb8, 0xd4, 0xff), qRgb(0x3d, 0x6b, 0xff),
                             qRgb(0x06, 0x14, 0x4d)};

// How much detail a rendering carries. Gradients and thin rims read well from
// 48 pixels up; smaller icons need flat colours and lines a whole pixel wide.
struct Look {
    bool shaded;
    bool onlyTheFour;   // leave out the holes and the blue stones
    double inset;       // margin between the canvas's edge and the grid
    double corner;      // radius of the board's rounded corners
    double outline;     // width of the board's outline
    double holeRadius;  // holes and stones alike
    double rim;         // dark ring around a stone, 0 for none
    double highlight;   // radius of a flat stone's shine, 0 for none
    double holeShadow;  // depth of the crescent that sinks a hole, 0 for none
};
// The small looks put the grid on whole pixels: 8 pixels a cell at 32 x 32.
constexpr Look kShaded{true, false, 6.0, 40.0, 8.0, 25.0, 5.0, 0.0, 3.0};
constexpr Look kClassic{false, false, 0.0, 32.0, 8.0, 24.0, 8.0, 8.0, 0.0};  // 32 x 32, 16 colours
constexpr Look kTiny{false, true, 16.0, 48.0, 16.0, 26.0, 0.0, 0.0, 0.0};    // 16 x 16

enum class Cell { Empty, Red, Blue };

// Red's winning diagonal with the stones it stands on, dropped in a believable
// order (the columns further right are off the picture).
constexpr std::array<std::array<Cell, kGrid>, kGrid> kCells{{
    // column 0, bottom to top
    {Cell::Red, Cell::Empty, Cell::Empty, Cell::Empty},
    {Cell::Blue, Cell::Red, Cell::Empty, Cell::Empty},
    {Cell::Blue, Cell::Blue, Cell::Red, Cell::Empty},
    {Cell::Red, Cell::Blue, Cell::Blue, Cell::Red},
}};

QPointF cellCentre(int column, int row, const Look& look) {
    const double pitch = (kCanvas - 2 * look.inset) / kGrid;
    return {look.inset + (column + 0.5) * pitch, kCanvas - look.inset - (row + 0.5) * pitch};
}

// ---- Raster rendering ---------------------------------------------------------

void paintStone(QPainter& p, QPointF centre, const StoneColours& c, const Look& look) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(c.rim));
    p.drawEllipse(centre, look.holeRadius, look.holeRadius);
    const double r = look.holeRadius - look.rim;
    if (look.shaded) {
        QRadialGradient body(centre + QPointF(-8, -9), look.holeRadius * 1.3);
        body.setColorAt(0.0, QColor(c.light));
        body.setColorAt(0.45, QColor(c.base));
        body.setColorAt(1.0, QColor(c.rim));
        p.setBrush(body);
    } else {
        p.setBrush(QColor(c.base));
    }
    p.drawEllipse(centre, r, r);
    if (look.highlight > 0) {
        p.setBrush(QColor(c.light));
        p.drawEllipse(centre + QPointF(-r / 2.5, -r / 2.5), look.highlight, look.highlight);
    }
}

void paintHole(QPainter& p, QPointF centre, const Look& look) {
    // A dark crescent at the top makes the hole look sunk into the board.
    p.setPen(Qt::NoPen);
    const double r = look.holeRadius;
    if (look.holeShadow > 0) {
        p.setBrush(QColor(kHoleShadow));
        p.drawEllipse(centre, r, r);
    }
    p.setBrush(QColor(kHoleColour));
    const double d = look.holeShadow;
    p.drawEllipse(centre + QPointF(0, d), r - d, r - d);
}

void paintMotif(QPainter& p, const Look& look) {
    // The outline is stroked inside the board's square, so nothing spills over the edge.
    const double half = look.outline / 2;
    const QRectF board(0, 0, kCanvas, kCanvas);
    p.setPen(QPen(QColor(kBoardOutlineColour), look.outline));
    if (look.shaded) {
        QLinearGradient fill(board.topLeft(), board.bottomLeft());
        fill.setColorAt(0.0, QColor(kBoardLight));
        fill.setColorAt(1.0, QColor(kBoardDark));
        p.setBrush(fill);
    } else {
        p.setBrush(QColor(kBoardMid));
    }
    p.drawRoundedRect(board.adjusted(half, half, -half, -half), look.corner, look.corner);

    for (int column = 0; column < kGrid; ++column) {
        for (int row = 0; row < kGrid; ++row) {
            const QPointF centre = cellCentre(column, row, look);
            const Cell cell =
                kCells[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
            const bool onTheDiagonal = column == row;
            if (look.onlyTheFour && !onTheDiagonal) continue;
            switch (cell) {
                case Cell::Empty:
                    paintHole(p, centre, look);
                    break;
                case Cell::Red:
                    paintStone(p, centre, kRed, look);
                    break;
                case Cell::Blue:
                    paintStone(p, centre, kBlue, look);
                    break;
            }
        }
    }
}

QImage render(int size, const Look& look) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kCanvas, size / kCanvas);
    paintMotif(p, look);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// ---- SVG ----------------------------------------------------------------------

QString hex(QRgb c) { return QColor(c).name(); }

QString svgDocument() {
    QString s;
    QTextStream out(&s);
    const double half = kShaded.outline / 2;
    const double side = kCanvas - kShaded.outline;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
           "viewBox=\"0 0 256 256\">\n"
        << "  <defs>\n"
        << "    <linearGradient id=\"board\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n"
        << "      <stop offset=\"0\" stop-color=\"" << hex(kBoardLight) << "\"/>\n"
        << "      <stop offset=\"1\" stop-color=\"" << hex(kBoardDark) << "\"/>\n"
        << "    </linearGradient>\n";
    for (const auto& [id, c] : {std::pair{"red", kRed}, std::pair{"blue", kBlue}}) {
        out << "    <radialGradient id=\"" << id
            << "\" gradientUnits=\"objectBoundingBox\" cx=\"0.34\" cy=\"0.31\" r=\"0.81\">\n"
            << "      <stop offset=\"0\" stop-color=\"" << hex(c.light) << "\"/>\n"
            << "      <stop offset=\"0.45\" stop-color=\"" << hex(c.base) << "\"/>\n"
            << "      <stop offset=\"1\" stop-color=\"" << hex(c.rim) << "\"/>\n"
            << "    </radialGradient>\n";
    }
    out << "  </defs>\n"
        << "  <rect x=\"" << half << "\" y=\"" << half << "\" width=\"" << side << "\" height=\""
        << side << "\" rx=\"" << kShaded.corner << "\" fill=\"url(#board)\" "
        << "stroke=\"" << hex(kBoardOutlineColour) << "\" stroke-width=\"" << kShaded.outline
        << "\"/>\n";
    for (int column = 0; column < kGrid; ++column) {
        for (int row = 0; row < kGrid; ++row) {
            const QPointF c = cellCentre(column, row, kShaded);
            const Cell cell =
                kCells[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
            if (cell == Cell::Empty) {
                out << "  <circle cx=\"" << c.x() << "\" cy=\"" << c.y() << "\" r=\""
                    << kShaded.holeRadius << "\" fill=\"" << hex(kHoleShadow) << "\"/>\n"
                    << "  <circle cx=\"" << c.x() << "\" cy=\"" << c.y() + kShaded.holeShadow
                    << "\" r=\"" << kShaded.holeRadius - kShaded.holeShadow << "\" fill=\""
                    << hex(kHoleColour) << "\"/>\n";
            } else {
                const StoneColours& colours = cell == Cell::Red ? kRed : kBlue;
                out << "  <circle cx=\"" << c.x() << "\" cy=\"" << c.y() << "\" r=\""
                    << kShaded.holeRadius << "\" fill=\"" << hex(colours.rim) << "\"/>\n"
                    << "  <circle cx=\"" << c.x() << "\" cy=\"" << c.y() << "\" r=\""
                    << kShaded.holeRadius - kShaded.rim << "\" fill=\"url(#"
                    << (cell == Cell::Red ? "red" : "blue") << ")\"/>\n";
            }
        }
    }
    out << "</svg>\n";
    return s;
}

// ---- The 16-colour icon -------------------------------------------------------

constexpr QRgb mix(QRgb a, QRgb b) {
    return qRgb((qRed(a) + qRed(b)) / 2, (qGreen(a) + qGreen(b)) / 2, (qBlue(a) + qBlue(b)) / 2);
}

// Entry 0 is transparent; the others are the flat look's own colours plus the
// halfway shades that keep the edges of a 32-pixel rendering smooth.
const QList<QRgb> kPalette16{
    qRgba(0, 0, 0, 0),
    kBoardOutlineColour,
    kBoardMid,
    mix(kBoardMid, kBoardOutlineColour),
    kHoleColour,
    kHoleShadow,
    mix(kHoleColour, kBoardMid),
    mix(kHoleColour, kHoleShadow),
    kRed.light,
    kRed.base,
    kRed.rim,
    mix(kRed.rim, kBoardMid),
    kBlue.light,
    kBlue.base,
    kBlue.rim,
    mix(kBlue.base, kBlue.light),
};

int nearestOpaque(QRgb c) {
    int best = 1;
    long bestDistance = -1;
    for (int i = 1; i < kPalette16.size(); ++i) {
        // Weighted so that errors in green, to which the eye is most sensitive, count most.
        const long dr = qRed(c) - qRed(kPalette16[i]);
        const long dg = qGreen(c) - qGreen(kPalette16[i]);
        const long db = qBlue(c) - qBlue(kPalette16[i]);
        const long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

// Maps an anti-aliased rendering onto the palette. The classic icon format
// only knows opaque and transparent, so half-covered pixels become opaque.
QImage quantise(const QImage& argb) {
    QImage indexed(argb.size(), QImage::Format_Indexed8);
    indexed.setColorTable(kPalette16);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb c = argb.pixel(x, y);
            indexed.setPixel(x, y, qAlpha(c) < 128 ? 0u : static_cast<uint>(nearestOpaque(c)));
        }
    }
    return indexed;
}

template <typename T>
void put(QByteArray& out, T value) {
    const T little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), sizeof little);
}

// A Windows icon file with one 4-bit image: the colour bits bottom-up, two
// pixels per byte, then a 1-bit mask whose set bits are transparent.
QByteArray icoFile(const QImage& indexed) {
    const int side = indexed.width();
    const int colourRow = (side / 2 + 3) / 4 * 4;
    const int maskRow = (side / 8 + 3) / 4 * 4;
    const auto bitmapBytes = static_cast<quint32>(40 + 16 * 4 + (colourRow + maskRow) * side);

    QByteArray out;
    put<quint16>(out, 0);  // reserved
    put<quint16>(out, 1);  // an icon, not a cursor
    put<quint16>(out, 1);  // one image
    // One byte per side: the format writes a side of 256 as 0, as the cast does.
    put<quint8>(out, static_cast<quint8>(side));
    put<quint8>(out, static_cast<quint8>(side));
    put<quint8>(out, 16);  // colours
    put<quint8>(out, 0);
    put<quint16>(out, 1);  // planes
    put<quint16>(out, 4);  // bits per pixel
    put<quint32>(out, bitmapBytes);
    put<quint32>(out, 6 + 16);  // the image follows the directory

    put<quint32>(out, 40);
    put<qint32>(out, side);
    put<qint32>(out, 2 * side);  // colour bits and mask together
    put<quint16>(out, 1);
    put<quint16>(out, 4);
    put<quint32>(out, 0);  // uncompressed
    put<quint32>(out, static_cast<quint32>((colourRow + maskRow) * side));
    put<qint32>(out, 0);
    put<qint32>(out, 0);
    put<quint32>(out, 16);
    put<quint32>(out, 0);
    for (QRgb c : kPalette16) {
        put<quint8>(out, static_cast<quint8>(qBlue(c)));
        put<quint8>(out, static_cast<quint8>(qGreen(c)));
        put<quint8>(out, static_cast<quint8>(qRed(c)));
        put<quint8>(out, 0);
    }
    for (int y = side - 1; y >= 0; --y) {
        QByteArray row(colourRow, '\0');
        for (int x = 0; x < side; ++x) {
            const int index = indexed.pixelIndex(x, y);
            row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 ? index : index << 4));
        }
        out += row;
    }
    for (int y = side - 1; y >= 0; --y) {
        QByteArray row(maskRow, '\0');
        for (int x = 0; x < side; ++x) {
            if (indexed.pixelIndex(x, y) == 0)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        out += row;
    }
    return out;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fourfall-icongen <output folder>\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(".")) {
        std::fprintf(stderr, "fourfall-icongen: cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = true;

    // The 32-pixel theme icon is the classic one; the other sizes use full colour.
    const QImage classic = quantise(render(32, kClassic));
    ok &= classic.save(dir.filePath("fourfall-32.png"));
    ok &= classic.save(dir.filePath("fourfall.xpm"));
    ok &= writeFile(dir.filePath("fourfall.ico"), icoFile(classic));
    ok &= render(16, kTiny).save(dir.filePath("fourfall-16.png"));
    for (int size : {48, 64, 128, 256}) {
        ok &= render(size, kShaded).save(dir.filePath(QStringLiteral("fourfall-%1.png").arg(size)));
    }
    ok &= writeFile(dir.filePath("fourfall.svg"), svgDocument().toUtf8());

    if (!ok) {
        std::fprintf(stderr, "fourfall-icongen: could not write every icon into %s\n", argv[1]);
        return 1;
    }
    return 0;
}

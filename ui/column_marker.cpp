#include "ui/column_marker.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>

#include "ui/board_geometry.h"

namespace {

// A light yellow that stands out on the dark blue around the board and on
// both stone colours, with a thin dark edge.
const QColor kMarkerFill(255, 214, 64);
const QColor kMarkerEdge(40, 30, 0);

// The smallest marker worth drawing, and the gap between its tip and the
// board.
constexpr int kMinimumHeight = 4;
constexpr int kGap = 2;

}  // namespace

TColumnMarker::TColumnMarker(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

QRect TColumnMarker::PlaceFor(int column, int paintBoxWidth, int paintBoxHeight, int boardWidth,
                              int boardHeight) {
    const int left = BoardOffset(paintBoxWidth, boardWidth);
    const int top = BoardOffset(paintBoxHeight, boardHeight);
    const int tile = CellTileSize(boardWidth);
    // Twice as wide as high, half a cell across unless the margin is lower
    // than that.
    const int height = std::min(tile / 4, top - kGap);
    if (height < kMinimumHeight) return {};
    const int width = 2 * height;
    const int centre = left + CellLeft(boardWidth, column) + tile / 2;
    return {centre - width / 2, top - kGap - height, width, height};
}

void TColumnMarker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kMarkerEdge, 1));
    painter.setBrush(kMarkerFill);
    const int w = width() - 1;
    const int h = height() - 1;
    painter.drawPolygon(QPolygon({QPoint(0, 0), QPoint(w, 0), QPoint(w / 2, h)}));
}

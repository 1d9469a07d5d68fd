// The keyboard player's marker: a small triangle pointing down at the chosen
// column, in the margin above the board.
//
// It is a widget of its own over the paint box, so it never draws on the
// board bitmap and the board's own painting never has to know about it.
// Mouse input passes through it to the paint box beneath, so a click on the
// marker is a click on the board.
#pragma once

#include <QWidget>

class TColumnMarker : public QWidget {
    Q_OBJECT

  public:
    explicit TColumnMarker(QWidget* parent);

    // Where the marker goes for a board bitmap `boardWidth` x `boardHeight`
    // shown centred in a paint box `paintBoxWidth` x `paintBoxHeight`:
    // centred over the drawn cells of `column`, its tip just above the
    // board's top edge. Empty when the margin above the board is too low to
    // hold a marker.
    static QRect PlaceFor(int column, int paintBoxWidth, int paintBoxHeight, int boardWidth,
                          int boardHeight);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

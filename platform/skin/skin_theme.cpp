#include "platform/skin/skin_theme.h"

#include <QFontDatabase>
#include <QStringList>

namespace skin {

QString FamilyFor(Face face) {
    // Liberation Sans keeps the proportions of the classic dialog font at 8 pt; DejaVu
    // Sans Condensed is the closest free match of the narrow, sturdy caption face.
    static const QStringList window{"Liberation Sans", "Nimbus Sans", "DejaVu Sans"};
    static const QStringList title{"DejaVu Sans Condensed", "Liberation Sans", "DejaVu Sans"};
    const QStringList& wanted = face == Face::Title ? title : window;
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : wanted) {
        if (installed.contains(family)) return family;
    }
    return wanted.last();
}

QFont Font(Face face, int points, bool bold, bool underline) {
    static const QString windowFamily = FamilyFor(Face::Window);
    static const QString titleFamily = FamilyFor(Face::Title);
    QFont font(face == Face::Title ? titleFamily : windowFamily);
    font.setPixelSize(PixelsForPoints(points));
    font.setBold(bold);
    font.setUnderline(underline);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace skin

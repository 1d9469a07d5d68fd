#pragma once
// The style the skinned widgets share: owner-drawn menu bars and drop-down menus in
// the XP look, access keys always underlined, and combo-box lists that drop down
// below the box instead of opening over it. Everything else is left to Fusion.

#include <QProxyStyle>

namespace skin {

class TsuiStyle : public QProxyStyle {
    Q_OBJECT
  public:
    TsuiStyle();

    // The one shared instance; it needs a running QApplication when first asked for.
    static TsuiStyle* Instance();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
};

}  // namespace skin

#pragma once
// The frame's pictures, drawn by code in a blue XP-like style: the three sections of
// the title bar and the title-bar buttons in their three states. Pictures are drawn
// once and cached; all functions need a running QGuiApplication.

#include <QPixmap>

namespace skin {

enum class TitleSection { Left, Middle, Right };
enum class TitleGlyph { ControlBox, Close, Maximize, Restore, Minimize };
enum class ButtonState { Normal, Hover, Pressed };

// Left and right sections are kTitleSectionWidth wide, the middle one kTitleMiddleWidth;
// all are kTitleBarHeight high. The middle one is meant to be stretched.
QPixmap TitleSectionPicture(TitleSection section);

// A kTitleButtonSize square picture of a title-bar button.
QPixmap TitleButtonPicture(TitleGlyph glyph, ButtonState state);

}  // namespace skin

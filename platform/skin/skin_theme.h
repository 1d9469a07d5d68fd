#pragma once
// The skin's named colours and fonts. Every painter in the skin takes its colours
// from here, so the whole look can be read (and changed) in one place.

#include <QColor>
#include <QFont>

namespace skin {

// Frame.
inline const QColor kFrameBorder{0, 44, 200};    // the outline drawn around the window
inline const QColor kFrameColor{239, 235, 222};  // the frame's own face, under the bars
inline const QColor kMenuBarColor{239, 235, 222};
inline const QColor kTitleText{255, 255, 255};
inline const QColor kTitleTextShadow{10, 24, 131};
// An inactive window's title bar: the pictures under a white wash, a pale caption.
inline const QColor kTitleInactiveWash{255, 255, 255, 110};
inline const QColor kTitleTextInactive{216, 228, 248};

// The usual face of panels and windows, the XP button face.
inline const QColor kBtnFace{236, 233, 216};
inline const QColor kWindowText{0, 0, 0};

// Drop-down menus.
inline const QColor kMenuColor{255, 255, 255};
inline const QColor kMenuBarStripe{214, 211, 206};  // the band on the left of each popup
inline const QColor kMenuSeparator{132, 130, 132};
inline const QColor kMenuSelectedBorder{49, 105, 198};
inline const QColor kMenuSelected{198, 211, 239};
inline const QColor kMenuFont{0, 0, 0};
inline const QColor kMenuSelectedFont{0, 0, 0};
inline const QColor kMenuBorder{0, 0, 0};

// Controls.
inline const QColor kGroupFont{2, 70, 207};
inline const QColor kControlBorder{104, 104, 104};
inline const QColor kComboArrow{0, 0, 0};
inline const QColor kComboButton{239, 235, 222};
inline const QColor kHighlight{49, 106, 197};
inline const QColor kHighlightText{255, 255, 255};
inline const QColor kDisabledText{161, 161, 146};

// Geometry of the frame, in pixels.
inline constexpr int kBorderWidth = 3;
inline constexpr int kRoundCorner = 13;  // width and height of the ellipse at each corner
inline constexpr int kTitleBarHeight = 25;
inline constexpr int kMenuBarHeight = 22;
inline constexpr int kTitleButtonSize = 21;
inline constexpr int kTitleButtonTop = 2;
inline constexpr int kTitleButtonGap = 2;
inline constexpr int kTitleSectionWidth = 35;  // left and right title pictures
inline constexpr int kTitleMiddleWidth = 37;   // the stretched middle picture

// Drop-down menu geometry.
inline constexpr int kMenuItemHeight = 21;
inline constexpr int kMenuSeparatorHeight = 5;
inline constexpr int kMenuBarWidth = 26;
inline constexpr int kComboItemHeight = 16;

// The two typefaces the windows are laid out for, mapped to free fonts that ship
// with Debian: a plain sans for dialog text and a condensed sans for captions.
enum class Face { Window, Title };

// The family that stands in for a face (the first one of its list that is installed).
QString FamilyFor(Face face);

// Pixels for a point size at 96 pixels per inch, rounded: 8 pt -> 11 px, 10 pt -> 13 px.
constexpr int PixelsForPoints(int points) { return (points * 96 + 36) / 72; }

// A font of the face at a size in points, fixed in pixels so that the layout does not
// follow the screen's resolution.
QFont Font(Face face, int points, bool bold = false, bool underline = false);

// The dialog font, 8 pt: the default of every window and control.
inline QFont WindowFont() { return Font(Face::Window, 8); }
// The caption font of the title bar: 8 pt bold.
inline QFont TitleFont() { return Font(Face::Title, 8, true); }

}  // namespace skin

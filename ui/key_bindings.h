// The main window's keys: the one table that says what each key means.
//
// Two kinds of key:
//   - Window keys act whatever control of the main window has the focus
//     (the digits, the shortcuts). The window turns them into shortcuts of
//     its own, so a box never sees them, and they do nothing while a menu,
//     a drop-down list or the About box is open.
//   - Board keys act only while the board has the focus (Tab takes it
//     there); elsewhere the boxes and buttons keep their arrow, Enter and
//     Space keys.
// Digits count on the keypad as well. Nothing else derives keys: the
// README's "Keys" table lists these rows.
#pragma once

#include <QKeyCombination>
#include <array>

enum class TKeyIntention {
    PlayColumn,   // drop a stone into `column`
    ChooseLeft,   // move the chosen column one to the left
    ChooseRight,  // and one to the right
    DropChosen,   // drop a stone into the chosen column
    NewGame,      // as the "New Game" button
    TakeBack,     // as the "Take Back" button
    Exit,         // as File > Exit
    About,        // as Help > About
};

enum class TKeyScope { Window, Board };

struct TKeyBinding {
    QKeyCombination keys;
    TKeyScope scope;
    TKeyIntention intention;
    int column = -1;  // 0..6 for PlayColumn, else -1
};

inline constexpr std::array<TKeyBinding, 17> kKeyBindings = {{
    {Qt::Key_1, TKeyScope::Window, TKeyIntention::PlayColumn, 0},
    {Qt::Key_2, TKeyScope::Window, TKeyIntention::PlayColumn, 1},
    {Qt::Key_3, TKeyScope::Window, TKeyIntention::PlayColumn, 2},
    {Qt::Key_4, TKeyScope::Window, TKeyIntention::PlayColumn, 3},
    {Qt::Key_5, TKeyScope::Window, TKeyIntention::PlayColumn, 4},
    {Qt::Key_6, TKeyScope::Window, TKeyIntention::PlayColumn, 5},
    {Qt::Key_7, TKeyScope::Window, TKeyIntention::PlayColumn, 6},
    {Qt::CTRL | Qt::Key_N, TKeyScope::Window, TKeyIntention::NewGame},
    {Qt::CTRL | Qt::Key_Z, TKeyScope::Window, TKeyIntention::TakeBack},
    {Qt::CTRL | Qt::Key_Q, TKeyScope::Window, TKeyIntention::Exit},
    {Qt::Key_F1, TKeyScope::Window, TKeyIntention::About},
    {Qt::Key_Left, TKeyScope::Board, TKeyIntention::ChooseLeft},
    {Qt::Key_Right, TKeyScope::Board, TKeyIntention::ChooseRight},
    {Qt::Key_Down, TKeyScope::Board, TKeyIntention::DropChosen},
    {Qt::Key_Return, TKeyScope::Board, TKeyIntention::DropChosen},
    {Qt::Key_Enter, TKeyScope::Board, TKeyIntention::DropChosen},
    {Qt::Key_Space, TKeyScope::Board, TKeyIntention::DropChosen},
}};

// The board key pressed as `keys`, or null. The keypad modifier does not
// count, so the keypad's Enter is Enter.
const TKeyBinding* BoardKeyBinding(QKeyCombination keys);

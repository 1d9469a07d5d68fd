#include "ui/MainUnit.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <cstdlib>
#include <ctime>

#include "engine/position.h"
#include "platform/application.h"
#include "platform/paint_box.h"
#include "platform/skin/skin_theme.h"
#include "platform/skin/sui_controls.h"
#include "platform/skin/sui_form.h"
#include "platform/skin/sui_main_menu.h"
#include "ui/About.h"
#include "ui/board_geometry.h"
#include "ui/column_marker.h"
#include "ui/input_gate.h"
#include "ui/key_bindings.h"

TfrmFourfall* frmFourfall = nullptr;

namespace {

// The window's size as it opens, and the smallest it may become.
constexpr int kClientWidth = 646;
constexpr int kClientHeight = 566;
constexpr int kMinimumSize = 300;

// The side panel keeps its width; the board panel takes the rest. Both start
// under the frame's title and menu bars.
constexpr int kControlsTop = 47;
constexpr int kSidePanelWidth = 185;
constexpr int kSidePanelBorder = 5;
constexpr int kSideBoxWidth = kSidePanelWidth - 2 * kSidePanelBorder;  // 175
// GroupBox2 starts under the stacked boxes and spacers and fills the rest.
constexpr int kThinkBoxTop = 229;
constexpr int kThinkMemoLeft = 3;
constexpr int kThinkMemoTop = 16;

// How long the four of a won game stays blank in each blink.
constexpr std::uint32_t kFlashBlankMs = 150;
constexpr int kFlashIntervalMs = 1000;

const QColor kBoardPanelColour(0, 64, 128);
const QColor kShapePen(0, 0, 0);

void Fill(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QWidget* Panel(QWidget* parent, const QColor& colour) {
    auto* panel = new QWidget(parent);
    Fill(panel, colour);
    return panel;
}

QLabel* Label(const QString& text, QWidget* parent, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

TsuiComboBox* ComboBox(QWidget* parent, const QStringList& items, int x, int y) {
    auto* box = new TsuiComboBox(parent);
    box->setGeometry(x, y, 89, 22);
    box->addItems(items);
    // Nothing is selected until FormShow picks the defaults.
    box->setCurrentIndex(-1);
    // The wheel neither gives a box the focus nor, without it, changes it
    // (see TfrmFourfall::eventFilter).
    box->setFocusPolicy(Qt::StrongFocus);
    return box;
}

}  // namespace

TfrmFourfall::TfrmFourfall(TGameServices services)
    : Game(*this, services.clock ? *services.clock : steadyClock_,
           services.random ? *services.random : runtimeRandom_),
      FlashWait(&Sleep) {
    setObjectName("frmFourfall");
    setWindowTitle("Fourfall");
    setFont(skin::WindowFont());
    Fill(this, skin::kBtnFace);
    resize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    CreateControls();
    CreateMenu();
    CreateKeyBindings();
    LayOutPanels();
    // The window watches the application's events for its keyboard play and
    // the wheel. Installed after it, the gate sees every event first, so
    // input dropped after a search never gets here.
    QCoreApplication::instance()->installEventFilter(this);
    inputGate_ = std::make_unique<TInputGate>(this);

    Timer1 = new QTimer(this);
    Timer1->setInterval(kFlashIntervalMs);
    connect(Timer1, &QTimer::timeout, this, &TfrmFourfall::Timer1Timer);
    Timer1->start();
}

TfrmFourfall::~TfrmFourfall() {
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeEventFilter(this);
    if (frmFourfall == this) frmFourfall = nullptr;
}

void TfrmFourfall::CreateControls() {
    suiForm1 = new TsuiForm(this, {.caption = "Fourfall",
                                   .hasMenu = true,
                                   .sizeable = true,
                                   .minimumSize = {kMinimumSize, kMinimumSize}});
    MainMenu1 = suiForm1->Menu();

    Panel4 = Panel(suiForm1, kBoardPanelColour);
    pboxMain = new TPaintBox(Panel4);
    pboxMain->OnPaint = [this] { pboxMainPaint(); };
    pboxMain->OnMouseUp = [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                                 int y) { pboxMainMouseUp(button, shift, x, y); };
    // Tab reaches the board, a click does not: a mouse player's focus stays
    // where it was.
    pboxMain->setFocusPolicy(Qt::TabFocus);
    marker_ = new TColumnMarker(pboxMain);

    Panel1 = Panel(suiForm1, skin::kBtnFace);

    GroupBox1 = new TsuiGroupBox(Panel1);
    GroupBox1->setGeometry(kSidePanelBorder, 5, kSideBoxWidth, 40);
    lblTurn = new QLabel("Your Move", GroupBox1);
    lblTurn->setGeometry(3, 16, 169, 21);
    lblTurn->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblTurn->setFont(skin::Font(skin::Face::Window, 10, true));
    // Its own palette keeps the label black inside the blue-lettered box.
    QPalette black = lblTurn->palette();
    black.setColor(QPalette::WindowText, skin::kWindowText);
    lblTurn->setPalette(black);

    Panel3 = Panel(Panel1, skin::kBtnFace);
    Panel3->setGeometry(kSidePanelBorder, 45, kSideBoxWidth, 16);

    GroupBox3 = new TsuiGroupBox(Panel1);
    GroupBox3->setGeometry(kSidePanelBorder, 61, kSideBoxWidth, 152);
    Label1 = Label("Level:", GroupBox3, 8, 21);
    Label2 = Label("Colour:", GroupBox3, 8, 45);
    Label3 = Label("Think Output:", GroupBox3, 8, 69);
    cboxLevel = ComboBox(GroupBox3, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}, 80, 16);
    cboxColour = ComboBox(GroupBox3, {"Red", "Blue"}, 80, 40);
    cboxThinkOutput = ComboBox(GroupBox3, {"Chatterbox", "Search info"}, 80, 64);
    Shape1 = Panel(GroupBox3, kShapePen);
    Shape1->setGeometry(32, 98, 113, 1);
    BitBtn1 = new TsuiButton("New Game", GroupBox3);
    BitBtn1->setGeometry(8, 112, 75, 25);
    BitBtn2 = new TsuiButton("Take Back", GroupBox3);
    BitBtn2->setGeometry(93, 112, 75, 25);
    setTabOrder(cboxLevel, BitBtn1);
    setTabOrder(BitBtn1, cboxColour);
    setTabOrder(cboxColour, BitBtn2);
    setTabOrder(BitBtn2, cboxThinkOutput);

    Panel2 = Panel(Panel1, skin::kBtnFace);
    Panel2->setGeometry(kSidePanelBorder, 213, kSideBoxWidth, 16);

    GroupBox2 = new TsuiGroupBox("Think Output", Panel1);
    memoThink = new TsuiMemo(GroupBox2);
    memoThink->setReadOnly(true);
    memoThink->SetColor(skin::kBtnFace);
    memoThink->SetBorderColor(skin::kBtnFace);
    memoThink->SetFontColor(skin::kWindowText);
    memoThink->setFont(skin::Font(skin::Face::Window, 8, true));
    // The board comes after the boxes and buttons, so the level box keeps
    // the first focus.
    setTabOrder(cboxThinkOutput, pboxMain);

    connect(BitBtn1, &QPushButton::clicked, this, &TfrmFourfall::suitempBitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TfrmFourfall::suitempBitBtn2Click);
    // `activated` comes only from the user's pick; a selection made by code
    // (the defaults) starts nothing.
    connect(cboxColour, &QComboBox::activated, this, &TfrmFourfall::suitempcboxColourChange);
    connect(cboxThinkOutput, &QComboBox::activated, this,
            &TfrmFourfall::suitempcboxThinkOutputChange);
}

void TfrmFourfall::CreateMenu() {
    File1 = MainMenu1->AddMenu("&File");
    Exit1 = TsuiMainMenu::AddItem(File1, "E&xit", [this] { Exit1Click(); });
    File1->setDefaultAction(Exit1);
    Help1 = MainMenu1->AddMenu("&Help");
    About1 = TsuiMainMenu::AddItem(Help1, "&About", [this] { About1Click(); });
}

void TfrmFourfall::CreateKeyBindings() {
    // Window keys become shortcuts of the window: they come before the
    // focused control's own use of the key (the level box's type-ahead),
    // and Qt leaves them alone while a menu, a list or the About box is open.
    for (const TKeyBinding& binding : kKeyBindings) {
        if (binding.scope != TKeyScope::Window) continue;
        QList<QKeySequence> keys{QKeySequence(binding.keys)};
        if (binding.intention == TKeyIntention::PlayColumn) {
            keys.append(QKeySequence(Qt::KeypadModifier | binding.keys.key()));
        }
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, [this, &binding] { KeyIntention(binding); });
    }
}

void TfrmFourfall::LayOutPanels() {
    // As aligned panels would: the side panel keeps its width at the right,
    // the board panel and its paint box take the rest, the think box fills
    // the side panel below the fixed boxes.
    const int w = std::max(width(), 0);
    const int h = std::max(height() - kControlsTop, 0);
    const int boardWidth = std::max(w - kSidePanelWidth, 0);
    Panel4->setGeometry(0, kControlsTop, boardWidth, h);
    pboxMain->setGeometry(0, 0, boardWidth, h);
    Panel1->setGeometry(w - kSidePanelWidth, kControlsTop, kSidePanelWidth, h);
    const int thinkHeight = std::max(h - kThinkBoxTop - kSidePanelBorder, 0);
    GroupBox2->setGeometry(kSidePanelBorder, kThinkBoxTop, kSideBoxWidth, thinkHeight);
    memoThink->setGeometry(kThinkMemoLeft, kThinkMemoTop, kSideBoxWidth - 2 * kThinkMemoLeft,
                           std::max(thinkHeight - kThinkMemoTop - kThinkMemoLeft, 0));
}

// ---------------------------------------------------------------------------
// Window events

void TfrmFourfall::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FormShow();
    // The window's first size notification came before the bitmaps existed
    // and did nothing, so the tiles are scaled here for the size it shows at.
    FormResize();
}

void TfrmFourfall::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOutPanels();
    // Sizes can be delivered before the first show; there is nothing to
    // scale until FormShow has made the bitmaps.
    if (Bitmaps.Exist()) FormResize();
}

void TfrmFourfall::FormShow() {
    // 1-2. The bitmaps and the board images. A failed load leaves the window
    // to close once the event loop runs; the game is still set up below.
    CreateBoardBitmaps(Bitmaps);
    if (!LoadBoardImages(Bitmaps)) {
        ShowMessage(kReinstallText);
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
    // 3-4. The engine's table and the first game.
    InitBitCount();
    Game.NewGame();
    // 5. The defaults, selected from code: no change handler runs.
    cboxLevel->setCurrentIndex(3);
    cboxColour->setCurrentIndex(0);
    cboxThinkOutput->setCurrentIndex(0);
    // 6. The only seeding of the generator in the program.
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    // 7. The greeting.
    memoThink->Clear();
    memoThink->AddLine("");
    memoThink->AddLine(kGreetingText);
}

void TfrmFourfall::FormResize() {
    // Setting a dimension raises a nested resize, which scales the tiles too.
    if (width() < kMinimumSize) resize(kMinimumSize, height());
    if (height() < kMinimumSize) resize(width(), kMinimumSize);
    ScaleTiles();
}

void TfrmFourfall::pboxMainPaint() { PaintBoard(); }

void TfrmFourfall::pboxMainMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int X, int) {
    // Only X counts: a release beside the board picks the nearest edge column.
    Game.PlayColumn(ColumnAt(X, PaintBoxWidth(), BoardWidth()));
}

void TfrmFourfall::suitempBitBtn1Click() { Game.StartNewGame(); }

void TfrmFourfall::suitempBitBtn2Click() { Game.TakeBack(); }

void TfrmFourfall::suitempcboxColourChange() { Game.ColourPicked(); }

void TfrmFourfall::suitempcboxThinkOutputChange() { Game.ThinkOutputPicked(); }

void TfrmFourfall::Timer1Timer() {
    if (Game.GameState != kInPlay) FlashWinningLine();
}

void TfrmFourfall::Exit1Click() { close(); }

void TfrmFourfall::About1Click() {
    if (AboutBox != nullptr) AboutBox->ShowModal();
}

void TfrmFourfall::KeyIntention(const TKeyBinding& binding) {
    // Qt keeps shortcuts from a window behind a modal box or an open menu;
    // this also holds for keys that reach the window by other ways.
    if (QApplication::activeModalWidget() != nullptr) return;
    if (QApplication::activePopupWidget() != nullptr) return;
    switch (binding.intention) {
        case TKeyIntention::PlayColumn:
            UseKeyboard(binding.column);
            Game.PlayColumn(binding.column);
            break;
        case TKeyIntention::ChooseLeft:
            UseKeyboard(std::max(chosenColumn_ - 1, 0));
            break;
        case TKeyIntention::ChooseRight:
            UseKeyboard(std::min(chosenColumn_ + 1, kColumns - 1));
            break;
        case TKeyIntention::DropChosen:
            UseKeyboard(chosenColumn_);
            Game.PlayColumn(chosenColumn_);
            break;
        case TKeyIntention::NewGame:
            suitempBitBtn1Click();
            break;
        case TKeyIntention::TakeBack:
            suitempBitBtn2Click();
            break;
        case TKeyIntention::Exit:
            Exit1Click();
            break;
        case TKeyIntention::About:
            About1Click();
            break;
    }
}

// ---------------------------------------------------------------------------
// Keyboard play and the wheel

bool TfrmFourfall::IsForThisWindow(QObject* watched) const {
    return watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this;
}

bool TfrmFourfall::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            if (watched != pboxMain) return false;
            if (const TKeyBinding* binding =
                    BoardKeyBinding(static_cast<QKeyEvent*>(event)->keyCombination())) {
                KeyIntention(*binding);
                return true;
            }
            return false;
        case QEvent::FocusIn: {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (watched == pboxMain &&
                (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason))
                UseKeyboard(chosenColumn_);
            return false;
        }
        case QEvent::MouseButtonPress:
            if (keyboardInUse_ && IsForThisWindow(watched)) LeaveKeyboard();
            return false;
        case QEvent::Wheel:
            if (!IsForThisWindow(watched)) return false;
            if (keyboardInUse_) LeaveKeyboard();
            // A box turned by the wheel while the pointer merely passes over
            // it would change the user's side or level unasked.
            if (watched == cboxLevel || watched == cboxColour || watched == cboxThinkOutput) {
                return !static_cast<QWidget*>(watched)->hasFocus();
            }
            return false;
        default:
            return false;
    }
}

void TfrmFourfall::UseKeyboard(int column) {
    chosenColumn_ = column;
    keyboardInUse_ = true;
    PlaceColumnMarker();
}

void TfrmFourfall::LeaveKeyboard() {
    keyboardInUse_ = false;
    PlaceColumnMarker();
}

void TfrmFourfall::PlaceColumnMarker() {
    const QRect place = Bitmaps.Exist() ? TColumnMarker::PlaceFor(
                                              chosenColumn_, pboxMain->Width(), pboxMain->Height(),
                                              Bitmaps.bmpBoard->Width(), Bitmaps.bmpBoard->Height())
                                        : QRect();
    if (!keyboardInUse_ || place.isEmpty()) {
        marker_->hide();
        return;
    }
    marker_->setGeometry(place);
    marker_->show();
}

// ---------------------------------------------------------------------------
// The board

void TfrmFourfall::ScaleTiles() {
    if (!Bitmaps.Exist()) return;
    ::ScaleTiles(Bitmaps, pboxMain->Width(), pboxMain->Height());
    PlaceColumnMarker();
}

void TfrmFourfall::DrawCell(int column, int row, int kind) {
    if (!Bitmaps.Exist()) return;
    ::DrawCell(Bitmaps, column, row, kind);
}

void TfrmFourfall::ShowBoard() {
    const TBitmap& board = *Bitmaps.bmpBoard;
    pboxMain->Canvas().Draw(BoardOffset(pboxMain->Width(), board.Width()),
                            BoardOffset(pboxMain->Height(), board.Height()), board);
}

void TfrmFourfall::PaintBoard() {
    if (!Bitmaps.Exist()) return;
    ComposeBoard(Bitmaps, Game.Position);
    // The picture does not depend on the outcome; the turn label may.
    if (Game.GameState == kInPlay) Game.DetectGameEnd();
    ShowBoard();
}

void TfrmFourfall::FlashWinningLine() {
    if (Game.GameState == kInPlay || !Bitmaps.Exist()) return;
    const std::array<TCellCode, 4> line = WinningLine(Game.Position);
    if (line[0] == kNoCell) return;
    for (const TCellCode code : line) DrawCell((code >> 8) & 0xFF, code & 0xFF, kHoleTile);
    // On screen at once, and kept there while the thread waits.
    ShowBoard();
    FlashWait(kFlashBlankMs);
    PaintBoard();
}

// ---------------------------------------------------------------------------
// GameView

void TfrmFourfall::SetTurnText(const std::string& text) {
    lblTurn->setText(QString::fromStdString(text));
}

void TfrmFourfall::ClearThink() { memoThink->Clear(); }

void TfrmFourfall::AddThinkLine(const std::string& text) {
    memoThink->AddLine(QString::fromStdString(text));
}

std::string TfrmFourfall::LevelText() const { return cboxLevel->currentText().toStdString(); }

int TfrmFourfall::ColourIndex() const { return cboxColour->currentIndex(); }

int TfrmFourfall::ThinkOutputIndex() const { return cboxThinkOutput->currentIndex(); }

void TfrmFourfall::RepaintBoard() { PaintBoard(); }

void TfrmFourfall::ProcessMessagesOnce() { ProcessMessages(); }

void TfrmFourfall::DropInputMadeDuringSearch() { inputGate_->DropPendingInput(); }

int TfrmFourfall::BoardWidth() const { return Bitmaps.Exist() ? Bitmaps.bmpBoard->Width() : 0; }

int TfrmFourfall::PaintBoxWidth() const { return pboxMain->Width(); }

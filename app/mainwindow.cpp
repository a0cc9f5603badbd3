#include "app/mainwindow.h"

#include "app/dialogprompts.h"
#include "app/documentcommand.h"
#include "app/documentoutput.h"
#include "app/recentfiles.h"
#include "app/palettecatalogue.h"
#include "app/closingquestion.h"
#include "app/palettepictures.h"
#include "app/settings.h"
#include "app/splitterbar.h"
#include "app/undocommands.h"
#include "figures/control/figurewindow.h"

#include <QIcon>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>

#include <algorithm>

namespace app {

namespace {

// A line from the top-left corner to the centre, then an arrow line from the centre to the
// bottom-left corner with arrowheads at both ends: twelve little-endian 16-bit words.
QByteArray DefaultCustomProgram()
{
    const uint16_t words[] = {1, 0, 0, 4095, 4095, 2, 4095, 4095, 0, 8191, 3, 0};
    QByteArray program;
    for (uint16_t word : words) {
        program.append(char(word & 0xFF));
        program.append(char(word >> 8));
    }
    return program;
}

constexpr int kShapeRole = Qt::UserRole;

} // namespace

MainWindow::MainWindow(const QString& settingsPath, const QString& documentPath)
    : settingsPath_(settingsPath)
{
    setWindowTitle(QStringLiteral("Velkor图形绘制设计器"));
    setGeometry(50, 50, 598, 538);
    BuildPanes();
    output_ = new DocumentOutput(*this, *canvas_);
    BuildFileMenu();
    BuildMenus();
    BuildCommandMenus();
    BuildStandardBar();
    ConnectFileButtons();
    ConnectOutput();
    BuildAlignmentBar();
    undo_ = new UndoCommands(*canvas_, *this, *StandardButton(QStringLiteral("恢复")),
                             *StandardButton(QStringLiteral("重复")), *anchorMenu_);
    connect(undo_, &UndoCommands::documentRestored, documents_, &DocumentCommand::Reassess);
    statusBar();
    ShowStatusForCanvasEvents();

    canvas_->installEventFilter(this);
    preview_->installEventFilter(this);
    LoadSettings(*canvas_, settingsPath_);
    FillPalette();
    SetUpPreview();
    DrawPalettePictures();
    SetCustomPaletteProgram(DefaultCustomProgram());
    initialCanvasDocument_ = canvas_->DocumentContent();
    undo_->Initialise(initialCanvasDocument_);
    documents_->ShowUnnamed(documentPath);
    UpdateTitle();
    LayoutOnResize();
}

MainWindow::~MainWindow() = default;

// The standard toolbar's "打印" prints the canvas's picture; the dump's program becomes the
// held drawing data, as "取绘图数据" would make it.
void MainWindow::ConnectOutput()
{
    if (QAction* print = StandardButton(QStringLiteral("打印"))) {
        connect(print, &QAction::triggered, output_, &DocumentOutput::PrintCanvas);
    }
    connect(output_, &DocumentOutput::drawingDataDumped, this,
            [this](const QByteArray& program) { heldDrawingData_ = program; });
}

void MainWindow::BuildPanes()
{
    client_ = new QWidget(this);
    setCentralWidget(client_);

    standardBar_ = new QToolBar(QStringLiteral("标准工具条"), client_);
    standardBar_->setIconSize(QSize(24, 24));
    standardBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    standardBar_->setGeometry(0, 8, width(), 40);
    // Captions under the pictures: no spare margins, so the bar ends above the alignment bar.
    standardBar_->setContentsMargins(0, 0, 0, 0);
    standardBar_->layout()->setContentsMargins(0, 0, 0, 0);
    standardBar_->layout()->setSpacing(0);
    alignBar_ = new QToolBar(QStringLiteral("对齐工具条"), client_);
    alignBar_->setGeometry(0, 49, width(), 28);

    paletteTab_ = new QTabWidget(client_);
    paletteTab_->addTab(new QWidget, QStringLiteral("图形"));
    paletteTab_->setGeometry(8, 80, 168, 336);
    // The tree and the preview sit on the tab control itself, below its tab row, so that
    // their rectangles are measured from the tab control's corner.
    tree_ = new QTreeWidget(paletteTab_);
    tree_->setHeaderHidden(true);
    tree_->setGeometry(8, 32, 152, 185);
    preview_ = new figures::FigureWindow(paletteTab_);
    preview_->SetBackColour(0x00FFFFFF);
    preview_->SetBorderStyle(5);
    preview_->SetTextEditing(false);
    preview_->SetPopupMenu(false);
    preview_->setGeometry(8, 218, 152, 113);

    splitter_ = new SplitterBar(client_);
    splitter_->setGeometry(175, 80, 8, 336);
    connect(splitter_, &SplitterBar::moved, this, &MainWindow::LayoutOnSplitterMove);

    canvasTab_ = new QTabWidget(client_);
    canvasTab_->addTab(new QWidget, QStringLiteral("文档1"));
    canvasTab_->setGeometry(184, 80, 376, 336);
    canvas_ = new figures::FigureWindow(canvasTab_);
    canvas_->SetBackColour(0x00FFFFFF);
    canvas_->setGeometry(8, 24, 352, 296);
    tree_->raise();
    preview_->raise();
    canvas_->raise();
}

void MainWindow::BuildMenus()
{
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&E.编辑"));
    const auto addArrange = [this](QMenu* menu, const QString& caption, const QString& name) {
        connect(menu->addAction(caption), &QAction::triggered, this,
                [this, name] { RunArrangeCommand(name); });
    };
    QMenu* layer = edit->addMenu(QStringLiteral("调整层次"));
    addArrange(layer, QStringLiteral("底层"), QStringLiteral("底层"));
    addArrange(layer, QStringLiteral("顶层"), QStringLiteral("顶层"));
    QMenu* flip = edit->addMenu(QStringLiteral("翻转"));
    addArrange(flip, QStringLiteral("水平"), QStringLiteral("水平翻转"));
    addArrange(flip, QStringLiteral("垂直"), QStringLiteral("垂直翻转"));
    QMenu* arrange = edit->addMenu(QStringLiteral("排列"));
    addArrange(arrange, QStringLiteral("顶边对齐"), QStringLiteral("顶边对齐"));
    addArrange(arrange, QStringLiteral("底边对齐"), QStringLiteral("底边对齐"));
    addArrange(arrange, QStringLiteral("左对齐"), QStringLiteral("左边对齐"));
    addArrange(arrange, QStringLiteral("右对齐"), QStringLiteral("右边对齐"));
    addArrange(arrange, QStringLiteral("等宽"), QStringLiteral("等宽"));
    addArrange(arrange, QStringLiteral("等高"), QStringLiteral("等高"));
    QMenu* drawing = edit->addMenu(QStringLiteral("绘图"));
    connect(drawing->addAction(QStringLiteral("取绘图数据")), &QAction::triggered, this,
            &MainWindow::TakeDrawingData);
    connect(drawing->addAction(QStringLiteral("置自定义图形")), &QAction::triggered, this,
            &MainWindow::ApplyHeldDrawingData);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&V.查看"));
    QMenu* bars = view->addMenu(QStringLiteral("工具条"));
    for (QToolBar* bar : {standardBar_, alignBar_}) {
        QAction* toggle = bars->addAction(bar->windowTitle());
        toggle->setCheckable(true);
        toggle->setChecked(true);
        connect(toggle, &QAction::toggled, bar, &QWidget::setVisible);
    }
}

void MainWindow::FillPalette()
{
    const QStringList names = PaletteShapeNames();
    QTreeWidgetItem* parent = nullptr;
    for (int i = 0; i < names.size(); ++i) {
        if (const QString category = PaletteCategoryBefore(i); !category.isEmpty()) {
            parent = new QTreeWidgetItem(tree_, {category});
            parent->setData(0, kShapeRole, 0);
        }
        auto* row = new QTreeWidgetItem(parent, {names[i]});
        row->setData(0, kShapeRole, i);
    }
    connect(tree_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { InsertFromPalette(item); });
    // The current row, chosen by a click or by the keys, is what the preview shows.
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { PreviewPaletteRow(item); });
}

void MainWindow::SetUpPreview()
{
    preview_->InsertView(QStringLiteral("图形预览"), 0);
    preview_->SetCurrentView(0);
    palettePreviewSet_ = preview_->GetObjects(preview_->AddShape(0));
}

void MainWindow::InsertFromPalette(QTreeWidgetItem* item)
{
    const int number = item->data(0, kShapeRole).toInt();
    const int index = canvas_->AddShape(number);
    if (index < 0) {
        return;
    }
    if (number == 0) {
        canvas_->GetObjects(index).SetDrawingData(customPaletteProgram_);
        palettePreviewSet_.SetDrawingData(customPaletteProgram_);
    }
    palettePreviewSet_.Redraw();
}

void MainWindow::PreviewPaletteRow(QTreeWidgetItem* item)
{
    if (!item) {
        return;
    }
    const int number = item->data(0, kShapeRole).toInt();
    if (number == 0) {
        palettePreviewSet_.SetDrawingData(customPaletteProgram_);
    } else {
        palettePreviewSet_.SetShape(number);
    }
    // Twice the preview's pixel size in document units, a quarter of that in from the
    // corner: the shape fills most of the preview at its 100 percent.
    const int w = preview_->width();
    const int h = preview_->height();
    palettePreviewSet_.SetFrame(w / 2, h / 2, 2 * w, 2 * h);
    palettePreviewSet_.Redraw();
}

figures::FigureInterface MainWindow::ObjectsOf(int which) const
{
    return which == 2 ? canvas_->GetObjects(canvas_->GetAllIndexes())
                      : canvas_->GetObjects(canvas_->GetSelectedIndexes());
}

void MainWindow::RunArrangeCommand(const QString& name)
{
    figures::FigureInterface set = ObjectsOf(1);
    if (name == QStringLiteral("顶层")) {
        set.SetLayer(1);
    } else if (name == QStringLiteral("底层")) {
        set.SetLayer(2);
    } else if (name == QStringLiteral("水平翻转")) {
        set.Flip(1);
    } else if (name == QStringLiteral("垂直翻转")) {
        set.Flip(2);
    } else if (name == QStringLiteral("顶边对齐")) {
        set.Align(1);
    } else if (name == QStringLiteral("底边对齐")) {
        set.Align(2);
    } else if (name == QStringLiteral("左边对齐")) {
        set.Align(3);
    } else if (name == QStringLiteral("右边对齐")) {
        set.Align(4);
    } else if (name == QStringLiteral("等宽")) {
        set.Align(5);
    } else if (name == QStringLiteral("等高")) {
        set.Align(6);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == canvas_ && event->type() == QEvent::KeyPress) {
        HandleCanvasKey(static_cast<const QKeyEvent&>(*event));
    } else if (watched == preview_ && event->type() == QEvent::MouseButtonDblClick) {
        InsertFromPreview();
    }
    return QMainWindow::eventFilter(watched, event);
}

// Ctrl alone with an arrow turns the selection by ten degrees (angles are in tenths);
// any other state of the modifiers with an arrow nudges, so Ctrl+Shift+Left nudges. Keys
// the canvas acts on by itself (plain arrows, Shift+arrows, Delete) are left to it: acting
// on them here too would move or delete twice per press.
void MainWindow::HandleCanvasKey(const QKeyEvent& key)
{
    if (canvas_->HandlesKey(key.keyCombination())) {
        return;
    }
    const Qt::KeyboardModifiers state =
        key.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    const bool ctrlAlone = state == Qt::ControlModifier;
    figures::FigureInterface set = ObjectsOf(1);
    const auto turn = [&](int by) {
        int angle = 0;
        if (set.GetAngle(&angle)) {
            set.SetAngle(angle + by);
            canvas_->Refresh();
        }
    };
    switch (key.key()) {
    case Qt::Key_Left: ctrlAlone ? turn(100) : set.Nudge(3); break;
    case Qt::Key_Up: ctrlAlone ? turn(100) : set.Nudge(1); break;
    case Qt::Key_Right: ctrlAlone ? turn(-100) : set.Nudge(4); break;
    case Qt::Key_Down: ctrlAlone ? turn(-100) : set.Nudge(2); break;
    case Qt::Key_Delete: set.Delete(); break;
    default: break;
    }
}

void MainWindow::ShowStatusForCanvasEvents()
{
    const auto show = [this](const QString& label) {
        return
            [this, label](int index) { statusBar()->showMessage(label + QString::number(index)); };
    };
    connect(canvas_, &figures::FigureWindow::mouseOverObject, this,
            show(QStringLiteral("图形鼠标位置被移动索引：")));
    connect(canvas_, &figures::FigureWindow::mouseEnteredObject, this,
            show(QStringLiteral("图形鼠标进入索引：")));
    connect(canvas_, &figures::FigureWindow::mouseLeftObject, this,
            show(QStringLiteral("图形鼠标离开索引：")));
    connect(canvas_, &figures::FigureWindow::leftButtonPressedOnObject, this,
            show(QStringLiteral("图形鼠标左键被单击索引：")));
}

bool MainWindow::LoadDocument(const QByteArray& bytes)
{
    const bool complete = canvas_->SetDocumentContent(bytes);
    // What was loaded is a version of its own: undo goes back to the document before it.
    undo_->RecordSnapshot();
    // A document handed in is no change the canvas reports; whether it differs from the
    // file is asked here.
    documents_->Reassess();
    return complete;
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    LayoutOnResize();
}

void MainWindow::LayoutOnResize()
{
    if (!client_) {
        return;
    }
    // Captions under 24-pixel pictures need more than the 41 pixels above the alignment
    // toolbar at most fonts; the bar takes the height its captions need.
    standardBar_->resize(client_->width(), std::max(41, standardBar_->sizeHint().height()));
    // The alignment bar sits right under the standard bar, however tall its captions are.
    alignBar_->setGeometry(0, std::max(49, standardBar_->y() + standardBar_->height()),
                           client_->width(), alignBar_->height());
    // h is the client height below the menu bar, the status bar included; W the outer width.
    // The first layout comes before the window, and so the status bar, is shown: whether
    // the bar counts depends on its own state, not on the window's.
    const int h =
        client_->height() + (statusBar()->isVisibleTo(this) ? statusBar()->height() : 0);
    const int outerWidth = frameGeometry().width();
    const int tabHeight = h - 100;
    paletteTab_->resize(paletteTab_->width(), tabHeight);
    tree_->resize(tree_->width(), tabHeight - 157);
    preview_->setGeometry(preview_->x(), tree_->y() + tree_->height() + 6, tree_->width(),
                          preview_->height());
    splitter_->setGeometry(paletteTab_->width() + 10, splitter_->y(), splitter_->width(),
                           tabHeight);
    canvasTab_->setGeometry(splitter_->x() + splitter_->width(), canvasTab_->y(),
                            outerWidth - paletteTab_->width() - splitter_->width() - 25, tabHeight);
    canvas_->resize(canvasTab_->width() - 16, canvasTab_->height() - 32);
}

void MainWindow::LayoutOnSplitterMove(int p)
{
    const int outerWidth = frameGeometry().width();
    paletteTab_->resize(p - 10, paletteTab_->height());
    tree_->resize(paletteTab_->width() - 15, tree_->height());
    preview_->resize(tree_->width(), preview_->height());
    splitter_->move(p, splitter_->y());
    canvasTab_->setGeometry(p + splitter_->width(), canvasTab_->y(),
                            outerWidth - paletteTab_->width() - splitter_->width() - 25,
                            canvasTab_->height());
    canvas_->resize(canvasTab_->width() - 16, canvas_->height());
}

} // namespace app

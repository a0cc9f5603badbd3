// The main window's commands: the standard and alignment toolbars, the configuration,
// designer, help and hidden anchor menus, the drawing-data commands and the font command.
#include "app/mainwindow.h"

#include "app/closingquestion.h"
#include "app/configdialog.h"
#include "app/designer/shapedesigner.h"
#include "app/fontchoicedialog.h"
#include "app/palettepictures.h"
#include "app/settings.h"
#include "figures/control/figurewindow.h"

#include <QIcon>
#include <QMessageBox>
#include <QMenuBar>
#include <QToolBar>
#include <QTreeWidget>

namespace app {

namespace {

struct BarButton {
    const char* caption; // null for a separator
    const char* icon;    // a name of the freedesktop icon theme
};

// The standard toolbar in its order: file, clipboard, history, lock, arrangement and
// print groups. The caption of a button is also its command.
constexpr BarButton kStandardButtons[] = {
    {nullptr, nullptr},        {"新建", "document-new"},    {"打开", "document-open"},
    {"保存", "document-save"}, {"复制", "edit-copy"},       {"粘贴", "edit-paste"},
    {"剪切", "edit-cut"},      {"删除", "edit-delete"},     {nullptr, nullptr},
    {"恢复", "edit-undo"},     {"重复", "edit-redo"},       {nullptr, nullptr},
    {"锁定", "object-locked"}, {"解锁", "object-unlocked"}, {nullptr, nullptr},
    {"组合", "object-group"},  {"分解", "object-ungroup"},  {"字体", "font"},
    {"刷新", "view-refresh"},  {nullptr, nullptr},          {"打印", "document-print"},
};

// Buttons whose commands belong to the document files and the undo history; they are
// placed here and connected where those commands live.
bool ConnectedElsewhere(const QString& caption)
{
    static const QStringList captions = {QStringLiteral("新建"), QStringLiteral("打开"),
                                         QStringLiteral("保存"), QStringLiteral("恢复"),
                                         QStringLiteral("重复"), QStringLiteral("打印")};
    return captions.contains(caption);
}

struct AlignButton {
    const char* tip;
    const char* icon;
    const char* first;  // arrangement command
    const char* second; // a second one run after it, or null
};

constexpr AlignButton kAlignButtons[] = {
    {"左边对齐", "align-horizontal-left", "左边对齐", nullptr},
    {"右边对齐", "align-horizontal-right", "右边对齐", nullptr},
    {"顶边对齐", "align-vertical-top", "顶边对齐", nullptr},
    {"底边对齐", "align-vertical-bottom", "底边对齐", nullptr},
    {"等宽", "transform-scale-horizontal", "等宽", nullptr},
    {"等高", "transform-scale-vertical", "等高", nullptr},
    {"等宽等高", "transform-scale", "等宽", "等高"},
    {"垂直翻转", "object-flip-vertical", "垂直翻转", nullptr},
    {"水平翻转", "object-flip-horizontal", "水平翻转", nullptr},
};

} // namespace

void MainWindow::BuildStandardBar()
{
    int index = 0;
    for (const BarButton& button : kStandardButtons) {
        if (!button.caption) {
            standardBar_->addSeparator();
            ++index;
            continue;
        }
        const QString caption = QString::fromUtf8(button.caption);
        QAction* action =
            standardBar_->addAction(QIcon::fromTheme(QLatin1String(button.icon)), caption);
        if (!ConnectedElsewhere(caption)) {
            connect(action, &QAction::triggered, this,
                    [this, index, caption] { RunStandardButton(index, caption); });
        }
        ++index;
    }
}

QAction* MainWindow::StandardButton(const QString& caption) const
{
    for (QAction* action : standardBar_->actions()) {
        if (!action->isSeparator() && action->text() == caption) {
            return action;
        }
    }
    return nullptr;
}

// The first button acts on all objects of the view, the others on the selection; the
// canvas is refreshed after every click.
void MainWindow::RunStandardButton(int index, const QString& caption)
{
    figures::FigureInterface set = ObjectsOf(index == 1 ? 2 : 1);
    using Command = void (figures::FigureInterface::*)();
    static const QList<std::pair<QString, Command>> commands = {
        {QStringLiteral("复制"), &figures::FigureInterface::Copy},
        {QStringLiteral("粘贴"), &figures::FigureInterface::Paste},
        {QStringLiteral("剪切"), &figures::FigureInterface::Cut},
        {QStringLiteral("删除"), &figures::FigureInterface::Delete},
        {QStringLiteral("锁定"), &figures::FigureInterface::Lock},
        {QStringLiteral("解锁"), &figures::FigureInterface::Unlock},
        {QStringLiteral("组合"), &figures::FigureInterface::Group},
        {QStringLiteral("分解"), &figures::FigureInterface::Ungroup},
        {QStringLiteral("刷新"), &figures::FigureInterface::Redraw},
    };
    if (caption == QStringLiteral("字体")) {
        RunFontCommand();
    }
    for (const auto& [name, command] : commands) {
        if (name == caption) {
            (set.*command)();
            break;
        }
    }
    canvas_->Refresh();
}

void MainWindow::BuildAlignmentBar()
{
    alignBar_->setIconSize(QSize(16, 16));
    alignBar_->addSeparator();
    for (const AlignButton& button : kAlignButtons) {
        QAction* action = alignBar_->addAction(QIcon::fromTheme(QLatin1String(button.icon)),
                                               QString::fromUtf8(button.tip));
        const QString first = QString::fromUtf8(button.first);
        const QString second = button.second ? QString::fromUtf8(button.second) : QString();
        connect(action, &QAction::triggered, this, [this, first, second] {
            RunArrangeCommand(first);
            if (!second.isEmpty()) {
                RunArrangeCommand(second);
            }
        });
    }
}

void MainWindow::BuildCommandMenus()
{
    QMenu* config = menuBar()->addMenu(QStringLiteral("&I.配置"));
    connect(config->addAction(QStringLiteral("图形配置")), &QAction::triggered, this, [this] {
        ConfigDialog dialog(*canvas_, settingsPath_, this);
        dialog.exec();
    });

    // The history's items live in a menu that is never shown; their enabled state is what
    // the toolbar's history buttons follow.
    anchorMenu_ = new QMenu(QStringLiteral("锚点"), this);
    anchorMenu_->addAction(QStringLiteral("恢复"))->setEnabled(false);
    anchorMenu_->addAction(QStringLiteral("禁止"));
    anchorMenu_->addAction(QStringLiteral("重复"))->setEnabled(false);

    QMenu* custom = menuBar()->addMenu(QStringLiteral("&T.自定义图形"));
    connect(custom->addAction(QStringLiteral("自定义图形")), &QAction::triggered, this,
            &MainWindow::OpenShapeDesigner);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&H.帮助"));
    QAction* guide =
        help->addAction(QIcon::fromTheme(QStringLiteral("help-contents")), QStringLiteral("帮助"));
    connect(guide, &QAction::triggered, this, [this] { OpenPage(UserGuidePage()); });
}

void MainWindow::TakeDrawingData()
{
    drawingDataSet_ = ObjectsOf(1);
    heldDrawingData_ = drawingDataSet_.GetDrawingData();
}

void MainWindow::ApplyHeldDrawingData()
{
    drawingDataSet_ = ObjectsOf(1);
    // An invalid program leaves the shapes with the empty one; the command says nothing.
    drawingDataSet_.SetDrawingData(heldDrawingData_);
}

void MainWindow::InsertFromPreview()
{
    drawingDataSet_ = preview_->GetObjects(-1);
    heldDrawingData_ = drawingDataSet_.GetDrawingData();
    const int index = canvas_->AddShape(0);
    if (index >= 0) {
        canvas_->GetObjects(index).SetDrawingData(heldDrawingData_);
    }
}

// Every catalogue row shows its shape as the component draws it; category rows show a
// folder. The custom row follows the custom program (SetCustomPaletteProgram).
void MainWindow::DrawPalettePictures()
{
    const QSize size(23, 20);
    tree_->setIconSize(size);
    palettePictures_ = std::make_unique<PalettePictures>(size);
    const QIcon category = QIcon::fromTheme(QStringLiteral("folder"));
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* group = tree_->topLevelItem(i);
        group->setIcon(0, category);
        for (int j = 0; j < group->childCount(); ++j) {
            QTreeWidgetItem* row = group->child(j);
            if (const int number = row->data(0, Qt::UserRole).toInt(); number > 0) {
                row->setIcon(0, palettePictures_->ShapePicture(number));
            }
        }
    }
}

void MainWindow::SetCustomPaletteProgram(const QByteArray& program)
{
    customPaletteProgram_ = program;
    if (palettePictures_ && tree_->topLevelItemCount() > 0) {
        tree_->topLevelItem(0)->child(0)->setIcon(0, palettePictures_->ProgramPicture(program));
    }
    // A preview showing the custom entry or a category follows the new program at once.
    if (QTreeWidgetItem* current = tree_->currentItem();
        current && current->data(0, Qt::UserRole) == 0) {
        PreviewPaletteRow(current);
    }
}

designer::ShapeDesigner& MainWindow::Designer()
{
    if (!designer_) {
        const QString path = designerDatabasePath_.isEmpty()
                                 ? designer::ShapeDesigner::DefaultDatabasePath()
                                 : designerDatabasePath_;
        designer_ = new designer::ShapeDesigner(path, nullptr, this);
        connect(designer_, &designer::ShapeDesigner::customPaletteProgramChanged, this,
                &MainWindow::SetCustomPaletteProgram);
    }
    return *designer_;
}

void MainWindow::OpenShapeDesigner()
{
    Designer().exec();
}

void MainWindow::SetClosingQuestion(std::unique_ptr<ClosingQuestion> question)
{
    closingQuestion_ = std::move(question);
}

// The window closes whatever the answer; the question only offers the project's pages.
void MainWindow::AskClosingQuestion()
{
    if (ClosingQuestionTurnedOff(settingsPath_)) {
        return;
    }
    if (!closingQuestion_) {
        closingQuestion_ = std::make_unique<ClosingQuestion>();
    }
    bool dontAskAgain = false;
    const ClosingQuestion::Answer answer = closingQuestion_->Ask(this, dontAskAgain);
    if (dontAskAgain && !TurnClosingQuestionOff(settingsPath_)) {
        QMessageBox::warning(
            this, windowTitle(),
            QStringLiteral("无法写入设置文件 %1，下次关闭时仍会询问。").arg(settingsPath_));
    }
    if (answer == ClosingQuestion::Answer::Readme) {
        OpenPage(ReadmePage());
    } else if (answer == ClosingQuestion::Answer::UserGuide) {
        OpenPage(UserGuidePage());
    }
}

void MainWindow::OpenPage(const QUrl& page)
{
    if (!closingQuestion_) {
        closingQuestion_ = std::make_unique<ClosingQuestion>();
    }
    closingQuestion_->OpenPage(this, page);
}

void MainWindow::RunFontCommand()
{
    if (!fontDialog_) {
        fontDialog_ = new FontChoiceDialog(this);
    }
    if (fontDialog_->exec() != QDialog::Accepted) {
        return;
    }
    ObjectsOf(1).SetFont(
        FontChoiceDialog::PartsFor(fontDialog_->ChosenFont(), fontDialog_->ChosenColour()));
}

} // namespace app

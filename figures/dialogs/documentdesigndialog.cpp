#include "figures/dialogs/documentdesigndialog.h"

#include "figures/control/figurewindow.h"
#include "figures/dialogs/shapepicker.h"
#include "figures/view/cviewwnd.h"
#include "figures/view/viewcommandids.h"
#include "figures/view/viewcommands.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>

namespace figures {

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

// Dialog units: a quarter of the dialog font's average character width across, an
// eighth of its height down.
QSize FromDialogUnits(const QWidget& dialog, int across, int down)
{
    const QFontMetrics fm = dialog.fontMetrics();
    return {fm.averageCharWidth() * across / 4, fm.height() * down / 8};
}

} // namespace

DocumentDesignDialog::DocumentDesignDialog(const FigureWindow& edited, QWidget* parent)
    : QDialog(parent), picker_(new ShapePicker(this)), editor_(new FigureWindow(this)),
      viewManager_(new QPushButton(QStringLiteral("视图管理..."), this))
{
    setWindowTitle(QStringLiteral("设置“图形窗口.文档内容”"));
    picker_->setObjectName(QStringLiteral("picker"));
    editor_->setObjectName(QStringLiteral("editor"));
    viewManager_->setObjectName(QStringLiteral("viewManager"));
    viewManager_->setAutoDefault(false);
    auto* ok = new QPushButton(QStringLiteral("确定(&O)"), this);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    ok->setObjectName(QStringLiteral("ok"));
    cancel->setObjectName(QStringLiteral("cancel"));
    ok->setDefault(true);
    cancel->setAutoDefault(false);

    // The picker keeps its width; the drawing takes whatever the dialog is given.
    picker_->setMinimumWidth(FromDialogUnits(*this, 105, 0).width());
    picker_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    const QSize canvas = FromDialogUnits(*this, 320, 269);
    editor_->setMinimumSize(canvas / 2);
    auto* grid = new QGridLayout(this);
    grid->addWidget(picker_, 0, 0);
    grid->addWidget(editor_, 0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(viewManager_);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);
    // On a small or strongly scaled screen the dialog still fits, buttons included.
    QSize size = FromDialogUnits(*this, 429, 295);
    if (const QScreen* shownOn = parent != nullptr ? parent->screen() : screen()) {
        size = size.boundedTo(shownOn->availableGeometry().size() * 0.9);
    }
    resize(size);

    // The copy goes through the document bytes, exactly as a host stores the property.
    editor_->SetDocumentContent(edited.DocumentContent());
    editor_->SetCurrentView(edited.CurrentView());
    editor_->SetBackColour(kWhite);
    picker_->SetEditingView(&EditorView());

    connect(viewManager_, &QPushButton::clicked, this, &DocumentDesignDialog::OpenViewManager);
    connect(ok, &QPushButton::clicked, this, &DocumentDesignDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &DocumentDesignDialog::reject);
    editor_->setFocus();
}

DocumentDesignDialog::~DocumentDesignDialog()
{
    // The picker may outlive the canvas during destruction; unlink them first.
    picker_->SetEditingView(nullptr);
}

QByteArray DocumentDesignDialog::Content() const
{
    return editor_->DocumentContent();
}

int DocumentDesignDialog::ResultView() const
{
    return editor_->CurrentView();
}

CViewWnd& DocumentDesignDialog::EditorView() const
{
    // The control keeps its canvas as its one direct CViewWnd child; the picker has to
    // serve that canvas, which hosts never see.
    return *editor_->findChild<CViewWnd*>(QString(), Qt::FindDirectChildrenOnly);
}

// The drawing's own view-manager command, so that the drawing hears of the views added,
// renamed or deleted there and OK takes them over.
void DocumentDesignDialog::OpenViewManager()
{
    EditorView().Commands().Execute(ID_VIEW_MANAGER);
}

} // namespace figures

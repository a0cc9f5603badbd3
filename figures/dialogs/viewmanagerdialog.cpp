#include "figures/dialogs/viewmanagerdialog.h"

#include "figures/dialogs/messageboxes.h"

#include "figures/model/view.h"
#include "figures/render/gbk.h"
#include "figures/view/cviewwnd.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

namespace figures {

ViewManagerDialog::ViewManagerDialog(CViewWnd& view, QWidget* parent)
    : QDialog(parent), view_(view), name_(new QLineEdit(this)), list_(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("文档管理"));
    name_->setObjectName(QStringLiteral("name"));
    list_->setObjectName(QStringLiteral("views"));
    auto* add = new QPushButton(QStringLiteral("添加(&A)"), this);
    auto* remove = new QPushButton(QStringLiteral("删除(&D)"), this);
    auto* go = new QPushButton(QStringLiteral("跳转(&G)"), this);
    auto* close = new QPushButton(QStringLiteral("关闭(&C)"), this);
    add->setObjectName(QStringLiteral("add"));
    remove->setObjectName(QStringLiteral("delete"));
    go->setObjectName(QStringLiteral("go"));
    close->setObjectName(QStringLiteral("close"));
    go->setDefault(true);
    for (QPushButton* b : {add, remove, close}) {
        b->setAutoDefault(false);
    }

    auto* grid = new QGridLayout(this);
    auto* label = new QLabel(QStringLiteral("文档名称："), this);
    label->setBuddy(name_);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(label);
    nameRow->addWidget(name_, 1);
    grid->addLayout(nameRow, 0, 0);
    grid->addWidget(list_, 1, 0, 5, 1);
    grid->addWidget(add, 1, 1);
    grid->addWidget(remove, 2, 1);
    grid->setRowStretch(3, 1);
    grid->addWidget(go, 4, 1);
    grid->addWidget(close, 5, 1);
    list_->setMinimumSize(fontMetrics().averageCharWidth() * 172 / 4 + 40,
                          fontMetrics().height() * 112 / 8);

    connect(add, &QPushButton::clicked, this, &ViewManagerDialog::AddView);
    connect(remove, &QPushButton::clicked, this, &ViewManagerDialog::DeleteSelected);
    connect(go, &QPushButton::clicked, this, &ViewManagerDialog::GoToSelected);
    connect(close, &QPushButton::clicked, this, &ViewManagerDialog::reject);
    connect(list_, &QListWidget::currentRowChanged, this, &ViewManagerDialog::SelectionChanged);
    connect(list_, &QListWidget::itemDoubleClicked, this, &ViewManagerDialog::GoToSelected);
    connect(name_, &QLineEdit::textChanged, this, &ViewManagerDialog::Rename);
    Refresh();
}

void ViewManagerDialog::Refresh()
{
    const int previous = list_->currentRow();
    refreshing_ = true;
    list_->clear();
    const Document& document = view_.GetDocument();
    for (int i = 0; i < document.ViewCount(); ++i) {
        list_->addItem(FromGbk(document.ViewAt(i)->name));
    }
    refreshing_ = false;
    list_->setCurrentRow(std::min(std::max(previous, 0), list_->count() - 1));
    SelectionChanged();
}

void ViewManagerDialog::SelectionChanged()
{
    if (refreshing_) {
        return;
    }
    const int row = list_->currentRow();
    if (row < 0) {
        refreshing_ = true;
        name_->clear();
        refreshing_ = false;
        return;
    }
    refreshing_ = true;
    name_->setText(list_->item(row)->text());
    refreshing_ = false;
    name_->selectAll();
    name_->setFocus();
}

void ViewManagerDialog::Rename(const QString& name)
{
    const int row = list_->currentRow();
    View* view = view_.GetDocument().ViewAt(row);
    if (refreshing_ || view == nullptr) {
        return;
    }
    // Names are taken as typed: empty and repeated names are allowed, and a jump to a
    // repeated name goes to the first view of that name.
    view->name = ToGbk(name);
    // A renamed view is a change to save: without the mark, closing would drop it silently.
    view_.GetDocument().SetModified(true);
    edited_ = true;
    refreshing_ = true;
    list_->item(row)->setText(name);
    refreshing_ = false;
}

void ViewManagerDialog::AddView()
{
    view_.GetDocument().AddView();
    view_.GetDocument().SetModified(true);
    edited_ = true;
    Refresh();
    list_->setCurrentRow(list_->count() - 1);
}

bool ViewManagerDialog::DeleteSelected()
{
    const int row = list_->currentRow();
    if (row < 0) {
        return false;
    }
    if (!AskYesNo(this, QStringLiteral("您确认要删除视图“") + list_->item(row)->text() +
                            QStringLiteral("”吗？"))) {
        return false;
    }
    Document& document = view_.GetDocument();
    const bool shown = row == view_.CurrentIndex();
    const int current = view_.CurrentIndex();
    // The window lets go of the view before it dies, so it never draws a deleted view.
    if (shown) {
        view_.SelectView(-1);
    }
    document.SetModified(true);
    document.RemoveView(row);
    edited_ = true;
    if (!shown && current > row) {
        view_.SelectView(current - 1); // the same view, one place further up
    }
    refreshing_ = true;
    delete list_->takeItem(row);
    list_->setCurrentRow(row < list_->count() ? row : -1);
    refreshing_ = false;
    SelectionChanged();
    return true;
}

void ViewManagerDialog::GoToSelected()
{
    const int row = list_->currentRow();
    if (row < 0) {
        return;
    }
    view_.SelectView(row);
    accept();
}

} // namespace figures

#include "figures/dialogs/shapepicker.h"

#include "figures/dialogs/shapepreview.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/storage/documentformat.h"
#include "figures/render/shapes/catalogue.h"
#include "figures/view/cviewwnd.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QResizeEvent>

namespace figures {

namespace {

// The catalogue's icons are drawn once per program run: the shapes never change.
const QIcon& IconOf(int entry)
{
    static std::vector<QIcon> icons;
    if (icons.empty()) {
        icons.reserve(size_t(CatalogueCount()));
        // Drawn at the screen's own pixel density, so that scaled screens get sharp lines.
        const qreal ratio = qApp->devicePixelRatio();
        const int pixels = int(ShapePicker::kIconSide * ratio + 0.5);
        for (int i = 0; i < CatalogueCount(); ++i) {
            QPixmap icon = QPixmap::fromImage(CatalogueIcon(i, QSize(pixels, pixels)));
            icon.setDevicePixelRatio(ratio);
            icons.emplace_back(icon);
        }
    }
    return icons[size_t(entry)];
}

} // namespace

ShapePicker::ShapePicker(QWidget* parent)
    : QWidget(parent), categories_(new QComboBox(this)), shapes_(new QListWidget(this)),
      preview_(new ShapePreview(this)), targetView_(new CViewWnd(this))
{
    categories_->setObjectName(QStringLiteral("categories"));
    shapes_->setObjectName(QStringLiteral("shapes"));
    preview_->setObjectName(QStringLiteral("preview"));
    targetView_->setObjectName(QStringLiteral("jumpTarget"));
    shapes_->setIconSize(QSize(kIconSide, kIconSide));
    for (const ShapeCategory& category : CategoryList()) {
        categories_->addItem(
            QString::fromUtf8(category.name.data(), qsizetype(category.name.size())),
            int(category.value));
    }
    targetView_->SetPreviewMode(true);
    targetView_->setFrameShape(QFrame::Box);
    targetView_->SetPopupEnabled(false);
    targetView_->SelectView(-1);
    targetView_->hide();

    connect(categories_, &QComboBox::currentIndexChanged, this, &ShapePicker::FillShapes);
    connect(shapes_, &QListWidget::itemSelectionChanged, this, &ShapePicker::ShapeSelectionChanged);
    categories_->setCurrentIndex(0);
    FillShapes();
    resize(260, 420);
}

ShapePicker::~ShapePicker()
{
    SetEditingView(nullptr);
}

void ShapePicker::SetEditingView(CViewWnd* view)
{
    if (editing_ != nullptr) {
        editing_->SetPickerPanel(nullptr);
    }
    editing_ = view;
    if (editing_ != nullptr) {
        editing_->SetPickerPanel(this);
    }
}

void ShapePicker::FillShapes()
{
    const int category = categories_->currentData().toInt();
    const QSignalBlocker quiet(shapes_);
    shapes_->clear();
    for (int i = 0; i < CatalogueCount(); ++i) {
        const ShapeCatalogueEntry* entry = CatalogueEntry(i);
        if (entry->category != category) {
            continue;
        }
        auto* item = new QListWidgetItem(
            IconOf(i), QString::fromUtf8(entry->name.data(), qsizetype(entry->name.size())));
        item->setData(Qt::UserRole, i);
        shapes_->addItem(item);
    }
    shapes_->setCurrentRow(-1);
    preview_->SetObject(nullptr);
}

int ShapePicker::ChosenEntry() const
{
    const QList<QListWidgetItem*> chosen = shapes_->selectedItems();
    return chosen.isEmpty() ? -1 : chosen.front()->data(Qt::UserRole).toInt();
}

void ShapePicker::ShapeSelectionChanged()
{
    const int entry = ChosenEntry();
    preview_->SetObject(entry < 0 ? nullptr : std::make_unique<CRichGraph>(entry));
}

bool ShapePicker::HasShape() const
{
    return ChosenEntry() >= 0;
}

std::unique_ptr<CBaseCom> ShapePicker::NewObject()
{
    const int entry = ChosenEntry();
    if (entry < 0) {
        return nullptr;
    }
    return std::make_unique<CRichGraph>(entry);
}

void ShapePicker::ClearChoice()
{
    shapes_->clearSelection();
    shapes_->setCurrentRow(-1);
}

void ShapePicker::ShowJumpTarget(const View* target)
{
    if (target == shownTarget_) {
        return;
    }
    shownTarget_ = target;
    int index = -1;
    if (target != nullptr && editing_ != nullptr) {
        const Document& document = editing_->GetDocument();
        for (int i = 0; i < document.ViewCount(); ++i) {
            if (document.ViewAt(i) == target) {
                index = i;
            }
        }
    }
    if (index < 0) {
        shownTarget_ = nullptr;
        targetView_->SelectView(-1);
        ShowTargetInstead(false);
        return;
    }
    // The preview has a document of its own: it gets a copy, so that it can never keep
    // drawing a view the editing document has deleted since.
    const std::vector<uint8_t> bytes = WriteDocument(editing_->GetDocument());
    targetView_->SetDocumentContent(bytes);
    targetView_->SelectView(index);
    ShowTargetInstead(true);
    targetView_->viewport()->update();
}

void ShapePicker::ViewLostFocus()
{
    ShowJumpTarget(nullptr);
}

void ShapePicker::ShowTargetInstead(bool target)
{
    categories_->setVisible(!target);
    shapes_->setVisible(!target);
    preview_->setVisible(!target);
    targetView_->setVisible(target);
}

void ShapePicker::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int cx = event->size().width();
    const int cy = event->size().height();
    const int w = cx - 10;
    const int a = int(w * kPreviewShare);
    // The drop-down's own height is the style's; its list opens below it.
    categories_->setGeometry(5, 5, w, categories_->sizeHint().height());
    const int listTop = std::max(28, categories_->geometry().bottom() + 2);
    const int listBottom = cy - a - 10;
    shapes_->setGeometry(5, listTop, w, std::max(0, listBottom - listTop));
    preview_->setGeometry(5, cy - a - 5, w, a);
    targetView_->setGeometry(5, 5, w, cy - 10);
}

} // namespace figures

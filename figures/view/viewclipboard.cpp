#include "figures/view/viewclipboard.h"

#include "figures/model/objects/cpicturebox.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/shapetextstore.h"
#include "figures/render/gbk.h"
#include "figures/render/numeric.h"
#include "figures/view/clipboardrecords.h"
#include "figures/view/cviewwnd.h"
#include "figures/view/selectionpicture.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>

#include <algorithm>
#include <memory>
#include <vector>

namespace figures {

namespace {

// Catalogue entry 0: a text box without outline, the shape a pasted text goes into.
constexpr int32_t kTextBoxShape = 0;
// A text box holds at most 64 KiB; at two GBK bytes a character (a line break becomes two
// bytes too) this many characters always fit.
constexpr qsizetype kMaxPastedChars = 16000;
// Pictures up to this many pixels are kept exactly (as a bitmap); larger ones as JPEG.
constexpr qint64 kMaxBitmapPixels = 4'000'000;
constexpr double kScreenDpi = 96.0;

QClipboard* Clipboard()
{
    return QGuiApplication::clipboard();
}

// The selection in painting order: ascending layer, list order among equal layers.
std::vector<const CBaseCom*> PaintingOrder(const CViewWnd& view)
{
    std::vector<const CBaseCom*> order(view.Selection().begin(), view.Selection().end());
    std::stable_sort(order.begin(), order.end(), [&view](const CBaseCom* a, const CBaseCom* b) {
        return a->layer != b->layer ? a->layer < b->layer
                                    : view.ObjectIndex(a) < view.ObjectIndex(b);
    });
    return order;
}

std::unique_ptr<CBaseCom> TextBoxFor(const QString& text, Point at)
{
    QString lines = text.left(kMaxPastedChars);
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    const std::string gbk = ToGbk(lines);
    auto shape = std::make_unique<CRichGraph>(kTextBoxShape);
    shape->frame = {at.x, at.y, at.x + 50, at.y + 50};
    const std::vector<BoxText> boxes = ReadBoxTexts(*shape);
    if (boxes.empty() || !SetBoxText(*shape, boxes.front().number, gbk)) {
        return nullptr;
    }
    const DeviceMapping map(kScreenDpi, kScreenDpi);
    GrowToHoldText(*shape, boxes.front().step, gbk, map.ScaleX(), map.ScaleY());
    return shape;
}

// The image as a picture file the document format knows: a bitmap, or a JPEG when a
// bitmap would be very large. Transparent parts are laid on white.
std::vector<uint8_t> PictureFileOf(const QImage& image)
{
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    {
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool small = qint64(image.width()) * image.height() <= kMaxBitmapPixels;
    if (!opaque.save(&buffer, small ? "BMP" : "JPEG", small ? -1 : 92)) {
        return {};
    }
    return {bytes.begin(), bytes.end()};
}

std::unique_ptr<CBaseCom> PictureBoxFor(const QImage& image, Point at)
{
    if (image.isNull()) {
        return nullptr;
    }
    std::vector<uint8_t> file = PictureFileOf(image);
    if (file.empty()) {
        return nullptr;
    }
    auto box = std::make_unique<CPictureBox>();
    box->picture.SetBytes(std::move(file));
    if (!box->picture.HasPicture()) {
        return nullptr;
    }
    // One pixel of the picture is one pixel at 100 % on a 96-dpi screen.
    const int32_t w = MulDiv(image.width(), DeviceMapping::kUnitsPerInch, int32_t(kScreenDpi));
    const int32_t h = MulDiv(image.height(), DeviceMapping::kUnitsPerInch, int32_t(kScreenDpi));
    box->frame = {at.x, at.y, at.x + w, at.y + h};
    return box;
}

} // namespace

QString ViewClipboard::MimeType()
{
    return QStringLiteral("application/x-qt-windows-mime;value=\"KVIEWMARK\"");
}

bool ViewClipboard::HasData() const
{
    const QMimeData* data = Clipboard()->mimeData();
    return data != nullptr && data->hasFormat(MimeType());
}

bool ViewClipboard::HasExternalData() const
{
    const QMimeData* data = Clipboard()->mimeData();
    return data != nullptr && !data->hasFormat(MimeType()) && (data->hasText() || data->hasImage());
}

bool ViewClipboard::Copy()
{
    if (view_.CurrentView() == nullptr || view_.Selection().empty()) {
        return false;
    }
    std::vector<uint8_t> records;
    const std::vector<const CBaseCom*> selection(view_.Selection().begin(),
                                                 view_.Selection().end());
    if (!WriteClipboardRecords(selection, records) || records.empty()) {
        return false;
    }
    auto data = std::make_unique<QMimeData>();
    data->setData(MimeType(), QByteArray(reinterpret_cast<const char*>(records.data()),
                                         qsizetype(records.size())));
    // A picture of the selection for word processors and chats.
    const std::vector<const CBaseCom*> order = PaintingOrder(view_);
    const QImage image = RenderObjectsImage(order);
    if (!image.isNull()) {
        data->setImageData(image);
    }
    const QByteArray svg = RenderObjectsSvg(order);
    if (!svg.isEmpty()) {
        data->setData(QStringLiteral("image/svg+xml"), svg);
    }
    Clipboard()->setMimeData(data.release());
    return true;
}

void ViewClipboard::Cut()
{
    // Deleting what could not be copied would lose it.
    if (!Copy()) {
        return;
    }
    const std::vector<CBaseCom*> doomed = view_.Selection();
    view_.Deselect(nullptr);
    view_.DeleteObjects(doomed);
}

void ViewClipboard::Paste()
{
    View* view = view_.CurrentView();
    const QMimeData* data = Clipboard()->mimeData();
    if (view == nullptr || data == nullptr || !data->hasFormat(MimeType())) {
        return;
    }
    const QByteArray bytes = data->data(MimeType());
    if (bytes.isEmpty()) {
        return;
    }
    PastedRecords pasted = ReadClipboardRecords(
        {reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())});
    PlacePasted(pasted.objects, view_.ScrollOrigin());
    std::vector<CBaseCom*> added;
    added.reserve(pasted.objects.size());
    for (auto& object : pasted.objects) {
        added.push_back(object.get());
        view->objects.push_back(std::move(object));
    }
    view_.SetModified();
    view_.Deselect(nullptr);
    view_.ObjectsReordered();
    view_.SetSelection(added, false);
    for (const CBaseCom* object : added) {
        view_.InvalidateObject(object);
    }
}

void ViewClipboard::PasteExternal()
{
    View* view = view_.CurrentView();
    if (view == nullptr || !HasExternalData()) {
        return;
    }
    const QMimeData* data = Clipboard()->mimeData();
    const Point origin = view_.ScrollOrigin();
    const Point at{origin.x + kPasteOffset, origin.y + kPasteOffset};
    // Programs that offer both (office suites) mean the text; the image is its rendering.
    std::unique_ptr<CBaseCom> object =
        data->hasText() && !data->text().isEmpty()
            ? TextBoxFor(data->text(), at)
            : PictureBoxFor(qvariant_cast<QImage>(data->imageData()), at);
    if (!object) {
        return;
    }
    // On top: the highest layer there is, and last in the list among its equals.
    for (const auto& other : view->objects) {
        object->layer = std::max(object->layer, other->layer);
    }
    CBaseCom* added = object.get();
    view->objects.push_back(std::move(object));
    view_.SetModified();
    view_.ObjectsReordered();
    view_.Select(added, false);
}

} // namespace figures

#include "figures/control/figurewindow.h"

#include "figures/control/initialvalues.h"
#include "figures/control/objectset.h"
#include "figures/dialogs/documentdesigndialog.h"
#include "figures/dialogs/installviewdialogs.h"
#include "figures/model/document.h"
#include "figures/model/objects/cbasecom.h"
#include "figures/model/storage/documentformat.h"
#include "figures/model/viewrender.h"
#include "figures/render/gbk.h"
#include "figures/view/cviewwnd.h"
#include "figures/view/viewcommands.h"
#include "figures/view/viewkeyboard.h"
#include "figures/view/viewnotify.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <array>

namespace figures {

namespace {

constexpr int kLastShape = 110;
constexpr std::array<uint8_t, 4> kMagicBytes{0xAE, 0xBA, 0xC2, 0x0B};

template <typename Result, typename Body> Result Guarded(Result neutral, Body&& body)
{
    try {
        return body();
    } catch (...) {
        return neutral;
    }
}

uint32_t ToColourRef(const QColor& colour)
{
    return uint32_t(colour.red()) | uint32_t(colour.green()) << 8 | uint32_t(colour.blue()) << 16;
}

bool StartsWithMagic(const QByteArray& bytes)
{
    return bytes.size() >= 4 && std::equal(kMagicBytes.begin(), kMagicBytes.end(),
                                           reinterpret_cast<const uint8_t*>(bytes.constData()));
}

std::span<const uint8_t> AsSpan(const QByteArray& bytes)
{
    return {reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())};
}

bool IsInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: return true;
    default: return false;
    }
}

} // namespace

class FigureWindow::Impl {
public:
    CViewWnd* view = nullptr;
    // The document's bytes as last written or handed in, while documentBytesCurrent says
    // nothing changed since: hosts ask for the whole document after every change (undo
    // versions, the unsaved-changes check), and a large drawing takes long to write.
    // Every path that may change the document clears the flag (ForgetDocumentBytes).
    mutable QByteArray documentBytes;
    mutable bool documentBytesCurrent = false;
    void ForgetDocumentBytes() { documentBytesCurrent = false; }
    uint32_t backColour = kButtonFace;
    int currentViewIndex = 0;
    int borderStyle = 3;
    bool scrollBars = true;
    int zoomPercent = 100;
    int reserved = 1;
    bool textEditing = true;
    bool popupMenu = true;
    // A change of the document waits for the end of the user action that made it, and is
    // reported only when the document differs from the one last reported or handed in:
    // the canvas marks a click on an object as a change even when nothing moved.
    bool changePending = false;
    QByteArray reportedBytes;
    bool flushQueued = false;
    // Set while a canvas event is handed to the control's own event filters.
    bool deliveringInput = false;
};

FigureWindow::FigureWindow(QWidget* parent) : FigureWindow(DefaultInitialValues(), parent) {}

FigureWindow::FigureWindow(const QByteArray& initialValues, QWidget* parent)
    : QFrame(parent), d_(std::make_unique<Impl>())
{
    setAttribute(Qt::WA_NoSystemBackground);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    d_->view = new CViewWnd(this);
    // Hosts reach the properties dialog, the view manager and the objects' own dialogs
    // only through the canvas, so the control gives it all of them. The view manager's
    // edits touch no object, so the canvas cannot mark them: the dialog reports them here.
    InstallViewDialogs(*d_->view, [this] { NoteChange(); });
    layout->addWidget(d_->view);
    setFocusProxy(d_->view);
    setFocusPolicy(Qt::StrongFocus);
    ConnectView();
    if (!ApplyInitialValues(initialValues)) {
        ApplyInitialValues(DefaultInitialValues());
    }
    d_->reportedBytes = DocumentContent();
}

FigureWindow::~FigureWindow() = default;

void FigureWindow::ConnectView()
{
    CViewWnd* view = d_->view;
    // Hover news arrives queued from the canvas, and only while the object is still there.
    const auto relay = [this, view](void (FigureWindow::*signal)(int)) {
        return [this, view, signal](CBaseCom* object) {
            const int index = view->ObjectIndex(object);
            if (index >= 0) {
                emit(this->*signal)(index);
            }
        };
    };
    connect(view, &CViewWnd::mouseOver, this, relay(&FigureWindow::mouseOverObject));
    connect(view, &CViewWnd::mouseEnter, this, relay(&FigureWindow::mouseEnteredObject));
    connect(view, &CViewWnd::mouseLeave, this, relay(&FigureWindow::mouseLeftObject));
    connect(view, &CViewWnd::leftButtonDown, this, [this, view](const ViewMouseEvent& e) {
        const int index = view->ObjectIndex(e.object);
        if (index >= 0) {
            emit leftButtonPressedOnObject(index);
        }
    });
    connect(view, &CViewWnd::leftButtonUp, this, [this, view](const ViewMouseEvent& e) {
        const int index = view->ObjectIndex(e.object);
        if (index >= 0) {
            emit leftButtonReleasedOnObject(index);
        }
    });
    connect(view, &CViewWnd::modified, this, [this] { NoteChange(); });
    connect(view, &CViewWnd::viewShown, this, [this](int index) { emit viewChanged(index); });
    // The zoom is kept in the view and written with it, though it is no change to report.
    connect(view, &CViewWnd::zoomChanged, this, [this] { d_->ForgetDocumentBytes(); });
}

// A user action may mark the view many times (every step of a handle drag): the change is
// reported once, from the event loop, when no drag is running any more.
void FigureWindow::NoteChange()
{
    d_->ForgetDocumentBytes();
    d_->changePending = true;
    if (!d_->flushQueued) {
        d_->flushQueued = true;
        QMetaObject::invokeMethod(
            this, [this] { FlushChange(); }, Qt::QueuedConnection);
    }
}

void FigureWindow::FlushChange()
{
    d_->flushQueued = false;
    if (!d_->changePending || d_->view->IsDragging()) {
        return;
    }
    d_->changePending = false;
    const QByteArray bytes = DocumentContent();
    if (bytes != d_->reportedBytes) {
        d_->reportedBytes = bytes;
        emit documentChanged();
    }
}

// --- initial values ---

QByteArray FigureWindow::DefaultInitialValues()
{
    return InitialValuesBlock().Write();
}

QByteArray FigureWindow::InitialValues() const
{
    InitialValuesBlock values;
    values.document = DocumentContent();
    values.backColour = d_->backColour;
    values.currentView = CurrentView();
    values.borderStyle = d_->borderStyle;
    values.scrollBars = d_->scrollBars ? 1 : 0;
    values.zoomPercent = d_->zoomPercent;
    values.reserved = d_->reserved;
    values.textEditing = d_->textEditing ? 1 : 0;
    values.popupMenu = d_->popupMenu ? 1 : 0;
    return values.Write();
}

bool FigureWindow::ApplyInitialValues(const QByteArray& block)
{
    const std::optional<InitialValuesBlock> values = InitialValuesBlock::Read(block);
    if (!values) {
        return false;
    }
    SetDocumentContent(values->document);
    SetCurrentView(values->currentView);
    SetBackColour(values->backColour);
    SetBorderStyle(values->borderStyle);
    SetScrollBars(values->scrollBars != 0);
    SetZoom(values->zoomPercent);
    SetReserved(values->reserved);
    SetTextEditing(values->textEditing != 0);
    SetPopupMenu(values->popupMenu != 0);
    return true;
}

// --- properties by number ---

QVariant FigureWindow::Property(int id) const
{
    switch (id) {
    case PropDocument: return DocumentContent();
    case PropCurrentView: return CurrentView();
    case PropViewCount: return ViewCount();
    case PropObjectCount: return ObjectCount();
    case PropBackColour: return BackColour();
    case PropBorderStyle: return BorderStyle();
    case PropScrollBars: return ScrollBars();
    case PropZoom: return Zoom();
    case PropReserved: return Reserved();
    case PropTextEditing: return TextEditing();
    case PropPopupMenu: return PopupMenu();
    case PropGridSpacing: return GridSpacing();
    case PropAlignmentGuides: return AlignmentGuides();
    default: return {};
    }
}

bool FigureWindow::SetProperty(int id, const QVariant& value)
{
    bool converts = true;
    const int number = value.toInt(&converts);
    if (id == PropDocument) {
        return value.canConvert<QByteArray>() && SetDocumentContent(value.toByteArray());
    }
    if (id == PropBackColour) {
        const uint32_t colour = value.toUInt(&converts);
        if (converts) {
            SetBackColour(colour);
        }
        return converts;
    }
    if (!converts && value.typeId() != QMetaType::Bool) {
        return false;
    }
    switch (id) {
    case PropCurrentView: SetCurrentView(number); return true;
    case PropBorderStyle: SetBorderStyle(number); return true;
    case PropScrollBars: SetScrollBars(value.toBool()); return true;
    case PropZoom: SetZoom(number); return true;
    case PropReserved: SetReserved(number); return true;
    case PropTextEditing: SetTextEditing(value.toBool()); return true;
    case PropPopupMenu: SetPopupMenu(value.toBool()); return true;
    case PropGridSpacing: SetGridSpacing(number); return true;
    case PropAlignmentGuides: SetAlignmentGuides(value.toBool()); return true;
    default: return false;
    }
}

// --- properties ---

QByteArray FigureWindow::DocumentContent() const
{
    if (d_->documentBytesCurrent) {
        return d_->documentBytes;
    }
    return Guarded(QByteArray(), [&] {
        const std::vector<uint8_t> bytes = WriteDocument(d_->view->GetDocument());
        d_->documentBytes =
            QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
        d_->documentBytesCurrent = true;
        return d_->documentBytes;
    });
}

bool FigureWindow::SetDocumentContent(const QByteArray& bytes)
{
    return ReadContent(bytes, false);
}

bool FigureWindow::RestoreDocumentContent(const QByteArray& bytes)
{
    return ReadContent(bytes, true);
}

// ownWriting: the bytes are what this control's writer made of a document, so reading
// them back and writing again gives them once more, and they serve as the written bytes.
bool FigureWindow::ReadContent(const QByteArray& bytes, bool ownWriting)
{
    d_->ForgetDocumentBytes();
    return Guarded(false, [&] {
        if (bytes.isEmpty()) {
            // The canvas reads a new document's bytes, so that it lets go of its objects
            // the same careful way as for any other document.
            d_->documentBytes.clear();
            const std::vector<uint8_t> fresh = WriteDocument(Document());
            d_->view->SetDocumentContent(fresh);
            d_->reportedBytes = DocumentContent();
            return true;
        }
        if (!StartsWithMagic(bytes)) {
            return false;
        }
        const bool complete = d_->view->SetDocumentContent(AsSpan(bytes));
        if (complete && ownWriting) {
            d_->documentBytes = bytes;
            d_->documentBytesCurrent = true;
        }
        d_->reportedBytes = DocumentContent();
        return complete;
    });
}

int FigureWindow::CurrentView() const
{
    return d_->view->GetDocument().CurrentIndex();
}

void FigureWindow::SetCurrentView(int index)
{
    d_->currentViewIndex = index;
    d_->view->SelectView(index);
}

int FigureWindow::ViewCount() const
{
    return d_->view->GetDocument().ViewCount();
}

int FigureWindow::ObjectCount() const
{
    const View* view = d_->view->CurrentView();
    return view == nullptr ? 0 : view->ObjectCount();
}

uint32_t FigureWindow::BackColour() const
{
    return d_->backColour;
}

void FigureWindow::SetBackColour(uint32_t colour)
{
    d_->backColour = colour;
    d_->view->SetBackground(colour == kButtonFace ? ToColourRef(palette().color(QPalette::Button))
                                                  : colour);
}

int FigureWindow::BorderStyle() const
{
    return d_->borderStyle;
}

void FigureWindow::SetBorderStyle(int style)
{
    struct Border {
        int shape;
        int lineWidth;
        int midLineWidth;
    };
    // Sunken client edge, raised dialog frame, thin static edge, both edges, single line.
    static constexpr std::array<Border, 6> kBorders{{
        {QFrame::NoFrame, 0, 0},
        {QFrame::Panel | QFrame::Sunken, 2, 0},
        {QFrame::Panel | QFrame::Raised, 3, 0},
        {QFrame::Panel | QFrame::Sunken, 1, 0},
        {QFrame::Box | QFrame::Raised, 2, 1},
        {QFrame::Box | QFrame::Plain, 1, 0},
    }};
    d_->borderStyle = style;
    const Border border =
        style >= 0 && style < int(kBorders.size()) ? kBorders[size_t(style)] : kBorders[0];
    setFrameStyle(border.shape);
    setLineWidth(border.lineWidth);
    setMidLineWidth(border.midLineWidth);
    update();
}

bool FigureWindow::ScrollBars() const
{
    return d_->scrollBars;
}

void FigureWindow::SetScrollBars(bool shown)
{
    d_->scrollBars = shown;
    d_->view->SetScrollBarsShown(shown);
}

int FigureWindow::Zoom() const
{
    return d_->zoomPercent;
}

void FigureWindow::SetZoom(int percent)
{
    d_->ForgetDocumentBytes();
    if (percent > 0) {
        d_->zoomPercent = percent;
    }
    d_->view->SetZoom(d_->zoomPercent);
}

int FigureWindow::Reserved() const
{
    return d_->reserved;
}

void FigureWindow::SetReserved(int value)
{
    d_->reserved = value;
}

bool FigureWindow::TextEditing() const
{
    return d_->textEditing;
}

void FigureWindow::SetTextEditing(bool enabled)
{
    d_->textEditing = enabled;
    d_->view->SetTextEditEnabled(enabled);
}

bool FigureWindow::PopupMenu() const
{
    return d_->popupMenu;
}

void FigureWindow::SetPopupMenu(bool enabled)
{
    d_->popupMenu = enabled;
    d_->view->SetPopupEnabled(enabled);
}

int FigureWindow::GridSpacing() const
{
    return d_->view->GridSpacing();
}

void FigureWindow::SetGridSpacing(int units)
{
    d_->view->SetGridSpacing(std::max(units, 0));
}

bool FigureWindow::AlignmentGuides() const
{
    return d_->view->AlignmentGuides();
}

void FigureWindow::SetAlignmentGuides(bool on)
{
    d_->view->SetAlignmentGuides(on);
}

// --- commands ---

QList<int> FigureWindow::GetSelectedIndexes() const
{
    return Guarded(QList<int>(), [&] {
        const std::vector<int> indexes = d_->view->SelectionIndices();
        return QList<int>(indexes.begin(), indexes.end());
    });
}

QList<int> FigureWindow::GetAllIndexes() const
{
    QList<int> indexes;
    for (int i = 0; i < ObjectCount(); ++i) {
        indexes.append(i);
    }
    return indexes;
}

int FigureWindow::GetClientWidth() const
{
    return Guarded(0, [&] { return int(d_->view->VisibleRect().Width()); });
}

int FigureWindow::GetClientHeight() const
{
    return Guarded(0, [&] { return int(d_->view->VisibleRect().Height()); });
}

void FigureWindow::Refresh()
{
    d_->ForgetDocumentBytes();
    if (d_->view->CurrentView() != nullptr) {
        d_->view->ObjectsChanged();
        d_->view->viewport()->update();
    }
}

bool FigureWindow::HandlesKey(QKeyCombination key) const
{
    return d_->view->Commands().Keyboard().Binds(key);
}

int FigureWindow::AddShape(int number)
{
    if (number < 0 || number > kLastShape) {
        return -1;
    }
    // Number 0 is the custom shape, which the canvas asks for with a negative entry.
    return Guarded(-1, [&] { return d_->view->AddShape(number - 1); });
}

int FigureWindow::InsertView(const std::optional<QString>& name, int position)
{
    d_->ForgetDocumentBytes();
    return Guarded(-1, [&] {
        const std::string gbk = name ? ToGbk(*name) : std::string();
        const int index = d_->view->GetDocument().InsertView(name ? &gbk : nullptr, position);
        d_->view->GetDocument().SetModified(true);
        NoteChange();
        return index;
    });
}

FigureInterface FigureWindow::GetObjects(int index) const
{
    if (index == -1) {
        return GetObjects(GetAllIndexes());
    }
    return GetObjects(index >= 0 ? QList<int>{index} : QList<int>());
}

FigureInterface FigureWindow::GetObjects(const QList<int>& indexes) const
{
    return Guarded(FigureInterface(), [&] {
        std::vector<CBaseCom*> objects;
        if (const View* view = d_->view->CurrentView()) {
            for (const int index : indexes) {
                if (CBaseCom* object = view->ObjectByIndex(index)) {
                    objects.push_back(object);
                }
            }
        }
        return FigureInterface(std::make_shared<ObjectSet>(d_->view, std::move(objects)));
    });
}

bool FigureWindow::EditDocumentContent()
{
    DocumentDesignDialog dialog(*this, this);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    return Guarded(false, [&] {
        const QByteArray before = DocumentContent();
        const QByteArray after = dialog.Content();
        SetDocumentContent(after);
        if (CurrentView() != dialog.ResultView()) {
            SetCurrentView(dialog.ResultView());
        }
        // Handing the bytes in counts as reported; the host still has to hear of the edit.
        if (after != before) {
            emit documentChanged();
        }
        return true;
    });
}

// --- output ---

bool FigureWindow::ExportViews(const QList<int>& indexes, const QString& path, double dpi,
                               QString& error, const OutputProgress& progress) const
{
    return Guarded(false, [&] {
        const Document& document = d_->view->GetDocument();
        std::vector<const View*> views;
        for (const int index : indexes) {
            if (const View* view = document.ViewAt(index)) {
                views.push_back(view);
            }
        }
        if (views.empty()) {
            error = QStringLiteral("no view to export");
            return false;
        }
        RenderSettings settings;
        settings.dpi = dpi;
        if (path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
            return RenderViewsToPdf(views, path, settings, error, progress);
        }
        if (progress && !progress(0, 1)) {
            error = QStringLiteral("cancelled");
            return false;
        }
        return RenderViewToFile(*views.front(), path, settings, error);
    });
}

bool FigureWindow::PaintViewFitted(int index, QPainter& painter, double dpi,
                                   const QRect& target) const
{
    return Guarded(false, [&] {
        const View* view = d_->view->GetDocument().ViewAt(index);
        if (!view) {
            return false;
        }
        figures::PaintViewFitted(*view, painter, dpi, target);
        return true;
    });
}

// --- events ---

bool FigureWindow::event(QEvent* event)
{
    if (event->type() == ForwardedInputEvent::EventType()) {
        DeliverCanvasInput(static_cast<ForwardedInputEvent*>(event)->Input());
        return true;
    }
    if (d_->deliveringInput) {
        // The event filters have seen it; the control itself does nothing with it.
        event->accept();
        return true;
    }
    if (IsInput(event->type())) {
        QFrame::event(event);
        event->accept();
        return true;
    }
    return QFrame::event(event);
}

// Hands a canvas event to whoever filters the control's events, with mouse positions in
// the control's coordinates. A finished drag also lets a waiting change be reported.
void FigureWindow::DeliverCanvasInput(const QEvent& input)
{
    const QPoint offset = d_->view->viewport()->mapTo(this, QPoint(0, 0));
    // A pointer event made anew leaves its press, position and time with its pointing
    // device, where the platform also keeps the last press to recognise a double-click.
    // So the copies keep the original's device and time: a press stamped with time 0
    // made every next real press look long after the last, and no double-click formed.
    std::unique_ptr<QEvent> copy;
    if (input.type() == QEvent::Wheel) {
        const auto& wheel = static_cast<const QWheelEvent&>(input);
        auto moved = std::make_unique<QWheelEvent>(
            wheel.position() + offset, wheel.globalPosition(), wheel.pixelDelta(),
            wheel.angleDelta(), wheel.buttons(), wheel.modifiers(), wheel.phase(),
            wheel.inverted(), wheel.source(), wheel.pointingDevice());
        moved->setTimestamp(wheel.timestamp());
        copy = std::move(moved);
    } else if (const auto* mouse = dynamic_cast<const QMouseEvent*>(&input)) {
        auto moved = std::make_unique<QMouseEvent>(
            mouse->type(), mouse->position() + offset, mouse->scenePosition(),
            mouse->globalPosition(), mouse->button(), mouse->buttons(), mouse->modifiers(),
            mouse->source(), mouse->pointingDevice());
        moved->setTimestamp(mouse->timestamp());
        copy = std::move(moved);
    } else {
        copy.reset(input.clone());
    }
    d_->deliveringInput = true;
    QCoreApplication::sendEvent(this, copy.get());
    d_->deliveringInput = false;
    if (d_->changePending) {
        FlushChange();
    }
}

} // namespace figures

// viewdemo: the editing view in a plain window, to try the canvas by hand.
//
//   viewdemo [file.vkd]      (default: the sample document next to the program)
//
// Keys: + and - zoom through 10 % .. 300 %; 0 back to 100 %; 1..9 choose a preset shape
// for the next press (drag or click to create it); L a line; Delete removes the
// selection; A selects all; PageUp/PageDown switch views; G switches a 10 mm grid and U
// alignment guides on and off; S saves back to the file.
#include "figures/dialogs/installviewdialogs.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/crichline.h"
#include "figures/model/storage/documentformat.h"
#include "figures/render/shapes/catalogue.h"
#include "figures/view/cviewwnd.h"
#include "figures/view/pickerpanel.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <QWidget>

#include <array>
#include <cstdio>

namespace {

using figures::CViewWnd;

// A stand-in for the shape picker: one chosen shape at a time.
class KeyPicker : public figures::PickerPanel {
public:
    static constexpr int kNone = -1000;
    static constexpr int kLine = -2000;

    bool HasShape() const override { return shape_ != kNone; }
    std::unique_ptr<figures::CBaseCom> NewObject() override
    {
        if (shape_ == kLine) {
            return std::make_unique<figures::CRichLine>();
        }
        if (shape_ == kNone) {
            return nullptr;
        }
        auto shape = std::make_unique<figures::CRichGraph>(shape_);
        shape->fillKind = figures::FillKind::Colour;
        shape->fillColour = 0xFFFFFF;
        return shape;
    }
    void ClearChoice() override { shape_ = kNone; }
    void ShowJumpTarget(const figures::View*) override {}
    void ViewLostFocus() override {}
    void Choose(int shape) { shape_ = shape; }

private:
    int shape_ = kNone;
};

class DemoWindow : public QWidget {
public:
    DemoWindow(QString path) : path_(std::move(path))
    {
        setWindowTitle("viewdemo - " + path_);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        view_ = new CViewWnd(this);
        view_->SetPickerPanel(&picker_);
        figures::InstallViewDialogs(*view_);
        layout->addWidget(view_);
        Open();
    }

protected:
    // The canvas keeps the keys it has; they arrive here as forwarded copies.
    bool event(QEvent* event) override
    {
        if (event->type() == figures::ForwardedInputEvent::EventType()) {
            const QEvent& input = static_cast<figures::ForwardedInputEvent*>(event)->Input();
            if (input.type() == QEvent::KeyPress && !view_->IsDragging()) {
                HandleKey(static_cast<const QKeyEvent&>(input).key());
            }
            return true;
        }
        return QWidget::event(event);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (!HandleKey(event->key())) {
            QWidget::keyPressEvent(event);
        }
    }

private:
    bool HandleKey(int key)
    {
        if (key == Qt::Key_Plus || key == Qt::Key_Equal) {
            Zoom(+1);
        } else if (key == Qt::Key_Minus) {
            Zoom(-1);
        } else if (key == Qt::Key_0) {
            view_->SetZoom(100);
        } else if (key >= Qt::Key_1 && key <= Qt::Key_9) {
            // A few shapes from the start of the catalogue's categories.
            static constexpr std::array<int, 9> kShapes = {0, 1, 2, 3, 4, 5, 6, 7, 8};
            picker_.Choose(kShapes[size_t(key - Qt::Key_1)]);
        } else if (key == Qt::Key_L) {
            picker_.Choose(KeyPicker::kLine);
        } else if (key == Qt::Key_Delete) {
            const std::vector<figures::CBaseCom*> doomed = view_->Selection();
            view_->DeleteObjects(doomed);
        } else if (key == Qt::Key_A) {
            view_->SelectAll();
        } else if (key == Qt::Key_PageDown || key == Qt::Key_PageUp) {
            const int count = view_->GetDocument().ViewCount();
            const int step = key == Qt::Key_PageDown ? 1 : count - 1;
            view_->SelectView((view_->CurrentIndex() + step) % std::max(1, count));
        } else if (key == Qt::Key_G) {
            view_->SetGridSpacing(view_->GridSpacing() > 0 ? 0 : 100);
        } else if (key == Qt::Key_U) {
            view_->SetAlignmentGuides(!view_->AlignmentGuides());
        } else if (key == Qt::Key_S) {
            Save();
        } else {
            return false;
        }
        return true;
    }

    void Open()
    {
        QFile file(path_);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "viewdemo: cannot open %s; showing an empty document\n",
                         qPrintable(path_));
            return;
        }
        const QByteArray bytes = file.readAll();
        std::string error;
        if (!view_->SetDocumentContent(
                {reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())},
                &error)) {
            std::fprintf(stderr, "viewdemo: %s\n", error.c_str());
        }
    }

    void Save()
    {
        const std::vector<uint8_t> bytes = figures::WriteDocument(view_->GetDocument());
        QFile file(path_);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) !=
                qint64(bytes.size())) {
            std::fprintf(stderr, "viewdemo: cannot write %s\n", qPrintable(path_));
        }
    }

    void Zoom(int direction)
    {
        static constexpr std::array<int, 7> kZooms = {10, 25, 50, 100, 150, 200, 300};
        const figures::View* view = view_->CurrentView();
        if (view == nullptr) {
            return;
        }
        size_t i = 0;
        while (i + 1 < kZooms.size() && kZooms[i] * 10 < view->zoomX) {
            ++i;
        }
        if (direction > 0 && i + 1 < kZooms.size()) {
            ++i;
        } else if (direction < 0 && i > 0) {
            --i;
        }
        view_->SetZoom(kZooms[i]);
    }

    QString path_;
    CViewWnd* view_ = nullptr;
    KeyPicker picker_;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QCoreApplication::applicationDirPath() + "/示例.vkd";
    DemoWindow window(path);
    window.resize(1000, 700);
    window.show();
    return app.exec();
}

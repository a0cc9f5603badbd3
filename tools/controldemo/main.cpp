// A host window for trying the drawing control by hand: a canvas and a small preview that
// follows it, a few buttons that run object-set commands on the selection, and a status
// line with the control's events. It includes nothing of the component but the control's
// two headers, as the application does.
#include "figures/control/figureinterface.h"
#include "figures/control/figurewindow.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QMainWindow>
#include <QVBoxLayout>

namespace {

using figures::FigureInterface;
using figures::FigureWindow;

QString IndexList(const QList<int>& indexes)
{
    QStringList parts;
    for (const int index : indexes) {
        parts << QString::number(index);
    }
    return parts.join(QLatin1Char(','));
}

class DemoWindow : public QMainWindow {
public:
    DemoWindow()
    {
        auto* central = new QWidget(this);
        auto* columns = new QHBoxLayout(central);
        canvas_ = new FigureWindow(central);
        canvas_->SetGridSpacing(0);
        columns->addWidget(canvas_, 1);

        auto* side = new QVBoxLayout;
        preview_ = new FigureWindow(central);
        preview_->SetScrollBars(false);
        preview_->SetPopupMenu(false);
        preview_->SetBackColour(0xFFFFFF);
        preview_->setFixedSize(220, 160);
        side->addWidget(new QLabel(QStringLiteral("预览"), central));
        side->addWidget(preview_);
        AddButtons(side, central);
        side->addStretch();
        events_ = new QLabel(central);
        events_->setWordWrap(true);
        events_->setMinimumWidth(220);
        side->addWidget(events_);
        columns->addLayout(side);
        setCentralWidget(central);
        ConnectEvents();
    }

    void Load(const QString& path)
    {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) && canvas_->SetDocumentContent(file.readAll())) {
            FollowCanvas();
        } else {
            statusBar()->showMessage(QStringLiteral("无法读取 %1").arg(path));
        }
    }

private:
    FigureInterface Selection() const { return canvas_->GetObjects(canvas_->GetSelectedIndexes()); }

    void AddButton(QVBoxLayout* side, QWidget* parent, const QString& text,
                   const std::function<void()>& action)
    {
        auto* button = new QPushButton(text, parent);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, action);
        side->addWidget(button);
    }

    void AddButtons(QVBoxLayout* side, QWidget* parent)
    {
        AddButton(side, parent, QStringLiteral("添加矩形"), [this] { canvas_->AddShape(); });
        AddButton(side, parent, QStringLiteral("添加椭圆"), [this] { canvas_->AddShape(11); });
        AddButton(side, parent, QStringLiteral("旋转 40°"), [this] { Selection().SetAngle(400); });
        AddButton(side, parent, QStringLiteral("变为五角星"), [this] { Selection().SetShape(62); });
        AddButton(side, parent, QStringLiteral("左对齐"), [this] { Selection().Align(3); });
        AddButton(side, parent, QStringLiteral("组合"), [this] { Selection().Group(); });
        AddButton(side, parent, QStringLiteral("删除所选"), [this] { Selection().Delete(); });
        AddButton(side, parent, QStringLiteral("设计文档内容..."),
                  [this] { canvas_->EditDocumentContent(); });
        AddButton(side, parent, QStringLiteral("网格 5 毫米"), [this] {
            canvas_->SetGridSpacing(canvas_->GridSpacing() == 0 ? 50 : 0);
            ShowEvent(QStringLiteral("网格 %1").arg(canvas_->GridSpacing()));
        });
    }

    void ConnectEvents()
    {
        const auto show = [this](const QString& name) {
            return [this, name](int index) { ShowEvent(name + QString::number(index)); };
        };
        connect(canvas_, &FigureWindow::mouseEnteredObject, this, show(QStringLiteral("进入 ")));
        connect(canvas_, &FigureWindow::mouseLeftObject, this, show(QStringLiteral("离开 ")));
        connect(canvas_, &FigureWindow::leftButtonPressedOnObject, this,
                show(QStringLiteral("按下 ")));
        connect(canvas_, &FigureWindow::leftButtonReleasedOnObject, this,
                show(QStringLiteral("松开 ")));
        connect(canvas_, &FigureWindow::mouseOverObject, this, [this](int index) {
            statusBar()->showMessage(QStringLiteral("在对象 %1 上").arg(index), 1000);
        });
        connect(canvas_, &FigureWindow::documentChanged, this, [this] {
            ++changes_;
            ShowEvent(QStringLiteral("文档已改变 (%1)").arg(changes_));
            FollowCanvas();
        });
        connect(canvas_, &FigureWindow::viewChanged, this, [this](int index) {
            ShowEvent(QStringLiteral("当前视图 %1").arg(index));
            FollowCanvas();
        });
    }

    // The preview shows the canvas's document at a quarter of its size.
    void FollowCanvas()
    {
        preview_->SetDocumentContent(canvas_->DocumentContent());
        preview_->SetCurrentView(canvas_->CurrentView());
        preview_->SetZoom(25);
    }

    void ShowEvent(const QString& text)
    {
        log_.prepend(text);
        while (log_.size() > 12) {
            log_.removeLast();
        }
        events_->setText(QStringLiteral("对象 %1 个，选中 [%2]\n")
                             .arg(canvas_->ObjectCount())
                             .arg(IndexList(canvas_->GetSelectedIndexes())) +
                         log_.join(QLatin1Char('\n')));
    }

    FigureWindow* canvas_ = nullptr;
    FigureWindow* preview_ = nullptr;
    QLabel* events_ = nullptr;
    QStringList log_;
    int changes_ = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    DemoWindow window;
    window.setWindowTitle(QStringLiteral("控件试验"));
    window.resize(1000, 700);
    if (argc > 1) {
        window.Load(QString::fromLocal8Bit(argv[1]));
    }
    window.show();
    return app.exec();
}

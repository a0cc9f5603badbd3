#include "figures/control/figurewindow.h"
#include "figures/dialogs/ccolourdropwnd.h"
#include "figures/dialogs/documentdesigndialog.h"
#include "figures/dialogs/lineenddialog.h"
#include "figures/dialogs/objectpropertiesdialog.h"
#include "figures/dialogs/shapepicker.h"
#include "figures/dialogs/textinputdialog.h"
#include "figures/dialogs/viewmanagerdialog.h"
#include "figures/model/document.h"
#include "figures/model/objects/crectcom.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/view/cviewwnd.h"

#include "support/referencepicture.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>

#include <gtest/gtest.h>

namespace figures {
namespace {

// Text is antialiased by the installed fonts: a little more leeway than for drawings.
constexpr testsupport::PictureTolerance kDialogTolerance{40, 0.01};

QImage Shot(QWidget& widget)
{
    widget.show();
    widget.adjustSize();
    return widget.grab().toImage();
}

QImage Properties()
{
    CRichGraph shape(2);
    shape.frame = {125, 100, 625, 400};
    shape.angle = 150;
    shape.shadowDirection = 5;
    shape.fillKind = FillKind::Pattern;
    shape.hatchStyle = 7;
    shape.fillColour = 0x800000;
    Document document;
    ObjectPropertiesDialog dialog(shape, false, &document);
    return Shot(dialog);
}

QImage GradientProperties()
{
    CRectCom shape;
    shape.frame = {0, 0, 400, 300};
    shape.fillKind = FillKind::Gradient;
    shape.gradientKind = 3;
    shape.gradientCount = 3;
    shape.gradientColours = {0x0000FF, 0xFFFFFF, 0xFF0000};
    ObjectPropertiesDialog dialog(shape, false, nullptr);
    return Shot(dialog);
}

QImage LineEnds()
{
    LineEndDialog dialog(LineEnd{1, 2, 2}, QPoint(0, 0));
    return Shot(dialog);
}

QImage ViewManager()
{
    CViewWnd view;
    view.GetDocument().AddView();
    ViewManagerDialog dialog(view);
    return Shot(dialog);
}

QImage TextInput()
{
    TextInputDialog dialog(QPoint(0, 0), QStringLiteral("开始\r\n第二行"), {}, 100);
    return Shot(dialog);
}

QImage Palette()
{
    CColourDropWnd palette(QPoint(0, 0), 0x0000FF, QStringLiteral("默认色"),
                           QStringLiteral("其它颜色..."));
    return palette.grab().toImage();
}

QImage Picker()
{
    ShapePicker picker;
    picker.Categories()->setCurrentIndex(2); // the basic shapes
    picker.Shapes()->setCurrentRow(4);
    picker.resize(200, 420);
    picker.show();
    return picker.grab().toImage();
}

QImage Design()
{
    FigureWindow host;
    host.AddShape();
    host.AddShape(62);
    host.GetObjects(1).SetFrame(600, 250, 500, 500);
    DocumentDesignDialog dialog(host);
    dialog.resize(760, 520);
    dialog.show();
    QCoreApplication::processEvents();
    return dialog.grab().toImage();
}

testsupport::ReferencePicture Dialog(const char* name, QImage (*paint)())
{
    return {{name}, paint, kDialogTolerance};
}

using testsupport::ReferencePictures;

INSTANTIATE_TEST_SUITE_P(Dialogs, ReferencePictures,
                         testing::Values(Dialog("dialog-properties", Properties),
                                         Dialog("dialog-properties-gradient",
                                                GradientProperties),
                                         Dialog("dialog-lineends", LineEnds),
                                         Dialog("dialog-viewmanager", ViewManager),
                                         Dialog("dialog-textinput", TextInput),
                                         Dialog("dialog-palette", Palette),
                                         Dialog("dialog-shapepicker", Picker),
                                         Dialog("dialog-design", Design)),
                         testsupport::CaseName());

} // namespace
} // namespace figures

#include "app/palettepictures.h"

#include "figures/control/figurewindow.h"

#include <QWidget>

namespace app {

namespace {

// Document units per pixel at 100 percent: one unit is a tenth of a millimetre.
constexpr double kUnitsPerPixel = 254.0 / 96.0;

} // namespace

PalettePictures::PalettePictures(QSize size) : holder_(std::make_unique<QWidget>())
{
    // The stage is a child of a window that is never shown: a window of its own would be
    // held to the platform's smallest window size.
    stage_ = new figures::FigureWindow(holder_.get());
    stage_->SetBorderStyle(0);
    stage_->SetScrollBars(false);
    stage_->SetBackColour(0x00FFFFFF);
    stage_->SetTextEditing(false);
    stage_->SetPopupMenu(false);
    stage_->resize(size);
    shape_ = stage_->AddShape(0);
    // One pixel of margin on every side, so outlines are not cut by the edge.
    const int width = int((size.width() - 2) * kUnitsPerPixel);
    const int height = int((size.height() - 2) * kUnitsPerPixel);
    stage_->GetObjects(shape_).SetFrame(int(kUnitsPerPixel), int(kUnitsPerPixel), width, height);
}

PalettePictures::~PalettePictures() = default;

QPixmap PalettePictures::ShapePicture(int number)
{
    if (!stage_->GetObjects(shape_).SetShape(number)) {
        return {};
    }
    return Render();
}

QPixmap PalettePictures::ProgramPicture(const QByteArray& program)
{
    if (!stage_->GetObjects(shape_).SetDrawingData(program)) {
        return {};
    }
    return Render();
}

QPixmap PalettePictures::Render()
{
    return stage_->grab();
}

} // namespace app

#pragma once

#include <QByteArray>
#include <QPixmap>
#include <QSize>

#include <memory>

class QWidget;

namespace figures {
class FigureWindow;
}

namespace app {

// Small pictures of shapes for the palette rows, drawn by the drawing component itself: a
// hidden control holds one shape framed to fill it, and each picture is a rendering of
// that control. So a row shows exactly what its shape will look like on the canvas.
class PalettePictures {
public:
    // size: the picture in device-independent pixels; the pictures are rendered at the
    // screen's pixel density.
    explicit PalettePictures(QSize size);
    ~PalettePictures();

    // Catalogue shape number 1..110.
    QPixmap ShapePicture(int number);
    // A custom shape with this program; an invalid program gives an empty picture.
    QPixmap ProgramPicture(const QByteArray& program);

private:
    QPixmap Render();

    std::unique_ptr<QWidget> holder_;
    figures::FigureWindow* stage_ = nullptr; // owned by holder_
    int shape_ = -1;                         // the stage's object
};

} // namespace app

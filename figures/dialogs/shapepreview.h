#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <memory>

namespace figures {

class CBaseCom;

// Draws one object so that it fills the widget less a 5-pixel margin, on a background
// colour (0xFF000000, "no colour", shows as white).
class ShapePreview : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMargin = 5;

    explicit ShapePreview(QWidget* parent = nullptr);
    ~ShapePreview() override;

    // Takes the object (null clears the preview).
    void SetObject(std::unique_ptr<CBaseCom> object);
    const CBaseCom* Object() const { return object_.get(); }
    void SetBackground(uint32_t colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<CBaseCom> object_;
    uint32_t background_ = 0xFFFFFF;
};

// Paints object into area (pixels of painter) at the screen's resolution, the object's
// frame set to area so that it fills it.
void PaintObjectInto(QPainter& painter, CBaseCom& object, const QRect& area, uint32_t background);

// The catalogue entry drawn by the core as an icon of the given size on white.
QImage CatalogueIcon(int entry, QSize size);

} // namespace figures

#pragma once

#include "figures/view/pickerpanel.h"

#include <QPointer>
#include <QWidget>

class QComboBox;
class QListWidget;

namespace figures {

class CViewWnd;
class ShapePreview;

// The preset shapes by category, each drawn by its own program as an icon, for creation
// with the mouse in the editing view it serves: while a shape is selected in the list, a
// press on the canvas creates it. While the mouse is over an object with a jump link,
// a small view of the link's target takes the place of the lists.
class ShapePicker : public QWidget, public PickerPanel {
    Q_OBJECT

public:
    static constexpr double kPreviewShare = 0.618; // of the width, for the preview height
    static constexpr int kIconSide = 32;

    explicit ShapePicker(QWidget* parent = nullptr);
    ~ShapePicker() override;

    // Links the picker and the editing view both ways (null unlinks).
    void SetEditingView(CViewWnd* view);

    QComboBox* Categories() const { return categories_; }
    QListWidget* Shapes() const { return shapes_; }
    ShapePreview* Preview() const { return preview_; }
    CViewWnd* TargetView() const { return targetView_; }

    // The catalogue index of the shape selected in the list, or -1.
    int ChosenEntry() const;

    bool HasShape() const override;
    std::unique_ptr<CBaseCom> NewObject() override;
    void ClearChoice() override;
    void ShowJumpTarget(const View* target) override;
    void ViewLostFocus() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FillShapes();
    void ShapeSelectionChanged();
    // Shows either the lists and preview or the jump target's view.
    void ShowTargetInstead(bool target);

    // The editing view may go first; it is then simply no longer served.
    QPointer<CViewWnd> editing_;
    QComboBox* categories_;
    QListWidget* shapes_;
    ShapePreview* preview_;
    CViewWnd* targetView_;
    const View* shownTarget_ = nullptr;
};

} // namespace figures

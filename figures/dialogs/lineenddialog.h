#pragma once

#include "figures/render/lineends/lineendgeometry.h"

#include <QDialog>

class QComboBox;

namespace figures {

// The choice of one line end: its type (0 none, 1..11) in one list and its size (width
// code 1..3 across, length code 1..3 along the line) in the other, each entry a sample
// line drawn with that end. The size list is off while the type is "none".
class LineEndDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTypeCount = 12;
    static constexpr int kSizeCount = 9;

    // Opens with its top-left at position (screen), kept on the screen.
    LineEndDialog(const LineEnd& current, QPoint position, QWidget* parent = nullptr);

    // The choice after OK: for "none" both sizes are 1; without a size the old ones stay.
    LineEnd Choice() const { return end_; }
    // The size-list entry of a width and length code pair, -1 for codes out of 1..3.
    static int SizeIndex(int widthCode, int lengthCode);

    QComboBox* TypeList() const { return types_; }
    QComboBox* SizeList() const { return sizes_; }

public slots:
    void accept() override;

private:
    void TypeChosen(int type);
    void DrawSizeSamples(int type);

    LineEnd end_;
    QComboBox* types_;
    QComboBox* sizes_;
};

} // namespace figures

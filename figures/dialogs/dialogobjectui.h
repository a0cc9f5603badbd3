#pragma once

#include "figures/model/objects/objectui.h"

#include <QObject>

namespace figures {

class CViewWnd;

// What objects ask of the user on a view, answered with the component's dialogs: the
// line-end dialog at the pressed end-cap button, and the text-input window over a text
// box whose typing is stored in the shape as it happens, the view following along.
class DialogObjectUi : public QObject, public ObjectUi {
    Q_OBJECT

public:
    // The most GBK bytes one text may take: the texts of a shape share one property
    // record of 64 KiB less the record's and the items' headers.
    static constexpr int kTextByteLimit = 0xFFFC - 16;

    // Lives as long as the view (a child of it).
    explicit DialogObjectUi(CViewWnd& view);

    bool ChooseLineEnd(Point devicePoint, const LineEnd& current, LineEnd& chosen) override;
    void EditShapeText(const Rect& box, const std::string& text,
                       const TextChanged& changed) override;

private:
    QPoint ScreenOfDevice(Point devicePoint) const;
    QPoint ScreenOfBox(const Rect& box) const;

    CViewWnd& view_;
};

} // namespace figures

#pragma once

#include "figures/model/objects/crichgraph.h"
#include "figures/model/view.h"
#include "figures/view/cviewwnd.h"
#include "figures/view/pickerpanel.h"

#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace figures::viewtest {

constexpr int32_t kRectangle = 2;
constexpr int32_t kEllipse = 10;

// A picker with one rectangle chosen until a creation uses it.
class OneShapePicker : public PickerPanel {
public:
    bool chosen = true;
    bool HasShape() const override { return chosen; }
    std::unique_ptr<CBaseCom> NewObject() override
    {
        return chosen ? std::make_unique<CRichGraph>(kRectangle) : nullptr;
    }
    void ClearChoice() override { chosen = false; }
    void ShowJumpTarget(const View*) override {}
    void ViewLostFocus() override {}
};

// A shown view of the given client size with an empty first view.
inline std::unique_ptr<CViewWnd> ShownView(int width = 400, int height = 300)
{
    auto view = std::make_unique<CViewWnd>();
    view->SetScrollBarsShown(false); // the client area is then exactly the widget
    view->resize(width, height);
    view->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    return view;
}

inline CRichGraph* AddShape(CViewWnd& view, int32_t entry, Rect frame, uint32_t fill = 0xFFFFFF)
{
    View* v = view.CurrentView();
    v->AddNewShape(entry, &frame);
    auto* shape = static_cast<CRichGraph*>(v->objects.back().get());
    shape->fillColour = fill;
    view.ObjectsChanged();
    return shape;
}

inline QPoint ClientOf(const CViewWnd& view, Point doc)
{
    const Point p = view.DocumentToClient(doc);
    return {p.x, p.y};
}

inline QPoint CentreOf(const CViewWnd& view, const CBaseCom& object)
{
    return ClientOf(view, object.frame.Centre());
}

inline QWidget* Canvas(CViewWnd& view)
{
    return view.viewport();
}

} // namespace figures::viewtest

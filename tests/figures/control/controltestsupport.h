#pragma once

#include "figures/control/figurewindow.h"
#include "figures/model/document.h"
#include "figures/model/storage/documentformat.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace figures::controltest {

// A shown control without border or scroll bars, so that the canvas starts at the
// control's top-left and its client area is the whole control.
inline std::unique_ptr<FigureWindow> ShownControl(int width = 400, int height = 300)
{
    auto control = std::make_unique<FigureWindow>();
    control->SetBorderStyle(0);
    control->SetScrollBars(false);
    control->resize(width, height);
    control->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(control.get()));
    return control;
}

// The control's document as its bytes say, read back by the document reader.
inline std::unique_ptr<Document> ReadBack(const FigureWindow& control)
{
    const QByteArray bytes = control.DocumentContent();
    auto document = std::make_unique<Document>();
    const ReadDocumentResult result = ReadDocument(
        {reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())}, *document);
    EXPECT_TRUE(result.ok) << result.error;
    return document;
}

inline const View& FirstView(const Document& document)
{
    return *document.ViewAt(0);
}

} // namespace figures::controltest

#include "figures/model/svggroupfilter.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <string>

namespace {

// The filter's output for text written in pieces of the given size (0: one write).
std::string Filtered(const std::string& text, size_t piece)
{
    QBuffer target;
    target.open(QIODevice::WriteOnly);
    {
        figures::SvgGroupFilter filter(target);
        const size_t step = piece == 0 ? text.size() : piece;
        for (size_t at = 0; at < text.size(); at += step) {
            const std::string part = text.substr(at, step);
            filter.write(part.data(), qint64(part.size()));
        }
    }
    return target.data().toStdString();
}

TEST(SvgGroupFilter, DropsEmptyGroupsAndKeepsEverythingElseWhereverTheWritesSplit)
{
    const struct {
        const char* name;
        std::string in;
        std::string out;
    } kCases[] = {
        {"no groups", "<svg><path d=\"M0,0\"/></svg>\n", "<svg><path d=\"M0,0\"/></svg>\n"},
        {"an empty group", "<svg>\n<g fill=\"none\"\n>\n</g>\n</svg>", "<svg>\n</svg>"},
        {"a group that draws", "<g a=\"1\">\n<path/>\n</g>\n", "<g a=\"1\">\n<path/>\n</g>\n"},
        {"empty between full", "<g>\n<rect/>\n</g>\n<g x=\"2\">\n</g>\n<g>\n<rect/>\n</g>\n",
         "<g>\n<rect/>\n</g>\n<g>\n<rect/>\n</g>\n"},
        {"nested empty groups", "<g>\n<g>\n</g>\n<g>\n</g>\n</g>\n<path/>", "\n<path/>"},
        {"nested, one drawing", "<g>\n<g>\n</g>\n<g>\n<path/>\n</g>\n</g>",
         "<g>\n<g>\n<path/>\n</g>\n</g>"},
        {"a quoted greater-than", "<g font-family=\"a>b\">\n</g>\n<text>x</text>",
         "\n<text>x</text>"},
        {"tags that only start like a group", "<glyph/>\n<g2>\n</g2>", "<glyph/>\n<g2>\n</g2>"},
        {"text ending inside a group", "<g a=\"1\">\n", "<g a=\"1\">\n"},
        {"a lone closing tag", "</g>\n<path/>", "</g>\n<path/>"},
    };
    for (const auto& c : kCases) {
        for (size_t piece : {size_t(0), size_t(1), size_t(2), size_t(3), size_t(5), size_t(7)}) {
            EXPECT_EQ(Filtered(c.in, piece), c.out) << c.name << ", pieces of " << piece;
        }
    }
}

} // namespace

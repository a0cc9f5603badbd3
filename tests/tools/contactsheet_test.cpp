// The catalogue's contact sheet against a reviewed copy in tests/data. Set
// VELKOR_UPDATE_REFERENCES=1 to rewrite it after a deliberate change to a shape, an
// adjust routine or the sheet, then look at the whole picture before committing it.
#include "tools/vkdtool/contactsheet.h"

#include "support/referencepicture.h"

#include <gtest/gtest.h>

namespace {

// Small enough to keep in the repository, large enough to see every shape's proportions.
constexpr int32_t kReferenceZoom = 800;
// A few hundred pixels may differ (antialiasing, font hinting on another build): fewer
// than one shape covers.
constexpr testsupport::PictureTolerance kTolerance{24, 0.0002};

using testsupport::ReferencePictures;

INSTANTIATE_TEST_SUITE_P(
    ContactSheet, ReferencePictures,
    testing::Values(testsupport::ReferencePicture{
        {"catalogue-sheet"}, [] { return vkdtool::DrawContactSheet(kReferenceZoom); }, kTolerance}),
    testsupport::CaseName());

} // namespace

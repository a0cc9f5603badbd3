#pragma once

#include "support/namedcase.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <functional>

namespace testsupport {

// How far a rendering may stray from its reviewed reference: a channel may differ by
// `channel` levels (antialiasing on another CPU or Qt build) in at most `share` of the
// pixels.
struct PictureTolerance {
    int channel = 24;
    double share = 0.002;
};

// Compares actual with the reviewed picture tests/data/<name>.png. With the environment
// variable VELKOR_UPDATE_REFERENCES set, the reference is rewritten instead (and the test
// is skipped): look at every rewritten picture before committing it. On a mismatch the
// actual picture is saved as <name>-actual.png in the working directory.
void ExpectMatchesReference(const QImage& actual, const QString& name,
                            PictureTolerance tolerance = {});

// A picture compared with its reviewed reference, tests/data/<name>.png; the test takes
// its name from the same name.
struct ReferencePicture : NamedCase {
    std::function<QImage()> paint;
    PictureTolerance tolerance = {};
};

// The one test of every reference picture, ReferencePictures.MatchTheReviewedPicture:
// a test file lists its pictures with
//   INSTANTIATE_TEST_SUITE_P(Group, testsupport::ReferencePictures,
//                            testing::Values(...), testsupport::CaseName());
class ReferencePictures : public testing::TestWithParam<ReferencePicture> {};

} // namespace testsupport

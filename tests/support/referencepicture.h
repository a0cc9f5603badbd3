#pragma once

#include <QImage>
#include <QString>

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

} // namespace testsupport

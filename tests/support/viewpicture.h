#pragma once

#include "support/referencepicture.h"

#include "figures/model/view.h"

#include <QImage>
#include <QSize>

namespace testsupport {

// A reference picture of a view: build fills a new view, render draws it at size, and the
// result is compared with tests/data/<name>.png.
inline ReferencePicture ViewPicture(const char* name, void (*build)(figures::View&), QSize size,
                                    QImage (*render)(const figures::View&, QSize))
{
    return {{name}, [build, size, render] {
                figures::View view;
                build(view);
                return render(view, size);
            }};
}

} // namespace testsupport

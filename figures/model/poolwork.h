#pragma once

#include <QThreadPool>

#include <algorithm>
#include <latch>

namespace figures {

// Runs `work` on `helpers` threads of the global pool and on the calling thread, and returns
// once every one of them has finished. `work` takes its items from a counter shared by all
// runs, so a slow item never leaves a thread idle while others wait.
template <typename Work>
void RunOnPoolAndHere(int helpers, const Work& work)
{
    QThreadPool& pool = *QThreadPool::globalInstance();
    helpers = std::max(0, helpers);
    std::latch done(helpers);
    for (int i = 0; i < helpers; ++i) {
        pool.start([&] {
            work();
            done.count_down();
        });
    }
    work();
    done.wait();
}

} // namespace figures

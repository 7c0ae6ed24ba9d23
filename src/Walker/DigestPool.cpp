#include "DigestPool.h"

#include "Platform/ThreadPool.h"

#include <QThread>

#include <algorithm>

namespace DigestPool {

ThreadPool* shared() {
    // Room for two separations at full width (the size filter's and a folder stage's), but
    // never fewer threads than one separation needs, however few cores there are: the
    // digests of large files wait on the disk as much as on the processor.
    static ThreadPool* const pool = new ThreadPool(
        std::clamp(QThread::idealThreadCount(), kDigestsPerSeparation, 2 * kDigestsPerSeparation),
        30000);
    return pool;
}

} // namespace DigestPool

#include "DigestPool.h"

#include <QThread>
#include <QThreadPool>

#include <algorithm>

namespace DigestPool {

QThreadPool* shared() {
    // Room for two separations at full width (the size filter's and a folder stage's), but
    // never fewer threads than one separation needs, however few cores there are: the
    // digests of large files wait on the disk as much as on the processor.
    static QThreadPool* const pool = [] {
        auto* p = new QThreadPool;
        p->setObjectName(QStringLiteral("Separating Queue threads"));
        p->setMaxThreadCount(std::clamp(QThread::idealThreadCount(), kDigestsPerSeparation,
                                        2 * kDigestsPerSeparation));
        p->setExpiryTimeout(30000);
        return p;
    }();
    return pool;
}

} // namespace DigestPool

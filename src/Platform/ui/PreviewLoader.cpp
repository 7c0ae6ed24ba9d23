#include "Platform/ui/PreviewLoader.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

#include <mutex>

// One load. The worker reaches the loader only through |owner|, under |mutex|, so a loader
// being destroyed waits for a post in progress and is never posted to afterwards; a posted
// call is dropped by Qt when its loader is gone before it runs.
struct PreviewLoader::Job {
    std::mutex mutex;
    PreviewLoader* owner = nullptr;
    std::atomic<bool> cancelled = false;
    QByteArray path;
    QSize maxPixels;
};

namespace {

// The workers belong to the application object: when it goes, jobs not started are
// dropped and running ones are waited for, so none is still inside Qt or a decoder while
// the process takes down its globals.
class PreviewPool final : public QThreadPool {
public:
    using QThreadPool::QThreadPool;
    ~PreviewPool() override {
        clear();
        waitForDone();
    }
};

QThreadPool& previewPool() {
    static QPointer<PreviewPool> pool;
    if (!pool) {
        pool = new PreviewPool(QCoreApplication::instance());
        pool->setObjectName(QStringLiteral("Previews"));
        pool->setMaxThreadCount(3);
    }
    return *pool;
}

} // namespace

PreviewLoader::PreviewLoader(QObject* parent) : QObject(parent) {
    static const bool registered = [] {
        qRegisterMetaType<PreviewFacts>();
        qRegisterMetaType<PreviewContent>();
        return true;
    }();
    Q_UNUSED(registered);
}

PreviewLoader::~PreviewLoader() {
    cancel();
}

void PreviewLoader::cancel() {
    if (!m_job)
        return;
    m_job->cancelled.store(true);
    const std::lock_guard lock(m_job->mutex);
    m_job->owner = nullptr;
    m_job.reset();
}

void PreviewLoader::load(const QByteArray& path, QSize maxPixels) {
    cancel();
    auto job = std::make_shared<Job>();
    job->owner = this;
    job->path = path;
    job->maxPixels = maxPixels;
    m_job = job;
    previewPool().start([job] {
        const auto post = [&job](auto&& call) {
            const std::lock_guard lock(job->mutex);
            if (job->owner && !job->cancelled.load())
                QMetaObject::invokeMethod(job->owner, std::forward<decltype(call)>(call),
                                          Qt::QueuedConnection);
        };
        const PreviewFacts facts = PreviewRenderer::readFacts(job->path);
        post([job, facts] {
            if (job->owner)
                job->owner->deliverFacts(job, facts);
        });
        if (job->maxPixels.isEmpty() || job->cancelled.load())
            return;
        const PreviewContent content =
            PreviewRenderer::renderContent(facts, job->maxPixels, job->cancelled);
        post([job, content] {
            if (job->owner)
                job->owner->deliverContent(job, content);
        });
    });
}

void PreviewLoader::deliverFacts(const std::shared_ptr<Job>& job, const PreviewFacts& facts) {
    if (job != m_job)
        return;
    if (job->maxPixels.isEmpty())
        m_job.reset();
    emit factsReady(facts);
}

void PreviewLoader::deliverContent(const std::shared_ptr<Job>& job, const PreviewContent& content) {
    if (job != m_job)
        return;
    m_job.reset();
    emit contentReady(content);
}

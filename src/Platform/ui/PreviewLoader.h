#pragma once

#include "Platform/ui/PreviewRenderer.h"

#include <QObject>

#include <memory>

// Reads a preview off the main thread: first the facts (delivered as soon as lstat
// answers), then, unless only facts were asked for, the content. Results arrive on the
// main thread through the signals, for the latest load() only: a new load, cancel() or the
// loader's end drops whatever an earlier job still delivers. A job stuck on a slow file
// holds one worker of a small pool of its own, never the main thread or Qt's global pool.
//
// Main thread only.
class PreviewLoader final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreviewLoader)

public:
    explicit PreviewLoader(QObject* parent = nullptr);
    ~PreviewLoader() override;

    // Starts reading |path|; pictures fit in |maxPixels|. An empty |maxPixels| reads the
    // facts only.
    void load(const QByteArray& path, QSize maxPixels);
    void cancel();
    // True from load() until the content (or, for facts only, the facts) arrived.
    bool isLoading() const { return m_job != nullptr; }

signals:
    void factsReady(const PreviewFacts& facts);
    void contentReady(const PreviewContent& content);

private:
    struct Job;
    void deliverFacts(const std::shared_ptr<Job>& job, const PreviewFacts& facts);
    void deliverContent(const std::shared_ptr<Job>& job, const PreviewContent& content);

    std::shared_ptr<Job> m_job;
};

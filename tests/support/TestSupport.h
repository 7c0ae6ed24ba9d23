#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

namespace Dispatch {
class Queue;
}

namespace TestSupport {

// Spins the event loop (main-queue work, timers, queued calls) until `condition` holds or
// `timeoutMs` passes. Answers whether the condition held. Use as
// ASSERT_TRUE(TestSupport::waitFor([&] { return done; })).
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

// Runs the event loop for `ms` milliseconds, for tests that must show nothing arrives.
void spinFor(int ms);

// Writes `contents` to `path` (raw bytes), creating missing parent folders. Answers success.
bool writeFile(const QByteArray& path, const QByteArray& contents);

// Points the per-user folders (XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME,
// XDG_RUNTIME_DIR) and the temporary folder (TMPDIR, where every QTemporaryDir goes) at
// fresh folders under one temporary folder, so no test reads or writes the real settings or
// the real Trash, and whatever a test leaves behind goes with that folder; the session bus
// points at nothing. Called by both test mains before the application object is made;
// answers the temporary folder.
QString isolateUserFolders();

// Removes `path` and everything below it by raw bytes, through descriptors relative to each
// parent folder: names that are not valid UTF-8 (which QDir cannot remove) and paths of any
// length included; symbolic links are removed, never followed. Answers whether nothing is
// left. Entries that cannot be removed are left in place, with their folders.
bool removeTree(const QByteArray& path);

// Holds a queue still: the first block put on it after the gate waits until the test opens
// the gate (at the latest when the gate goes), so blocks added meanwhile run in a known
// order, after whatever the test did. The blocked work holds only shared state, never the
// test's own objects.
class QueueGate final {
public:
    explicit QueueGate(Dispatch::Queue& queue);
    ~QueueGate();
    QueueGate(const QueueGate&) = delete;
    QueueGate& operator=(const QueueGate&) = delete;
    void open();
    // True once the queue has reached the gate and waits at it.
    bool isReached() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

// Empties the temporary per-user Trash ($XDG_DATA_HOME/Trash), so that what an earlier test
// trashed under the same name cannot stand in a later test's way. Answers success.
bool emptyUserTrash();

// Makes every test end only when the engine's queues and pools are idle, so that no work a
// test started runs into the next one; work that never ends stops the run with the test's
// name. Called by both test mains.
void installEngineIdleCheck();

} // namespace TestSupport

#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

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
// XDG_RUNTIME_DIR) at fresh folders under one temporary folder, so no test reads or
// writes the real settings or the real Trash. Called by both test mains before the
// application object is made; answers the temporary folder.
QString isolateUserFolders();

} // namespace TestSupport

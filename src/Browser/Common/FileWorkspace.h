#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// The outside actions of a results table's file commands: show in the file manager, the
// properties, open, open with an application. The platform's unless a test handed its own.
struct FileWorkspace {
    std::function<void(const QByteArray& path)> reveal;
    std::function<void(const QByteArray& path)> properties;
    std::function<void(const QByteArray& path)> open;
    std::function<void(const QByteArray& path, const QString& appId)> openWith;

    // The desktop's own: the file manager, its properties dialog and the GIO applications.
    static const FileWorkspace& platform();
};

// One table's workspace: a test's while one is set, else the platform's. Each table keeps its
// own, so a test of one table leaves the other on the platform's.
class FileWorkspaceSlot {
public:
    void set(std::optional<FileWorkspace> workspace) { m_test = std::move(workspace); }
    const FileWorkspace& get() const { return m_test ? *m_test : FileWorkspace::platform(); }

private:
    std::optional<FileWorkspace> m_test;
};

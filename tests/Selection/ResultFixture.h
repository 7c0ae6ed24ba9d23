#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

class DuplicateItem;
class DuplicatesContainer;
class DuplicatesGroup;
class FileSystemItem;

// A result made by a real scan of a temporary folder tree: files are written into a
// temporary folder, the scanner scans it (every file of at least one byte) and its result
// becomes the result manager's current container.
class ResultFixture {
public:
    struct File {
        const char* path; // relative to the root folder
        QByteArray content;
    };

    ResultFixture();
    ~ResultFixture();

    // The root folder's path, without a final "/".
    QByteArray root() const { return m_root; }
    QByteArray abs(const char* relative) const { return m_root + '/' + relative; }

    void write(const std::vector<File>& files);
    // Sets a file's modification time (UTC).
    void touch(const char* relative, const QDateTime& when);
    // Scans the root; with `withFolders` the scan also looks for identical folders and the
    // heaps of similar folders (give every folder that must not count as a copy a file of its
    // own). The container becomes the manager's current one.
    void build(bool withFolders = false);

    const std::shared_ptr<DuplicatesContainer>& container() const { return m_container; }
    FileSystemItem* node(const char* relative) const;
    // The copy of the node at `relative`; null when it has none.
    std::shared_ptr<DuplicateItem> item(const char* relative) const;
    std::shared_ptr<DuplicatesGroup> group(const char* relative) const;
    // Relative paths of the copies, sorted.
    QList<QByteArray> relative(const std::vector<std::shared_ptr<DuplicateItem>>& items) const;
    // Relative paths of the selected copies of every typed group, sorted.
    QList<QByteArray> selected() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_root;
    std::shared_ptr<DuplicatesContainer> m_container;
};

// Counts "DuplicateItemSelectionChangedNotification" posts while it lives.
class SelectionNotificationCounter {
public:
    SelectionNotificationCounter();
    ~SelectionNotificationCounter();
    int count() const { return m_count; }

private:
    int m_count = 0;
};

#pragma once

#include "../../Results/ResultFixture.h"

#include "Browser/Frame/CategoryStateManager.h"
#include "Browser/GroupList/GroupListRows.h"
#include "Categories/Settings.h"

#include <QHash>
#include <QStringList>

#include <map>
#include <ostream>

// Row lists read as text in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Groups made from nodes named by relative paths ("A/x.jpg"); the files exist on disk only
// when asked for (sizes up to 10^10 bytes stay in the nodes alone). Each group gets a label
// for reading row lists.
struct GroupListFixture : ResultFixture {
    std::map<QByteArray, FolderSystemItem*> folders;
    QHash<const DuplicatesGroup*, QString> labels;

    void SetUp() override {
        ResultFixture::SetUp();
        CategoryStateManager::sharedManager().removeGategoryItems();
        Settings::setSortType(Settings::SortTypeSize);
        Settings::setSortDirection(Settings::SortDirectionDescending);
        Settings::setAutoNeverSelectFolders({});
    }
    void TearDown() override {
        Settings::setSortType(Settings::SortTypeSize);
        Settings::setSortDirection(Settings::SortDirectionDescending);
        ResultFixture::TearDown();
    }

    FolderSystemItem* folderAt(const QByteArray& path) {
        if (path.isEmpty())
            return root;
        auto found = folders.find(path);
        if (found != folders.end())
            return found->second;
        const qsizetype slash = path.lastIndexOf('/');
        FolderSystemItem* parent = folderAt(slash < 0 ? QByteArray() : path.left(slash));
        FolderSystemItem* made = folder(parent, slash < 0 ? path : path.mid(slash + 1));
        folders[path] = made;
        return made;
    }

    FileSystemItem* node(const QByteArray& path, qint64 size, bool onDisk, char fill) {
        const qsizetype slash = path.lastIndexOf('/');
        FolderSystemItem* parent = folderAt(slash < 0 ? QByteArray() : path.left(slash));
        const QByteArray name = slash < 0 ? path : path.mid(slash + 1);
        if (onDisk)
            return file(parent, name, int(size), fill);
        return FileSystemItem::initWithPathSize(*tree, name, parent, size, 0, false, size);
    }

    std::shared_ptr<DuplicatesGroup> group(const QString& label, const QList<QByteArray>& paths,
                                           qint64 size, bool onDisk = false, char fill = 'x') {
        QList<FileSystemItem*> nodes;
        for (const QByteArray& path : paths)
            nodes << node(path, size, onDisk, fill);
        auto made = container->addGroupWithItems(nodes);
        EXPECT_TRUE(made) << label.toStdString();
        if (made)
            labels.insert(made.get(), label);
        return made;
    }

    void publish() {
        container->saveRoots({root});
        DuplicatesManager::sharedManager().setDuplicateContainer(container);
    }

    // The rows as labels, headers as "[title]", the closing row as "<all>".
    QStringList describe(const GroupListRows& rows) const {
        QStringList out;
        for (int row = 0; row < rows.rowCount(); ++row) {
            if (const GroupListEntry* entry = rows.entryAt(row))
                out << labels.value(entry->group.get(), QStringLiteral("?"));
            else if (rows.isHeaderRow(row))
                out << QLatin1Char('[') + rows.headerTitleAt(row) + QLatin1Char(']');
            else
                out << QStringLiteral("<all>");
        }
        return out;
    }
};

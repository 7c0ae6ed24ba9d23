#pragma once

#include <QByteArray>
#include <QStringList>

#include <memory>

class DuplicatesContainer;

// A large scan result for the interface benchmarks, built through the engine's own classes
// (scanned tree, container with heaps, categories, groups) without files on disk, so that a
// million copies take seconds instead of a real scan. Shared by the results, group-list,
// folder-picker and removal figures.
//
// Shape: `copies` copies in `groups` groups (every group gets copies / groups copies, the
// first copies % groups groups one more), spread over `folders` folders (2,000 unless
// asked) two levels below the root, 50 to a parent; a group's copies lie in different folders, and
// groups repeat their folder sets, so pairs of folders share many groups (the Similars view has
// heaps). Extensions cycle through pictures, movies, music, documents, archives and others.
struct BigResultShape {
    qint64 copies = 1000000;
    qint64 groups = 300000;
    qint64 folders = 2000;

    // Reads "--copies N" and "--groups N"; false for a bad value, fewer than two copies per
    // group or too many copies per group for the folders.
    bool parse(const QStringList& args);
    // The same test without reading arguments.
    bool valid() const;
};

// Builds the result under `rootPath` (an existing folder: the copies themselves need not
// exist), validated as a finished scan would be. Runs on the main thread; posts the
// container's data-changed notification on the main queue.
std::shared_ptr<DuplicatesContainer> buildBigResult(const BigResultShape& shape,
                                                    const QByteArray& rootPath);

// Developer tool: walks the folders given on the command line with the real walk operation
// (four walker threads, one tree for all of them, as a scan does) and prints one figure a
// line. With --find it also times `find DIR -xdev -printf '%s\n' > /dev/null` per folder
// (one thread) for comparison; run it twice to compare with a warm cache.
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Platform/OperationQueue.h"
#include "Walker/CSWalkOperation.h"
#include "Walker/CSWalkOperationDelegate.h"
#include "Walker/PWalkerDelegate.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <atomic>
#include <cstdio>
#include <vector>

namespace {

struct Listener final : CSWalkOperationDelegate, PWalkerDelegate {
    std::vector<VolumeSystemItem*> roots;
    std::atomic<std::uint64_t> files{0};
    int done = 0;
    int expected = 0;
    void onOperationStartBuildTree(VolumeSystemItem* root) override { roots.push_back(root); }
    void onOperationDoneWithSuccess(bool) override {
        if (++done == expected)
            QCoreApplication::quit();
    }
    void onFileItemsScanned(const std::vector<FileSystemItem*>& items) override {
        files.fetch_add(items.size(), std::memory_order_relaxed);
    }
};

std::uint64_t peakMemoryBytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toULongLong() * 1024;
    }
    return 0;
}

struct Census {
    std::uint64_t folders = 0;
    std::uint64_t files = 0;
    std::uint64_t nameBytes = 0;
};

void count(const FolderSystemItem* folder, Census& census) {
    ++census.folders;
    census.nameBytes += std::uint64_t(folder->nameView().size());
    for (FileSystemItem* child : folder->childrenArray()) {
        if (const FolderSystemItem* sub = child->asFolder()) {
            count(sub, census);
        } else {
            ++census.files;
            census.nameBytes += std::uint64_t(child->nameView().size());
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QList<QByteArray> folders;
    bool compareFind = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--find")
            compareFind = true;
        else
            folders.append(arg);
    }
    if (folders.isEmpty()) {
        std::fprintf(stderr, "usage: walk [--find] FOLDER...\n");
        return 2;
    }

    auto listener = std::make_shared<Listener>();
    listener->expected = int(folders.size());
    auto tree = ScanTree::create();
    OperationQueue queue(QStringLiteral("walk bench"));
    queue.setMaxConcurrentOperationCount(1);

    QElapsedTimer timer;
    timer.start();
    for (const QByteArray& folder : folders)
        queue.addOperation(std::make_shared<CSWalkOperation>(listener, listener, folder, tree));
    app.exec();
    std::int64_t logical = 0;
    for (VolumeSystemItem* root : listener->roots) {
        root->calctotalsizeex();
        logical += root->logicalSize();
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;

    Census census;
    for (VolumeSystemItem* root : listener->roots)
        count(root, census);
    const std::uint64_t nodes = census.files + census.folders;

    std::printf("files: %llu\n", static_cast<unsigned long long>(listener->files.load()));
    std::printf("folders: %llu\n", static_cast<unsigned long long>(census.folders));
    std::printf("logical bytes: %lld\n", static_cast<long long>(logical));
    std::printf("seconds: %.3f\n", seconds);
    std::printf("peak memory: %llu\n", static_cast<unsigned long long>(peakMemoryBytes()));
    std::printf("bytes per node: %.1f\n", nodes ? double(tree->bytesInUse()) / double(nodes) : 0.0);
    if (nodes) {
        // The cost of a file node with a 16-byte name: the node, the name and its average
        // share of the children lists (their capacity, growth slack included).
        const double listShare = double(tree->childrenBytes()) / double(nodes);
        std::printf("bytes per file node with a 16-byte name: %.1f\n",
                    double(sizeof(FileSystemItem)) + 16.0 + listShare);
        std::printf("average name bytes: %.1f\n", double(census.nameBytes) / double(nodes));
    }

    if (compareFind) {
        double findSeconds = 0;
        for (const QByteArray& folder : folders) {
            QProcess find;
            find.setStandardOutputFile(QProcess::nullDevice());
            find.setStandardErrorFile(QProcess::nullDevice());
            QElapsedTimer findTimer;
            findTimer.start();
            find.start(QStringLiteral("find"),
                       {QFile::decodeName(folder), QStringLiteral("-xdev"),
                        QStringLiteral("-printf"), QStringLiteral("%s\\n")});
            find.waitForFinished(-1);
            findSeconds += double(findTimer.nsecsElapsed()) / 1e9;
        }
        std::printf("find seconds: %.3f\n", findSeconds);
    }
    return 0;
}

// dupscan: runs a real scan headless on the folders given and prints the duplicate groups.
//
//   dupscan [--folders] FOLDER...
//
// Every file group of every category (the hidden one included) is printed on standard output
// as its full paths, one per line, raw bytes, with a blank line after each group; with
// --folders the folder groups as well. The scan uses a fixed minimal size of 0, takes hidden
// files, and looks for identical folders and similar folders as the application does.
// Counts, wall time per stage and peak memory go to standard error.
#include "FileTree/FileSystemItem.h"
#include "Platform/Dispatch.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Scanner/FoldersScanner.h"
#include "Scanner/FoldersScannerListener.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <map>
#include <memory>

namespace {

class Listener final : public FoldersScannerListener {
public:
    void onScanCompleteWithResult(const std::shared_ptr<DuplicatesContainer>& result) override {
        container = result;
        QCoreApplication::quit();
    }
    std::shared_ptr<DuplicatesContainer> container;
};

const char* stageName(int state) {
    switch (state) {
    case FoldersScannerStateWalking:
        return "walk";
    case FoldersScannerStateFilteringFiles:
        return "compare files";
    case FoldersScannerStateFilteringFolders:
        return "identical folders";
    case FoldersScannerStateValidatingHeaps:
        return "heaps";
    case FoldersScannerStateCheckingSmallItems:
        return "small items";
    default:
        return "other";
    }
}

void writeGroup(const DuplicatesGroup& group, std::FILE* out) {
    for (FileSystemItem* node : group.getFileSystemItems()) {
        const QByteArray path = node->path();
        std::fwrite(path.constData(), 1, size_t(path.size()), out);
        std::fputc('\n', out);
    }
    std::fputc('\n', out);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Velquor");
    QCoreApplication::setApplicationName("Sorvanta");

    bool withFolders = false;
    QList<QByteArray> folders;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--folders")
            withFolders = true;
        else
            folders.append(arg);
    }
    if (folders.isEmpty()) {
        std::fprintf(stderr, "usage: dupscan [--folders] FOLDER...\n");
        return 2;
    }

    auto listener = std::make_shared<Listener>();
    auto scanner = FoldersScanner::create(folders, listener);
    scanner->includeHiddenFiles(true);
    scanner->enableSearchDuplicatesFoldersAndSimilars(true);

    QElapsedTimer clock;
    clock.start();
    std::map<int, qint64> stageStart;
    int lastState = -1;
    QTimer poll;
    poll.setInterval(2);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const int state = scanner->getCurrentState();
        if (state != lastState) {
            stageStart.emplace(state, clock.nsecsElapsed());
            lastState = state;
        }
    });
    poll.start();
    scanner->startScanAndUseMinimalFileSize(0);
    app.exec();
    poll.stop();
    const qint64 total = clock.nsecsElapsed();
    if (!listener->container) {
        std::fprintf(stderr, "dupscan: the scan did not complete\n");
        return 1;
    }

    uint64_t fileGroups = 0, fileCopies = 0, folderGroups = 0;
    std::setvbuf(stdout, nullptr, _IOFBF, 1 << 20);
    for (const auto& category : listener->container->getCategories()) {
        for (const auto& group : category->getGroups()) {
            const auto nodes = group->getFileSystemItems();
            const bool isFolderGroup = !nodes.isEmpty() && nodes.front()->isDir();
            if (isFolderGroup) {
                ++folderGroups;
                if (!withFolders)
                    continue;
            } else {
                ++fileGroups;
                fileCopies += uint64_t(nodes.size());
            }
            writeGroup(*group, stdout);
        }
    }
    std::fflush(stdout);

    std::fprintf(stderr, "files scanned: %llu\n",
                 static_cast<unsigned long long>(scanner->getCountOfScannedFiles()));
    std::fprintf(stderr, "file groups: %llu (%llu copies), folder groups: %llu\n",
                 static_cast<unsigned long long>(fileGroups),
                 static_cast<unsigned long long>(fileCopies),
                 static_cast<unsigned long long>(folderGroups));
    for (auto it = stageStart.begin(); it != stageStart.end(); ++it) {
        if (it->first == FoldersScannerStateComplete)
            continue;
        const auto next = std::next(it);
        const qint64 end = next == stageStart.end() ? total : next->second;
        std::fprintf(stderr, "stage %-18s %8.3f s\n", stageName(it->first),
                     double(end - it->second) / 1e9);
    }
    std::fprintf(stderr, "wall time: %.3f s\n", double(total) / 1e9);
    struct rusage usage;
    ::getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr, "processor time: %.3f s user, %.3f s system\n",
                 double(usage.ru_utime.tv_sec) + double(usage.ru_utime.tv_usec) / 1e6,
                 double(usage.ru_stime.tv_sec) + double(usage.ru_stime.tv_usec) / 1e6);
    std::fprintf(stderr, "peak memory: %ld KiB\n", usage.ru_maxrss);
    return 0;
}

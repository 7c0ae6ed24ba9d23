// dupscan: runs a real scan headless on the folders given and prints the duplicate groups.
//
//   dupscan [--folders] [--heaps] FOLDER...
//
// Every file group of every category (the hidden one included) is printed on standard output
// as its full paths, one per line, raw bytes, with a blank line after each group; with
// --folders the folder groups as well; with --heaps then every folder with similar folders:
// "heaps FOLDER", a line "  PARTNER SIZE GROUPS" per heap (those with a duplicate folder
// marked "dup") and "  copy PATH" per copy of the folder taking part, each block in the heaps'
// own order. The scan uses a fixed minimal size of 0, takes hidden
// files, and looks for identical folders and similar folders as the application does.
// Counts go to standard error, and per stage its wall time, its user and system processor
// time and the peak resident memory while it ran (the kernel's high-water mark, reset as each
// stage begins), the memory resident as it ended, and malloc's figures then: what is
// allocated and not freed ("heap") and what the allocator holds from the system ("held"; the
// difference is free room inside it), then the same for the whole run.
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/Dispatch.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/HeapsFolderData.h"
#include "Results/HeapsGroup.h"
#include "Scanner/FoldersScanner.h"
#include "Scanner/FoldersScannerListener.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

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

void writePath(const QByteArray& path, std::FILE* out) {
    std::fwrite(path.constData(), 1, size_t(path.size()), out);
}

void writeHeap(const DuplicatesHeap& heap, const char* mark, std::FILE* out) {
    std::fputs("  ", out);
    if (const FolderSystemItem* partner = heap.getSecondFolderItem())
        writePath(partner->path(), out);
    std::fprintf(out, " %llu %llu%s\n", static_cast<unsigned long long>(heap.getHeapSize()),
                 static_cast<unsigned long long>(heap.getCountOfGroups()), mark);
}

// Folders in path order, so two runs print alike.
void writeHeaps(DuplicatesHeaps& heaps, std::FILE* out) {
    std::vector<std::pair<QByteArray, std::shared_ptr<HeapsFolderData>>> folders;
    for (const auto& [path, data] : heaps.getAllFoldersData())
        folders.emplace_back(path, data);
    std::sort(folders.begin(), folders.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [path, data] : folders) {
        const std::shared_ptr<HeapsGroup> group = heaps.getHeapsGroupForFolderData(*data);
        if (!group)
            continue;
        std::fputs("heaps ", out);
        writePath(path, out);
        std::fputc('\n', out);
        for (const auto& heap : group->buildAllSubHeapsArray())
            writeHeap(*heap, "", out);
        for (const auto& heap : group->getAllSubHeapsWithDuplicatesFolder())
            writeHeap(*heap, " dup", out);
        for (const auto& copy : group->getItemsInMainFolderThatParticipateInHeaps().items()) {
            std::fputs("  copy ", out);
            if (const FileSystemItem* node = copy->getFileSystemItem())
                writePath(node->path(), out);
            std::fputc('\n', out);
        }
    }
}

struct Sample {
    qint64 wall = 0;      // nanoseconds since the start
    double user = 0;      // seconds
    double system = 0;    // seconds
    long peakKiB = 0;     // resident high-water mark since the last reset
    long residentKiB = 0; // resident now
    double heapMiB = 0;   // allocated by malloc and not freed, now
    double heldMiB = 0;   // what the allocator holds from the system, now
};

double seconds(const timeval& time) {
    return double(time.tv_sec) + double(time.tv_usec) / 1e6;
}

// A "VmHWM:" or "VmRSS:" line of /proc/self/status, in KiB.
long statusKiB(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    char line[256];
    long value = 0;
    const size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, field, length) == 0) {
            value = std::atol(line + length);
            break;
        }
    }
    std::fclose(status);
    return value;
}

Sample sample(qint64 wall) {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    const struct mallinfo2 heap = ::mallinfo2();
    constexpr double kMiB = 1024.0 * 1024.0;
    return {wall,
            seconds(usage.ru_utime),
            seconds(usage.ru_stime),
            statusKiB("VmHWM:"),
            statusKiB("VmRSS:"),
            double(heap.uordblks + heap.hblkhd) / kMiB,
            double(heap.arena + heap.hblkhd) / kMiB};
}

// Lets the high-water mark start again from the memory in use now (Linux 4.0 on).
void resetPeak() {
    if (std::FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", refs);
        std::fclose(refs);
    }
}

double mebibytes(long kib) {
    return double(kib) / 1024.0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Velquor");
    QCoreApplication::setApplicationName("Sorvanta");

    bool withFolders = false;
    bool withHeaps = false;
    QList<QByteArray> folders;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--folders")
            withFolders = true;
        else if (arg == "--heaps")
            withHeaps = true;
        else
            folders.append(arg);
    }
    if (folders.isEmpty()) {
        std::fprintf(stderr, "usage: dupscan [--folders] [--heaps] FOLDER...\n");
        return 2;
    }

    auto listener = std::make_shared<Listener>();
    auto scanner = FoldersScanner::create(folders, listener);
    scanner->includeHiddenFiles(true);
    scanner->enableSearchDuplicatesFoldersAndSimilars(true);

    QElapsedTimer clock;
    clock.start();
    // Stages in the order they ran (the heaps and small-items stages may repeat): the state
    // and the figures as it began; each stage ends where the next begins.
    std::vector<std::pair<int, Sample>> stages;
    const Sample start = sample(0);
    long overallPeakKiB = start.peakKiB;
    int lastState = -1;
    auto changeTo = [&](int state) {
        const Sample now = sample(clock.nsecsElapsed());
        overallPeakKiB = std::max(overallPeakKiB, now.peakKiB);
        stages.emplace_back(state, now);
        resetPeak();
        lastState = state;
    };
    QTimer poll;
    poll.setInterval(2);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const int state = scanner->getCurrentState();
        if (state != lastState)
            changeTo(state);
    });
    poll.start();
    scanner->startScanAndUseMinimalFileSize(0);
    changeTo(scanner->getCurrentState());
    app.exec();
    poll.stop();
    const qint64 total = clock.nsecsElapsed();
    const Sample end = sample(total);
    overallPeakKiB = std::max(overallPeakKiB, end.peakKiB);
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
    if (withHeaps) {
        if (const auto& heaps = listener->container->getHeaps())
            writeHeaps(*heaps, stdout);
    }
    std::fflush(stdout);

    std::fprintf(stderr, "files scanned: %llu\n",
                 static_cast<unsigned long long>(scanner->getCountOfScannedFiles()));
    std::fprintf(stderr, "file groups: %llu (%llu copies), folder groups: %llu\n",
                 static_cast<unsigned long long>(fileGroups),
                 static_cast<unsigned long long>(fileCopies),
                 static_cast<unsigned long long>(folderGroups));
    std::fprintf(stderr, "%-24s %8s %8s %8s %10s %10s %9s %9s\n", "stage", "wall s", "user s",
                 "system s", "peak MiB", "after MiB", "heap MiB", "held MiB");
    for (size_t i = 0; i < stages.size(); ++i) {
        const auto& [state, begin] = stages[i];
        if (state == FoldersScannerStateComplete)
            continue;
        const Sample& finish = i + 1 < stages.size() ? stages[i + 1].second : end;
        std::fprintf(stderr, "stage %-18s %8.3f %8.3f %8.3f %10.1f %10.1f %9.1f %9.1f\n",
                     stageName(state), double(finish.wall - begin.wall) / 1e9,
                     finish.user - begin.user, finish.system - begin.system,
                     mebibytes(finish.peakKiB), mebibytes(finish.residentKiB), finish.heapMiB,
                     finish.heldMiB);
    }
    std::fprintf(stderr, "wall time: %.3f s\n", double(total) / 1e9);
    std::fprintf(stderr, "processor time: %.3f s user, %.3f s system\n", end.user, end.system);
    std::fprintf(stderr, "peak memory: %ld KiB (%.1f MiB; %.1f MiB before the scan)\n",
                 overallPeakKiB, mebibytes(overallPeakKiB), mebibytes(start.residentKiB));
    return 0;
}

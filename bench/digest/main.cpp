// Digest throughput: hashes a list of files whole, four at a time on the separation's
// thread pool, and runs md5sum over the same files in the same run, both with a warm cache.
//
//   digest [--threads N] [--rounds R] [--read-length BYTES] FILE...
//   digest [--threads N] [--rounds R] [--read-length BYTES] --generate COUNT MIB
//
// --generate writes COUNT files of MIB mebibytes each into a new folder under /tmp and
// removes them afterwards. --read-length hashes with that read length instead of the
// separator's own (8192 bytes), to see what the read size costs. The figures are MB/s (10^6 bytes
// per second), best of R rounds.

#include "Platform/OperationQueue.h"
#include "Platform/ThreadPool.h"
#include "Walker/DigestPool.h"
#include "Walker/FileManagerUtils.h"
#include "Walker/MD5Hash.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace {

struct Run {
    double seconds = 0;
    std::vector<QString> digests;
};

std::uint64_t g_readLength = 0; // 0: the separator's own whole-file digest

Run hashOnPool(const std::vector<QByteArray>& files, int concurrent) {
    Run run;
    run.digests.resize(files.size());
    std::mutex mutex;
    QElapsedTimer timer;
    timer.start();
    {
        OperationQueue queue(QStringLiteral("Separating Queue"), DigestPool::shared());
        queue.setMaxConcurrentOperationCount(concurrent);
        for (std::size_t i = 0; i < files.size(); ++i) {
            queue.addOperationWithBlock([&, i] {
                const std::optional<QString> digest = g_readLength
                                                          ? MD5HashOfFile(files[i], g_readLength)
                                                          : FileManagerUtils::hashforFile(files[i]);
                std::lock_guard lock(mutex);
                run.digests[i] = digest.value_or(QStringLiteral("(unreadable)"));
            });
        }
        queue.waitUntilAllOperationsAreFinished();
    }
    run.seconds = timer.nsecsElapsed() / 1e9;
    return run;
}

Run hashWithMd5sum(const std::vector<QByteArray>& files) {
    Run run;
    QStringList arguments;
    for (const QByteArray& file : files)
        arguments << QFile::decodeName(file);
    QProcess md5sum;
    QElapsedTimer timer;
    timer.start();
    md5sum.start(QStringLiteral("md5sum"), arguments);
    if (!md5sum.waitForFinished(-1) || md5sum.exitCode() != 0) {
        std::fprintf(stderr, "md5sum failed\n");
        std::exit(1);
    }
    run.seconds = timer.nsecsElapsed() / 1e9;
    for (const QByteArray& line : md5sum.readAllStandardOutput().split('\n'))
        if (line.size() >= 32)
            run.digests.push_back(QString::fromLatin1(line.left(32)));
    return run;
}

bool writeFile(const QByteArray& path, qint64 size, unsigned seed) {
    FILE* out = std::fopen(path.constData(), "wb");
    if (!out)
        return false;
    std::vector<unsigned> chunk(1 << 18);
    unsigned x = seed * 2654435761u + 1;
    for (qint64 written = 0; written < size;) {
        for (unsigned& word : chunk)
            word = x = x * 1664525u + 1013904223u;
        const qint64 bytes = std::min<qint64>(size - written, qint64(chunk.size() * 4));
        if (std::fwrite(chunk.data(), 1, size_t(bytes), out) != size_t(bytes)) {
            std::fclose(out);
            return false;
        }
        written += bytes;
    }
    return std::fclose(out) == 0;
}

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: digest [--threads N] [--rounds R] [--read-length BYTES] "
                         "(FILE... | --generate COUNT MIB)\n");
    std::exit(2);
}

} // namespace

int main(int argc, char** argv) {
    int concurrent = DigestPool::kDigestsPerSeparation;
    int rounds = 3;
    int generateCount = 0;
    qint64 generateMiB = 0;
    std::vector<QByteArray> files;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        if (arg == "--threads" && i + 1 < argc)
            concurrent = std::atoi(argv[++i]);
        else if (arg == "--read-length" && i + 1 < argc)
            g_readLength = std::strtoull(argv[++i], nullptr, 10);
        else if (arg == "--rounds" && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--generate" && i + 2 < argc) {
            generateCount = std::atoi(argv[++i]);
            generateMiB = std::atoll(argv[++i]);
        } else if (arg.startsWith("--"))
            usage();
        else
            files.push_back(arg);
    }

    QTemporaryDir generated(QStringLiteral("/tmp/sorvanta-digest-bench-XXXXXX"));
    if (generateCount > 0) {
        std::printf("writing %d files of %lld MiB under %s\n", generateCount, generateMiB,
                    qPrintable(generated.path()));
        for (int i = 0; i < generateCount; ++i) {
            const QByteArray path =
                QFile::encodeName(generated.path()) + "/file" + QByteArray::number(i);
            if (!writeFile(path, generateMiB << 20, unsigned(i + 1))) {
                std::fprintf(stderr, "cannot write %s\n", path.constData());
                return 1;
            }
            files.push_back(path);
        }
    }
    if (files.empty())
        usage();

    qint64 totalBytes = 0;
    for (const QByteArray& file : files) {
        struct stat st {};
        if (::stat(file.constData(), &st) == 0)
            totalBytes += st.st_size;
    }
    std::printf("%zu files, %.1f MB; digest pool of %d threads, %d digests at once\n", files.size(),
                totalBytes / 1e6, DigestPool::shared()->maxThreadCount(), concurrent);

    // Warm the cache and check both sides agree before anything is timed.
    const Run reference = hashWithMd5sum(files);
    const Run ours = hashOnPool(files, concurrent);
    if (ours.digests != reference.digests) {
        std::fprintf(stderr, "digests differ from md5sum\n");
        return 1;
    }

    double bestMd5sum = 1e300, bestPool = 1e300, bestSingle = 1e300;
    for (int r = 0; r < rounds; ++r) {
        bestMd5sum = std::min(bestMd5sum, hashWithMd5sum(files).seconds);
        bestPool = std::min(bestPool, hashOnPool(files, concurrent).seconds);
        bestSingle = std::min(bestSingle, hashOnPool(files, 1).seconds);
    }
    const double mb = totalBytes / 1e6;
    std::printf("md5sum                 %8.1f MB/s\n", mb / bestMd5sum);
    std::printf("digest, 1 at once      %8.1f MB/s\n", mb / bestSingle);
    std::printf("digest, %d at once      %8.1f MB/s  (%.2fx md5sum)\n", concurrent, mb / bestPool,
                bestMd5sum / bestPool);
    return 0;
}

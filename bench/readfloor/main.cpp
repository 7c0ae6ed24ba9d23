// Developer tool: the least the kernel can take to read a tree's files, to set the compare
// stage's processor time against. It lists the regular files under DIR (one fstatat each, as
// the walk does), then, on 1, 4 and 8 threads taking runs of 256 files, opens each relative
// to its open folder, reads it into a reused buffer up to one byte past its size (64 KiB at
// most) and closes it: the one openat, one read and one close the compare stage makes per
// file. Prints the system time of each pass in all and per file.
//   readfloor DIR
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

struct File {
    int folderFd;
    std::string name;
    off_t size;
};

void list(const std::string& path, std::vector<int>& folders, std::vector<File>& files) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    folders.push_back(fd);
    DIR* dir = ::fdopendir(::dup(fd));
    if (!dir)
        return;
    std::vector<std::string> below;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        struct stat st {};
        if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(st.st_mode))
            below.push_back(path + '/' + entry->d_name);
        else if (S_ISREG(st.st_mode))
            files.push_back({fd, entry->d_name, st.st_size});
    }
    ::closedir(dir);
    for (const std::string& folder : below)
        list(folder, folders, files);
}

double systemSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_stime.tv_sec) + double(usage.ru_stime.tv_usec) / 1e6;
}

void readAll(const std::vector<File>& files, int threads) {
    constexpr std::size_t kRun = 256;
    constexpr std::size_t kMost = 64 * 1024;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        std::vector<char> buffer(kMost);
        for (std::size_t begin = next.fetch_add(kRun); begin < files.size();
             begin = next.fetch_add(kRun)) {
            for (std::size_t i = begin; i < std::min(files.size(), begin + kRun); ++i) {
                const int fd = ::openat(files[i].folderFd, files[i].name.c_str(),
                                        O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
                if (fd < 0)
                    continue;
                const std::size_t length =
                    std::min<std::size_t>(std::size_t(files[i].size) + 1, kMost);
                if (::pread(fd, buffer.data(), length, 0) < 0)
                    std::perror("pread");
                ::close(fd);
            }
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back(work);
    for (std::thread& thread : pool)
        thread.join();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: readfloor DIR\n");
        return 2;
    }
    // Every folder stays open for its files: tens of thousands of descriptors.
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
    std::vector<int> folders;
    std::vector<File> files;
    list(argv[1], folders, files);
    std::printf("files: %zu in %zu folders\n", files.size(), folders.size());
    if (files.empty())
        return 1;
    readAll(files, 4); // warms the cache
    for (const int threads : {1, 4, 8}) {
        const double before = systemSeconds();
        readAll(files, threads);
        const double spent = systemSeconds() - before;
        std::printf("read floor, %d threads: %.3f s system, %.2f us per file\n", threads, spent,
                    spent * 1e6 / double(files.size()));
    }
    for (const int fd : folders)
        ::close(fd);
    return 0;
}

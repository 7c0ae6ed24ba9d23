#include "ContentHasher.h"

#include "FileManagerUtils.h"

#include <mutex>

namespace {

class FileSystemHasher final : public ContentHasher {
public:
    std::optional<QString> hashforFile(const QByteArray& path) override {
        return FileManagerUtils::hashforFile(path);
    }
    std::optional<QString> hashforFilePartly(const QByteArray& path, std::uint64_t size,
                                             std::uint64_t blockLength,
                                             std::uint64_t threshold) override {
        return FileManagerUtils::hashforFilePartlyWithSizeHashPartBlockLengthForFilesGreatherThan(
            path, size, blockLength, threshold);
    }
};

std::mutex g_standardMutex;
std::shared_ptr<ContentHasher> g_replacement;

} // namespace

std::shared_ptr<ContentHasher> ContentHasher::standard() {
    static const std::shared_ptr<ContentHasher> fileSystem = std::make_shared<FileSystemHasher>();
    const std::lock_guard lock(g_standardMutex);
    return g_replacement ? g_replacement : fileSystem;
}

void ContentHasher::setStandard(std::shared_ptr<ContentHasher> hasher) {
    const std::lock_guard lock(g_standardMutex);
    g_replacement = std::move(hasher);
}

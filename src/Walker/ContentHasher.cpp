#include "ContentHasher.h"

#include "FileManagerUtils.h"
#include "FileTree/FileSystemItem.h"
#include "Platform/ReadOnlyFile.h"
#include "Walker/FirstLook.h"
#include "Walker/MD5Hash.h"

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
    std::optional<QString> hashforFileIn(const FileInFolder& file) override {
        return FileManagerUtils::hashforFile(ReadOnlyFile(file.folderFd, file.name));
    }
    std::optional<QString> hashforFilePartlyIn(const FileInFolder& file, std::uint64_t size,
                                               std::uint64_t blockLength,
                                               std::uint64_t threshold) override {
        return FileManagerUtils::hashforFilePartlyWithSizeHashPartBlockLengthForFilesGreatherThan(
            ReadOnlyFile(file.folderFd, file.name), size, blockLength, threshold);
    }
    bool hasFirstLook() const override { return true; }
    std::optional<std::uint64_t> firstLookIn(const FileInFolder& file, std::uint64_t size,
                                             std::uint64_t blockLength,
                                             std::uint64_t threshold) override {
        return firstLookOfFile(file.folderFd, file.name, size, blockLength, threshold);
    }
    std::optional<std::uint64_t> firstLook(const QByteArray& path, std::uint64_t size,
                                           std::uint64_t blockLength,
                                           std::uint64_t threshold) override {
        return firstLookOfFile(path, size, blockLength, threshold);
    }
};

std::mutex g_standardMutex;
std::shared_ptr<ContentHasher> g_replacement;

} // namespace

std::optional<QString> ContentHasher::hashforFileIn(const FileInFolder& file) {
    return hashforFile(file.item->path());
}

std::optional<QString> ContentHasher::hashforFilePartlyIn(const FileInFolder& file,
                                                          std::uint64_t size,
                                                          std::uint64_t blockLength,
                                                          std::uint64_t threshold) {
    return hashforFilePartly(file.item->path(), size, blockLength, threshold);
}

std::optional<std::uint64_t> ContentHasher::firstLookIn(const FileInFolder&, std::uint64_t,
                                                        std::uint64_t, std::uint64_t) {
    return std::nullopt;
}

std::optional<std::uint64_t> ContentHasher::firstLook(const QByteArray&, std::uint64_t,
                                                      std::uint64_t, std::uint64_t) {
    return std::nullopt;
}

std::shared_ptr<ContentHasher> ContentHasher::standard() {
    static const std::shared_ptr<ContentHasher> fileSystem = std::make_shared<FileSystemHasher>();
    const std::lock_guard lock(g_standardMutex);
    return g_replacement ? g_replacement : fileSystem;
}

void ContentHasher::setStandard(std::shared_ptr<ContentHasher> hasher) {
    const std::lock_guard lock(g_standardMutex);
    g_replacement = std::move(hasher);
}

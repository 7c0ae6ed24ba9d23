#include "ContentHasher.h"

#include "FileManagerUtils.h"

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

} // namespace

std::shared_ptr<ContentHasher> ContentHasher::standard() {
    static const std::shared_ptr<ContentHasher> hasher = std::make_shared<FileSystemHasher>();
    return hasher;
}

#include "MD5Hash.h"

#include "Platform/ReadOnlyFile.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

constexpr std::uint64_t kDefaultReadLength = 8192;
constexpr std::uint64_t kPageSize = 4096;
// Files from this size on have their later pieces start on page boundaries.
constexpr std::uint64_t kPageAlignFrom = 3 * kPageSize + 1;
// Read lengths up to this size use a buffer on the stack; larger ones one heap buffer per
// call. Either way nothing is allocated per read.
constexpr std::size_t kStackBuffer = 64 * 1024;

const EVP_MD* md5() {
    // Fetched once: an implicit fetch on every digest start takes a lock in the provider
    // store, which four hashing threads would otherwise contend on for small files.
    static const EVP_MD* const fetched = [] {
        // The library's own exit-time clean-up would free its locks while a digest thread
        // may still be inside it as the process ends; nothing needs freeing at exit. This
        // must be the library's first initialisation, so it comes before the fetch.
        OPENSSL_init_crypto(OPENSSL_INIT_NO_ATEXIT, nullptr);
        const EVP_MD* md = EVP_MD_fetch(nullptr, "MD5", nullptr);
        return md ? md : EVP_md5();
    }();
    return fetched;
}

struct ContextDeleter {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using Context = std::unique_ptr<EVP_MD_CTX, ContextDeleter>;

Context startDigest() {
    Context context(EVP_MD_CTX_new());
    if (context && EVP_DigestInit_ex(context.get(), md5(), nullptr) != 1)
        context.reset();
    return context;
}

std::optional<QString> finishDigest(EVP_MD_CTX* context) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context, digest, &length) != 1 || length != 16)
        return std::nullopt;
    static constexpr char kHex[] = "0123456789abcdef";
    char text[32];
    for (unsigned int i = 0; i < 16; ++i) {
        text[2 * i] = kHex[digest[i] >> 4];
        text[2 * i + 1] = kHex[digest[i] & 0x0f];
    }
    return QString::fromLatin1(text, 32);
}

// A read buffer of `length` bytes: on the stack when small enough.
class ReadBuffer {
public:
    explicit ReadBuffer(std::size_t length) : m_length(length) {
        if (length > kStackBuffer)
            m_heap.resize(length);
    }
    char* data() { return m_heap.empty() ? m_stack.data() : m_heap.data(); }
    std::size_t length() const { return m_length; }

private:
    std::size_t m_length;
    std::array<char, kStackBuffer> m_stack;
    std::vector<char> m_heap;
};

std::optional<QString> hashWholeFile(const ReadOnlyFile& file, std::uint64_t readLength) {
    Context context = startDigest();
    if (!context)
        return std::nullopt;
    // The bytes go into the digest in file order whatever the read length, so reads of at
    // least the stack buffer's length give the same digest with fewer calls: a small file is
    // taken in one read.
    ReadBuffer buffer(std::max<std::uint64_t>(readLength, kStackBuffer));
    const std::int64_t sizeWhenOpened = file.size();
    // Read-ahead advice only pays when more than one read is needed.
    if (sizeWhenOpened > static_cast<std::int64_t>(buffer.length()))
        file.adviseSequential();
    std::int64_t offset = 0;
    for (;;) {
        const std::int64_t n = file.readAt(buffer.data(), buffer.length(), offset);
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            return finishDigest(context.get());
        if (EVP_DigestUpdate(context.get(), buffer.data(), static_cast<std::size_t>(n)) != 1)
            return std::nullopt;
        offset += n;
        // A read shorter than asked that reaches the size the file had when it was opened is
        // its end: no further read is needed to learn that. A shorter read before that size
        // (a file system that hands out less, a file that shrank) reads on.
        if (n < static_cast<std::int64_t>(buffer.length()) && offset >= sizeWhenOpened)
            return finishDigest(context.get());
    }
}

} // namespace

void MD5HashInitialize() {
    md5();
}

std::optional<QString> MD5HashOfFile(const QByteArray& path, std::uint64_t readLength) {
    return MD5HashOfFile(ReadOnlyFile(path), readLength);
}

std::optional<QString> MD5HashOfFile(const ReadOnlyFile& file, std::uint64_t readLength) {
    if (readLength == 0)
        readLength = kDefaultReadLength;
    if (!file.isOpen())
        return std::nullopt;
    return hashWholeFile(file, readLength);
}

std::optional<QString> MD5HashOfFilePartly(const QByteArray& path, std::uint64_t readLength,
                                           std::uint64_t fileSize, std::uint64_t threshold,
                                           std::uint64_t blockLength) {
    return MD5HashOfFilePartly(ReadOnlyFile(path), readLength, fileSize, threshold, blockLength);
}

std::optional<QString> MD5HashOfFilePartly(const ReadOnlyFile& file, std::uint64_t readLength,
                                           std::uint64_t fileSize, std::uint64_t threshold,
                                           std::uint64_t blockLength) {
    if (readLength == 0)
        readLength = kDefaultReadLength;
    if (blockLength > 0)
        readLength = std::min(readLength, blockLength);

    // A block of 0 would make three empty pieces and so one digest for every file: such a
    // file is hashed whole instead. "Three blocks exceed the size" is written as a division
    // so that a huge block cannot overflow.
    if (blockLength == 0 || fileSize == 0 || fileSize < threshold || blockLength > fileSize / 3)
        return MD5HashOfFile(file, readLength);

    std::uint64_t endOffset = fileSize - blockLength;
    std::uint64_t middleOffset = (fileSize - blockLength) / 2;
    if (fileSize >= kPageAlignFrom) {
        endOffset -= endOffset % kPageSize;
        middleOffset -= middleOffset % kPageSize;
    }
    const std::uint64_t offsets[3] = {0, endOffset, middleOffset};

    if (!file.isOpen())
        return std::nullopt;
    Context context = startDigest();
    if (!context)
        return std::nullopt;
    ReadBuffer buffer(readLength);
    // Only the three pieces are wanted: no read-ahead beyond them, and all three asked for
    // at once so the device can fetch them together.
    file.adviseRandom();
    for (const std::uint64_t offset : offsets)
        file.adviseWillNeed(static_cast<std::int64_t>(offset),
                            static_cast<std::int64_t>(blockLength));

    for (const std::uint64_t offset : offsets) {
        std::uint64_t taken = 0;
        // Every read asks for the whole read length, as the pieces are defined; with the
        // usual block that is a multiple of the read length each piece is exactly one block.
        while (taken < blockLength) {
            const std::int64_t n = file.readAt(buffer.data(), buffer.length(),
                                               static_cast<std::int64_t>(offset + taken));
            if (n < 0)
                return std::nullopt;
            if (n == 0)
                break;
            if (EVP_DigestUpdate(context.get(), buffer.data(), static_cast<std::size_t>(n)) != 1)
                return std::nullopt;
            taken += static_cast<std::uint64_t>(n);
        }
    }
    return finishDigest(context.get());
}

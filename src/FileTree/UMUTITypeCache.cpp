#include "UMUTITypeCache.h"

#include <mutex>

UMUTITypeCache& UMUTITypeCache::cache() {
    static UMUTITypeCache shared;
    return shared;
}

void UMUTITypeCache::setUTITypeForExtension(int type, const QString& extension) {
    const std::unique_lock lock(m_mutex);
    m_types.insert(extension, type);
}

int UMUTITypeCache::fileTypeIdentifierWithExtension(const QString& extension) const {
    const std::shared_lock lock(m_mutex);
    return m_types.value(extension, -1);
}

bool UMUTITypeCache::containsExtension(const QString& extension) const {
    const std::shared_lock lock(m_mutex);
    return m_types.contains(extension);
}

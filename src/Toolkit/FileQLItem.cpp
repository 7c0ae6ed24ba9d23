#include "Toolkit/FileQLItem.h"

#include "Platform/FileManager.h"

FileQLItem::FileQLItem(const QByteArray& path)
    : m_fileURL(QUrl::fromLocalFile(QFile::decodeName(path))), m_filePath(path) {}

QString FileQLItem::previewItemTitle() const {
    return FileManager::displayNameAtPath(m_filePath);
}

#pragma once

#include "Toolkit/PreviewItem.h"

// One file for the preview panel: its path (exact bytes) and its file URL.
class FileQLItem final : public PreviewItem {
public:
    explicit FileQLItem(const QByteArray& path);

    const QUrl& mfileURL() const { return m_fileURL; }
    const QByteArray& mfilePath() const { return m_filePath; }

    QUrl previewItemURL() const override { return m_fileURL; }
    // The last component of the path, decoded for display.
    QString previewItemTitle() const override;
    QByteArray previewItemPath() const override { return m_filePath; }

private:
    QUrl m_fileURL;
    QByteArray m_filePath;
};

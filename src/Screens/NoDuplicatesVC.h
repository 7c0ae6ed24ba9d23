#pragma once

#include <QStringList>
#include <QWidget>

// The view the scan screen lays over itself when a scan found no duplicate: which folders
// were scanned and how many files were met, with a new-scan and a rescan button.
//
// The scan screen makes it, frames it to its own bounds, adds it on top and then calls
// showViewAnimatiedWithFoldersArrayAndScannedFiles() with the finished scan's figures.
//
// For now this is an empty view with that interface; the view itself fills it in.
class NoDuplicatesVC : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NoDuplicatesVC)

public:
    static constexpr const char* kInterfaceName = "NoDuplicatesVC_DARK";

    explicit NoDuplicatesVC(QWidget* parent = nullptr);

    void showViewAnimatiedWithFoldersArrayAndScannedFiles(const QStringList& folders,
                                                          quint64 filesCount);
    QStringList foldersArray() const { return m_foldersArray; }
    quint64 filesCount() const { return m_filesCount; }

private:
    QStringList m_foldersArray;
    quint64 m_filesCount = 0;
};

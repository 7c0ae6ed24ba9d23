#include "NoDuplicatesVC.h"

NoDuplicatesVC::NoDuplicatesVC(QWidget* parent) : QWidget(parent) {
    setObjectName(QLatin1String(kInterfaceName));
}

void NoDuplicatesVC::showViewAnimatiedWithFoldersArrayAndScannedFiles(const QStringList& folders,
                                                                      quint64 filesCount) {
    m_foldersArray = folders;
    m_filesCount = filesCount;
    show();
}

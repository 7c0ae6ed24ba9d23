#include "InterimScreenVC.h"

InterimScreenVC::InterimScreenVC(QWidget* parent) : QWidget(parent) {
    setObjectName(QLatin1String(kInterfaceName));
}

void InterimScreenVC::loadFolderFromArray(const QStringList& paths) {
    m_paths = paths;
}

#include "Browser/Common/QueuedRefresh.h"

#include <QMetaObject>
#include <QObject>

void QueuedRefresh::request(bool dataChanged) {
    m_dataChanged = m_dataChanged || dataChanged;
    if (m_pending)
        return;
    m_pending = true;
    QMetaObject::invokeMethod(
        m_owner,
        [this] {
            const bool changed = m_dataChanged;
            m_pending = false;
            m_dataChanged = false;
            m_handler(changed);
        },
        Qt::QueuedConnection);
}

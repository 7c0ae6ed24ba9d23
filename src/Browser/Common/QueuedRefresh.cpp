#include "Browser/Common/QueuedRefresh.h"

#include "Categories/AppNotification.h"
#include "Platform/NotificationCenter.h"

#include <QMetaObject>
#include <QObject>

void QueuedRefresh::observeResultChanges(std::function<bool()> detached,
                                         std::function<void()> heard) {
    auto& center = NotificationCenter::defaultCenter();
    const auto answer = [this, detached = std::move(detached),
                         heard = std::move(heard)](bool dataChanged) {
        if (heard)
            heard();
        if (!detached || !detached())
            request(dataChanged);
    };
    center.addObserver(m_owner, AppNotification::DuplicateItemSelectionChangedNotificationName(),
                       [answer](const Notification&) { answer(false); });
    center.addObserver(m_owner, AppNotification::DuplicatesContainerDataChangedNotificationName(),
                       [answer](const Notification&) { answer(true); });
}

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

#pragma once

#include <QtGlobal>

#include <functional>

class QObject;

// Answers every change that arrives in one turn of the event loop once. The first request
// of a turn queues one call of the handler on the next turn; later ones only add whether
// the result itself changed (a content change outweighs a selection change). The handler
// hears the sum, and a request it makes starts the next turn's answer. Nothing is called
// once |owner| is gone. Main thread only.
class QueuedRefresh final {
    Q_DISABLE_COPY_MOVE(QueuedRefresh)

public:
    QueuedRefresh(QObject* owner, std::function<void(bool dataChanged)> handler)
        : m_owner(owner), m_handler(std::move(handler)) {}

    void request(bool dataChanged = false);
    // Requests on every "DuplicateItemSelectionChangedNotification" and, as a content
    // change, every "DuplicatesContainerDataChangedNotification", until the owner goes;
    // none while |detached| (when given) says true. |heard| (when given) runs first on
    // every one of them, detached or not: what a cache of the owner must forget.
    void observeResultChanges(std::function<bool()> detached = {},
                              std::function<void()> heard = {});
    bool pending() const { return m_pending; }

private:
    QObject* m_owner;
    std::function<void(bool dataChanged)> m_handler;
    bool m_pending = false;
    bool m_dataChanged = false;
};

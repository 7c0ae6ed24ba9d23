#include "Browser/Common/ResultsObservers.h"

#include "Browser/Common/FileWorkspace.h"
#include "Categories/AppNotification.h"
#include "FileTree/FileSystemItem.h"
#include "Platform/NotificationCenter.h"
#include "Toolkit/QuickLookController.h"

#include <QGuiApplication>

namespace ResultsObservers {

void observeFileCommands(QObject* owner, std::function<void()> reveal,
                         std::function<void()> getInfo, std::function<void()> open) {
    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(owner, AppNotification::RevealInFinderNotificationName(),
                       [reveal = std::move(reveal)](const Notification&) { reveal(); });
    center.addObserver(owner, AppNotification::GetInfoNotificationName(),
                       [getInfo = std::move(getInfo)](const Notification&) { getInfo(); });
    center.addObserver(owner, AppNotification::OpenFileNotificationName(),
                       [open = std::move(open)](const Notification&) { open(); });
}

void observeTable(QObject* owner, ResultsTableObserver* table) {
    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(owner, AppNotification::DuplicateItemSelectionChangedNotificationName(),
                       [table](const Notification&) { table->selectionChanged(); });
    center.addObserver(owner, AppNotification::KeyPressedNotificationName(),
                       [table](const Notification& note) { table->keyPressed(note); });
    center.addObserver(owner, AppNotification::ArrowNavigationNotificationName(),
                       [table](const Notification& note) { table->arrowNavigation(note); });
    // The workspace's commands on the table's file, when it has one for them.
    const auto onFile = [table](void (*command)(const FileWorkspace&, const QByteArray&)) {
        return [table, command] {
            if (const FileSystemItem* file = table->mainMenuFile())
                command(table->workspace(), file->path());
        };
    };
    observeFileCommands(
        owner, onFile([](const FileWorkspace& w, const QByteArray& path) { w.reveal(path); }),
        onFile([](const FileWorkspace& w, const QByteArray& path) { w.properties(path); }),
        onFile([](const FileWorkspace& w, const QByteArray& path) { w.open(path); }));
    center.addObserver(owner, QuickLookController::quickLookKeyPressedNotificationName(),
                       [table](const Notification& note) { table->quickLookKeyPressed(note); });
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, owner,
                     [table](Qt::ApplicationState state) {
                         if (state == Qt::ApplicationActive)
                             table->applicationWillBecomeActive();
                     });
}

} // namespace ResultsObservers

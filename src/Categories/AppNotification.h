#pragma once

#include "Platform/KeyEvent.h"
#include "Platform/NotificationCenter.h"

#include <QString>

#include <optional>

// The screen whose background the main window shows (carried under "Type").
enum BackgroundType : int {
    BackgroundTypeWelcome = 0, // welcome and interim screens
    BackgroundTypeScan = 1,
    BackgroundTypeResultsOverview = 2,
    BackgroundTypeResultsCategory = 3,
    BackgroundTypeResultsSimilars = 4,
};

// The list that takes the keyboard focus on arrow navigation (carried under "Type").
enum ArrowNavigationTarget : int {
    ArrowNavigationTargetFolderPicker = 0,
    ArrowNavigationTargetHeapsPicker = 1,
    ArrowNavigationTargetFolderComparison = 2,
    ArrowNavigationTargetGroupList = 3,
    ArrowNavigationTargetCopiesTable = 4,
};

// The application's in-process notifications on the default notification centre. Observers
// register under the text of a name method; posters use the Create methods, which post at
// once on the calling thread (arrow navigation excepted) with no user info or with one entry
// ("Type" an int, "Event" a KeyEvent).
class AppNotification final {
public:
    AppNotification() = delete;

    static QString DuplicateItemSelectionChangedNotificationName();
    static void CreateDuplicateItemSelectionChangedNotification();

    static QString BackgroundTypeChangedNotificationName();
    static void CreateBackgroundTypeChangedNotificationWithType(int type);
    // The "Type" of a background-type notification; 4 for another notification or one
    // without user info.
    static int GetBackgroundTypeFromNotification(const Notification& notification);

    static QString SortingTypeChangedNotificationName();
    static void CreateSortingTypeChangedNotification();

    static QString DuplicatesContainerDataChangedNotificationName();
    static void CreateDuplicatesContainerDataChangedNotification();

    static QString KeyPressedNotificationName();
    static void CreateKeyPressedNotificationWithEvent(const KeyEvent& event);
    // The key code of a key-press notification's "Event"; 0 for another notification, one
    // without user info or one without an event.
    static quint16 GetKeyCodeFromNotification(const Notification& notification);
    // The "Event" under the same test; nothing otherwise.
    static std::optional<KeyEvent> GetEventFromNotification(const Notification& notification);

    static QString AddFolderNotificationName();
    static void CreateAddFolderNotification();

    static QString StartScanNotificationName();
    static void CreateStartScanNotification();

    static QString ArrowNavigationNotificationName();
    // Returns at once; the notification is posted on the main queue 10 ms later, so the
    // poster's handling of the current key has finished before any observer runs. Needs a
    // running event loop.
    static void CreateArrowNavigationNotificationWithType(int type);
    // The "Type" of an arrow-navigation notification; 0 otherwise.
    static int GetArrowNavigationTypeFromNotification(const Notification& notification);

    static QString FindInActiveViewNotificationName();
    static void CreateFindInActiveViewNotification();

    static QString RevealInFinderNotificationName();
    static void CreateRevealInFinderNotification();

    static QString GetInfoNotificationName();
    static void CreateGetInfoNotification();

    static QString OpenFileNotificationName();
    static void CreateOpenFileNotification();

    static QString RateApplicationNotificationName();
    static void CreateRateApplicationNotification();

    static QString ShowCleanUpToolsNotificationName();
    static void CreateShowCleanUpToolsNotification();

    static QString RemoveToTrashSettingChangedNotificationName();
    static void CreateRemoveToTrashSettingChangedNotification();
};

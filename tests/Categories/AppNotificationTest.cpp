#include "Categories/AppNotification.h"
#include "Platform/Dispatch.h"

#include "TestSupport.h"

#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

struct Entry {
    QString (*name)();
    void (*create)();
    const char* text;
};

const Entry kPlain[] = {
    {&AppNotification::DuplicateItemSelectionChangedNotificationName,
     &AppNotification::CreateDuplicateItemSelectionChangedNotification,
     "DuplicateItemSelectionChangedNotification"},
    {&AppNotification::SortingTypeChangedNotificationName,
     &AppNotification::CreateSortingTypeChangedNotification, "SortingTypeChangedNotification"},
    {&AppNotification::DuplicatesContainerDataChangedNotificationName,
     &AppNotification::CreateDuplicatesContainerDataChangedNotification,
     "DuplicatesContainerDataChangedNotification"},
    {&AppNotification::AddFolderNotificationName, &AppNotification::CreateAddFolderNotification,
     "AddFolderNotification"},
    {&AppNotification::StartScanNotificationName, &AppNotification::CreateStartScanNotification,
     "StartScanNotification"},
    {&AppNotification::FindInActiveViewNotificationName,
     &AppNotification::CreateFindInActiveViewNotification, "FindInActiveViewNotification"},
    {&AppNotification::RevealInFinderNotificationName,
     &AppNotification::CreateRevealInFinderNotification, "RevealInFinderNotification"},
    {&AppNotification::GetInfoNotificationName, &AppNotification::CreateGetInfoNotification,
     "GetInfoNotification"},
    {&AppNotification::OpenFileNotificationName, &AppNotification::CreateOpenFileNotification,
     "OpenFileNotification"},
    {&AppNotification::RateApplicationNotificationName,
     &AppNotification::CreateRateApplicationNotification, "RateApplicationNotification"},
    {&AppNotification::ShowCleanUpToolsNotificationName,
     &AppNotification::CreateShowCleanUpToolsNotification, "ShowCleanUpToolsNotification"},
    {&AppNotification::RemoveToTrashSettingChangedNotificationName,
     &AppNotification::CreateRemoveToTrashSettingChangedNotification,
     "RemoveToTrashSettingChangedNotification"},
};

// Records every notification of the given names, with the thread it arrived on.
class Recorder {
public:
    explicit Recorder(const QStringList& names) {
        for (const QString& name : names)
            NotificationCenter::defaultCenter().addObserver(
                this, name, [this](const Notification& n) {
                    std::lock_guard lock(m_mutex);
                    m_received.push_back(n);
                    m_onMainThread.push_back(Dispatch::isMainThread());
                });
    }
    ~Recorder() { NotificationCenter::defaultCenter().removeObserver(this); }
    std::vector<Notification> received() const {
        std::lock_guard lock(m_mutex);
        return m_received;
    }
    std::vector<bool> onMainThread() const {
        std::lock_guard lock(m_mutex);
        return m_onMainThread;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<Notification> m_received;
    std::vector<bool> m_onMainThread;
};

} // namespace

TEST(AppNotification, PlainNotificationsPostTheirNameAtOnceWithoutUserInfo) {
    for (const Entry& entry : kPlain) {
        SCOPED_TRACE(entry.text);
        EXPECT_EQ(entry.name(), QString::fromLatin1(entry.text));
        EXPECT_EQ(entry.name(), entry.name());
        Recorder recorder({entry.name()});
        entry.create();
        const auto received = recorder.received();
        ASSERT_EQ(received.size(), 1u);
        EXPECT_EQ(received[0].name, QString::fromLatin1(entry.text));
        EXPECT_FALSE(received[0].hasUserInfo);
    }
    EXPECT_EQ(AppNotification::BackgroundTypeChangedNotificationName(),
              "BackgroundTypeChangedNotification");
    EXPECT_EQ(AppNotification::KeyPressedNotificationName(), "KeyPressedNotification");
    EXPECT_EQ(AppNotification::ArrowNavigationNotificationName(), "ArrowNavigationNotification");
}

TEST(AppNotification, BackgroundTypeTravelsAndDecodesWithItsDefaults) {
    Recorder recorder({AppNotification::BackgroundTypeChangedNotificationName()});
    AppNotification::CreateBackgroundTypeChangedNotificationWithType(BackgroundTypeResultsOverview);
    const auto received = recorder.received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_TRUE(received[0].hasUserInfo);
    EXPECT_EQ(AppNotification::GetBackgroundTypeFromNotification(received[0]), 2);
    EXPECT_EQ(AppNotification::GetBackgroundTypeFromNotification(
                  {"BackgroundTypeChangedNotification", {{"Type", 1}}, true}),
              1);

    const QString name = AppNotification::BackgroundTypeChangedNotificationName();
    // Another name, or no user info: 4. User info without the entry: 0.
    EXPECT_EQ(AppNotification::GetBackgroundTypeFromNotification(
                  {"SortingTypeChangedNotification", {{"Type", 1}}, true}),
              4);
    EXPECT_EQ(AppNotification::GetBackgroundTypeFromNotification({name, {}, false}), 4);
    EXPECT_EQ(AppNotification::GetBackgroundTypeFromNotification({name, {}, true}), 0);
}

TEST(AppNotification, KeyPressCarriesACopyOfTheEvent) {
    Recorder recorder({AppNotification::KeyPressedNotificationName()});
    {
        const KeyEvent event{125, KeyEvent::CommandKeyMask | KeyEvent::ShiftKeyMask};
        AppNotification::CreateKeyPressedNotificationWithEvent(event);
    }
    const auto received = recorder.received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(AppNotification::GetKeyCodeFromNotification(received[0]), 125);
    const std::optional<KeyEvent> event = AppNotification::GetEventFromNotification(received[0]);
    ASSERT_TRUE(event.has_value());
    EXPECT_EQ(*event, (KeyEvent{125, KeyEvent::CommandKeyMask | KeyEvent::ShiftKeyMask}));

    const QString name = AppNotification::KeyPressedNotificationName();
    const Notification missing[] = {
        {name, {}, false},
        {name, {}, true},
        {name, {{"Event", 36}}, true},
        {"ArrowNavigationNotification", {{"Event", QVariant::fromValue(KeyEvent{36, 0})}}, true},
    };
    for (const Notification& n : missing) {
        EXPECT_EQ(AppNotification::GetKeyCodeFromNotification(n), 0);
        EXPECT_FALSE(AppNotification::GetEventFromNotification(n).has_value());
    }
}

TEST(AppNotification, ArrowNavigationArrivesLaterOnTheMainThreadInOrder) {
    Recorder recorder({AppNotification::ArrowNavigationNotificationName()});
    AppNotification::CreateArrowNavigationNotificationWithType(ArrowNavigationTargetGroupList);
    AppNotification::CreateArrowNavigationNotificationWithType(ArrowNavigationTargetCopiesTable);
    // Posted from a worker thread, it still arrives on the main thread.
    std::thread([] {
        AppNotification::CreateArrowNavigationNotificationWithType(
            ArrowNavigationTargetHeapsPicker);
    }).join();
    EXPECT_TRUE(recorder.received().empty());

    ASSERT_TRUE(TestSupport::waitFor([&] { return recorder.received().size() == 3; }));
    const auto received = recorder.received();
    EXPECT_EQ(AppNotification::GetArrowNavigationTypeFromNotification(received[0]), 3);
    EXPECT_EQ(AppNotification::GetArrowNavigationTypeFromNotification(received[1]), 4);
    EXPECT_EQ(AppNotification::GetArrowNavigationTypeFromNotification(received[2]), 1);
    EXPECT_EQ(recorder.onMainThread(), (std::vector<bool>{true, true, true}));

    const QString name = AppNotification::ArrowNavigationNotificationName();
    EXPECT_EQ(AppNotification::GetArrowNavigationTypeFromNotification({name, {}, false}), 0);
    EXPECT_EQ(AppNotification::GetArrowNavigationTypeFromNotification(
                  {"BackgroundTypeChangedNotification", {{"Type", 2}}, true}),
              0);
}

#include "Platform/NotificationCenter.h"
#include "Platform/UserDefaults.h"

#include <QFile>
#include <QObject>

#include <gtest/gtest.h>

#include <memory>

TEST(NotificationCenter, DeliversNameAndUserInfoToObserversOfThatName) {
    auto& center = NotificationCenter::defaultCenter();
    int owner = 0;
    std::vector<QString> got;
    int typeSeen = -1;
    center.addObserver(&owner, "A", [&](const Notification& n) {
        got.push_back(n.name);
        typeSeen = n.userInfo.value("Type", -1).toInt();
    });
    center.addObserver(&owner, "B", [&](const Notification& n) { got.push_back(n.name); });
    center.post("A", {{"Type", 3}});
    center.post("C");
    center.post("B");
    EXPECT_EQ(got, (std::vector<QString>{"A", "B"}));
    EXPECT_EQ(typeSeen, 3);

    center.removeObserver(&owner, "A");
    center.post("A");
    EXPECT_EQ(got.size(), 2u);
    center.removeObserver(&owner);
    center.post("B");
    EXPECT_EQ(got.size(), 2u);
}

TEST(NotificationCenter, QObjectOwnersAreRemovedWhenDestroyed) {
    auto& center = NotificationCenter::defaultCenter();
    int calls = 0;
    auto owner = std::make_unique<QObject>();
    center.addObserver(owner.get(), "Gone", [&](const Notification&) { ++calls; });
    center.post("Gone");
    owner.reset();
    center.post("Gone");
    EXPECT_EQ(calls, 1);
}

TEST(NotificationCenter, AnObserverMayRemoveItselfWhileCalled) {
    auto& center = NotificationCenter::defaultCenter();
    int owner = 0;
    int calls = 0;
    center.addObserver(&owner, "Once", [&](const Notification&) {
        ++calls;
        center.removeObserver(&owner);
    });
    center.post("Once");
    center.post("Once");
    EXPECT_EQ(calls, 1);
}

TEST(UserDefaults, StoresUnderTheTemporaryConfigFolderAndReadsBack) {
    auto& defaults = UserDefaults::standardUserDefaults();
    EXPECT_TRUE(defaults.fileName().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
    EXPECT_FALSE(defaults.contains("KEY_probe"));
    EXPECT_FALSE(defaults.objectForKey("KEY_probe").isValid());
    defaults.setObject("KEY_probe", 42);
    EXPECT_EQ(defaults.objectForKey("KEY_probe").toInt(), 42);
    EXPECT_TRUE(QFile::exists(defaults.fileName()));
    defaults.removeObject("KEY_probe");
    EXPECT_FALSE(defaults.contains("KEY_probe"));
}

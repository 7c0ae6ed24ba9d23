#include "Screens/NoDuplicatesVC.h"
#include "Categories/Settings.h"
#include "Platform/NotificationCenter.h"
#include "Preferences/PreferencesWC.h"
#include "Screens/AttributedText.h"
#include "TestSupport.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/NoDupsUnderlineButton.h"

#include <gtest/gtest.h>

namespace {

class NoDuplicatesVCTest : public ::testing::Test {
protected:
    void SetUp() override {
        AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
        host.resize(990, 590);
        host.show();
        for (const char* name : {"NoDuplicatesMore", "BackToWelcomeScreen", "RestartScan"}) {
            NotificationCenter::defaultCenter().addObserver(
                &recorder, QLatin1String(name),
                [this](const Notification& posted) { this->posted << posted.name; });
        }
    }
    void TearDown() override {
        NotificationCenter::defaultCenter().removeObserver(&recorder);
        Settings::setDefineMinimalDuplicatesFileSizeAutomatically(true);
        Settings::setMinDuplicatesFileSize(1048576);
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
    }

    NoDuplicatesVC* makeView() {
        auto* view = new NoDuplicatesVC(&host);
        view->setGeometry(host.rect());
        view->show();
        return view;
    }

    QWidget host;
    int recorder = 0;
    QStringList posted;
};

} // namespace

TEST_F(NoDuplicatesVCTest, SlidesIntoPlaceAndFillsItsLabels) {
    NoDuplicatesVC* view = makeView();
    view->showViewAnimatiedWithFoldersArrayAndScannedFiles(
        {QStringLiteral("/home/u/Pictures"), QStringLiteral("/home/u/Music")}, 1234567);
    AnimationClock::instance().flush();
    EXPECT_EQ(view->pos(), QPoint(0, 0));
    EXPECT_EQ(view->label2()->plainString(),
              QStringLiteral("The folder Pictures and Music were scanned."));
    EXPECT_EQ(view->label3()->plainString(), QStringLiteral("1 234 567 files checked."));
    // The sentence stands 40 points under the heading, the lines under it 30 apart (y up).
    const int headingBottom = view->label1()->geometry().bottom() + 1;
    EXPECT_EQ(view->label2()->y(), headingBottom + 40);
    EXPECT_EQ(view->label3()->geometry().bottom(), view->label2()->geometry().bottom() + 30);
    EXPECT_EQ(view->label4()->geometry().bottom(), view->label3()->geometry().bottom() + 30);
    // The sentence is centred.
    EXPECT_LE(std::abs(view->label2()->geometry().center().x() - view->width() / 2), 1);
}

TEST_F(NoDuplicatesVCTest, FoldersOnTheSkipListAreNotCalledUnique) {
    const QStringList skipList = Settings::excludeFolders();
    Settings::setExcludeFolders({QStringLiteral("/usr"), QStringLiteral("/srv/backup/")});
    struct Case {
        QStringList folders;
        QString line;
    };
    const Case cases[] = {
        {{QStringLiteral("/usr")},
         QStringLiteral("This folder is on the skip list: none of its files was compared.")},
        {{QStringLiteral("/usr/share"), QStringLiteral("/srv/backup")},
         QStringLiteral("These folders are on the skip list: none of their files was compared.")},
        // One folder outside the list was compared whole.
        {{QStringLiteral("/usr/share"), QStringLiteral("/home/u")},
         QStringLiteral("Every file in these folders is unique.")},
        {{QStringLiteral("/usrlocal")}, QStringLiteral("Every file in these folders is unique.")},
    };
    for (const Case& c : cases) {
        NoDuplicatesVC* view = makeView();
        view->showViewAnimatiedWithFoldersArrayAndScannedFiles(c.folders, 10);
        EXPECT_EQ(view->label4()->plainString(), c.line) << c.folders.join(' ').toStdString();
        delete view;
    }
    // A stopped scan says so first.
    NoDuplicatesVC* view = makeView();
    view->showViewAnimatiedWithFoldersArrayAndScannedFiles({QStringLiteral("/usr")}, 10, true);
    EXPECT_EQ(view->label4()->plainString(),
              QStringLiteral("The scan was stopped before every file was compared."));
    delete view;
    Settings::setExcludeFolders(skipList);
}

TEST_F(NoDuplicatesVCTest, MinimalSizeNoteShowsOnlyForAManualSize) {
    struct Case {
        bool automatic;
        quint64 size;
        bool shown;
    } cases[] = {{true, 1048576, false}, {false, 0, false}, {false, 1048576, true}};
    for (const Case& c : cases) {
        Settings::setDefineMinimalDuplicatesFileSizeAutomatically(c.automatic);
        Settings::setMinDuplicatesFileSize(c.size);
        NoDuplicatesVC* view = makeView();
        view->showViewAnimatiedWithFoldersArrayAndScannedFiles({QStringLiteral("/tmp")}, 1);
        EXPECT_EQ(view->minimalDupsSizeView()->isVisibleTo(view), c.shown) << c.size;
        if (c.shown) {
            EXPECT_EQ(view->label5()->plainString(),
                      QStringLiteral("*Minimal duplicates file size is 1.05\u00A0MB."));
        }
        delete view;
    }
}

TEST_F(NoDuplicatesVCTest, NewScanPostsItsTwoNotificationsOnceAndRescanAsksForARestart) {
    NoDuplicatesVC* view = makeView();
    view->showViewAnimatiedWithFoldersArrayAndScannedFiles({QStringLiteral("/tmp")}, 3);
    view->newScanButton()->click();
    view->newScanButton()->click();
    view->newScanButtonPressed();
    EXPECT_EQ(posted, (QStringList{QStringLiteral("NoDuplicatesMore"),
                                   QStringLiteral("BackToWelcomeScreen")}));
    EXPECT_TRUE(view->newScanButton()->disabled());
    posted.clear();
    view->rescanButton()->click();
    EXPECT_EQ(posted, QStringList{QStringLiteral("RestartScan")});

    // The change link opens a new preferences window at every press, modal in front.
    view->changeButton()->click();
    QPointer<PreferencesWC> first = view->preferencesController();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowModality(), Qt::ApplicationModal);
    view->changeButton()->click();
    QPointer<PreferencesWC> second = view->preferencesController();
    ASSERT_TRUE(second);
    EXPECT_NE(first, second);
    first->close();
    second->close();
    EXPECT_TRUE(TestSupport::waitFor([&] { return !first && !second; }));
}

#include "PreferencesFixture.h"

#include "Preferences/PreferencesAutoSelectView.h"
#include "Preferences/PreferencesMainView.h"
#include "Preferences/PreferencesWC.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Auto = PreferencesAutoSelectView;

struct AutoSelectPaneTest : PreferencesFixture {
    void SetUp() override {
        PreferencesFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        for (const char* name : {"x", "y", "x/inner"})
            ASSERT_TRUE(QDir(dir.path()).mkpath(QLatin1String(name)));
        window = std::make_unique<PreferencesWC>();
        window->show();
        pane = window->mainView()->autoSelectView();
    }
    void TearDown() override {
        window.reset();
        PreferencesFixture::TearDown();
    }
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }

    QTemporaryDir dir;
    std::unique_ptr<PreferencesWC> window;
    PreferencesAutoSelectView* pane = nullptr;
};

TEST_F(AutoSelectPaneTest, TheEntryPointRaisesTheConflictSheetAndOkMovesTheFolder) {
    const QString downloads = QDir::homePath() + QStringLiteral("/Downloads");
    ASSERT_EQ(Settings::autoAlwaysSelectFolders(), QStringList{downloads});
    window->addFolderToAlwaysSelectList(false, downloads);
    EXPECT_EQ(window->mainView()->currentView(), pane);
    EXPECT_EQ(pane->selectedType(), Auto::AutoSelectListNever);
    QMessageBox* alert = pane->conflictAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->text(), QStringLiteral("This folder already added to Always Select list"));
    EXPECT_EQ(alert->informativeText(),
              QStringLiteral("Do you want to remove this folder from Always Select list and add "
                             "it to Never Select list?"));
    EXPECT_EQ(alert->windowModality(), Qt::WindowModal);
    // The sheet comes down below the window's top band.
    EXPECT_EQ(alert->y(), window->y() + 80);
    // While the sheet is up the table shows the change, unsaved.
    EXPECT_TRUE(pane->shownList().contains(downloads));
    EXPECT_FALSE(Settings::autoNeverSelectFolders().contains(downloads));

    alert->buttons().first()->click();
    EXPECT_FALSE(pane->conflictAlert());
    EXPECT_TRUE(Settings::autoAlwaysSelectFolders().isEmpty());
    QStringList never = Settings::createDefaultNeverSelectFoldersArray() << downloads;
    EXPECT_EQ(Settings::autoNeverSelectFolders(), never);
    EXPECT_EQ(pane->shownList(), never << QString());
    EXPECT_EQ(pane->selectedListRows(), QList<int>{3});
}

TEST_F(AutoSelectPaneTest, CancelDropsTheWholePendingChange) {
    Settings::setAutoAlwaysSelectFolders({path("x")});
    Settings::setAutoNeverSelectFolders({});
    pane->selectType(Auto::AutoSelectListNever);
    const QByteArray before = settingsFileBytes();
    // One drop of two folders, one of them in the other list: one sheet for the drop.
    ASSERT_TRUE(pane->draggingEntered({path("x"), path("y")}, true));
    pane->draggingEnded({path("x"), path("y")});
    ASSERT_TRUE(pane->conflictAlert());
    EXPECT_EQ(pane->shownList(), (QStringList{path("x"), path("y"), QString()}));
    pane->conflictAnswered(false);
    EXPECT_FALSE(pane->conflictAlert());
    EXPECT_EQ(settingsFileBytes(), before);
    EXPECT_EQ(pane->shownList(), QStringList{QString()});

    // The same drop answered with OK moves x and adds y.
    pane->draggingEnded({path("x"), path("y")});
    ASSERT_TRUE(pane->conflictAlert());
    pane->conflictAnswered(true);
    EXPECT_EQ(Settings::autoNeverSelectFolders(), (QStringList{path("x"), path("y")}));
    EXPECT_TRUE(Settings::autoAlwaysSelectFolders().isEmpty());
}

TEST_F(AutoSelectPaneTest, AFolderInsideAListedFolderIsNoConflictAndRemoveNeverAsks) {
    Settings::setAutoAlwaysSelectFolders({path("x")});
    Settings::setAutoNeverSelectFolders({});
    window->addFolderToAlwaysSelectList(false, path("x/inner"));
    EXPECT_FALSE(pane->conflictAlert());
    EXPECT_EQ(Settings::autoNeverSelectFolders(), QStringList{path("x/inner")});
    EXPECT_EQ(Settings::autoAlwaysSelectFolders(), QStringList{path("x")});
    EXPECT_TRUE(pane->selectedListRows().isEmpty());

    pane->selectListRows({0});
    pane->onPressRemoveButton();
    EXPECT_FALSE(pane->conflictAlert());
    EXPECT_TRUE(Settings::autoNeverSelectFolders().isEmpty());
}

TEST_F(AutoSelectPaneTest, TypedEntriesMustBeExistingFolders) {
    Settings::setAutoAlwaysSelectFolders({});
    pane->updateData();
    const QString file = dir.filePath(QStringLiteral("file.txt"));
    ASSERT_TRUE(TestSupport::writeFile(QFile::encodeName(file), "x"));
    pane->rowWasDoubleClicked(0);
    ASSERT_TRUE(pane->editField());
    QTest::keyClicks(pane->editField(), file);
    QTest::keyClick(pane->editField(), Qt::Key_Return);
    // A file is no folder: Return keeps the edit.
    ASSERT_TRUE(pane->editField());
    EXPECT_TRUE(Settings::autoAlwaysSelectFolders().isEmpty());
    pane->editField()->setText(path("y"));
    QTest::keyClick(pane->editField(), Qt::Key_Return);
    EXPECT_FALSE(pane->editField());
    EXPECT_EQ(Settings::autoAlwaysSelectFolders(), QStringList{path("y")});
    EXPECT_FALSE(pane->draggingEntered({file}, true));
}

TEST_F(AutoSelectPaneTest, DescriptionsFollowTheListAndCarryNoReplacementCharacter) {
    QLabel* description = pane->descriptionLabel();
    EXPECT_EQ(description->text(), QStringLiteral("Choose folders for duplicates auto selection."));
    pane->selectType(Auto::AutoSelectListNever);
    EXPECT_EQ(description->text(),
              QStringLiteral("Choose folders to prevent duplicates auto selection."));
    EXPECT_FALSE(description->text().contains(QChar(0xFFFC)));
}

} // namespace

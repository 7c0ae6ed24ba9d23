#include "PreferencesFixture.h"

#include "Categories/AppNotification.h"
#include "Platform/KeyEvent.h"
#include "Preferences/PreferencesExcludeListView.h"
#include "Preferences/PreferencesMainView.h"
#include "Preferences/PreferencesWC.h"
#include "TestSupport.h"
#include "Toolkit/RestorePreferencesButton.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

using Skip = PreferencesExcludeListView;

struct SkipListPaneTest : PreferencesFixture {
    void SetUp() override {
        PreferencesFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("folder")));
        ASSERT_TRUE(TestSupport::writeFile(QFile::encodeName(filePath()), "x"));
        window = std::make_unique<PreferencesWC>();
        window->show();
        window->mainView()->showExcludeListView();
        pane = window->mainView()->excludeListView();
    }
    void TearDown() override {
        window.reset();
        PreferencesFixture::TearDown();
    }
    QString folderPath() const { return dir.filePath(QStringLiteral("folder")); }
    QString filePath() const { return dir.filePath(QStringLiteral("file.txt")); }

    // Types |text| into the empty row and ends with |key| (Return), or with a click
    // elsewhere when |key| is 0.
    void typeIntoEmptyRow(const QString& text, int key = Qt::Key_Return) {
        pane->rowWasDoubleClicked(int(pane->shownList().size()) - 1);
        typeIntoEditedRow(text, key);
    }
    void typeIntoEditedRow(const QString& text, int key = Qt::Key_Return) {
        QLineEdit* field = pane->editField();
        ASSERT_TRUE(field);
        field->clear();
        QTest::keyClicks(field, text);
        if (key)
            QTest::keyClick(field, Qt::Key(key));
        else
            pane->endEditing();
    }

    QTemporaryDir dir;
    std::unique_ptr<PreferencesWC> window;
    PreferencesExcludeListView* pane = nullptr;
};

TEST_F(SkipListPaneTest, ShowsTheStoredListWithOneEmptyRowAndSwitchesTypeWithoutWriting) {
    EXPECT_EQ(pane->selectedType(), Skip::SkipListFolders);
    QStringList expected = Settings::createDefaultExcludeFoldersArray();
    EXPECT_EQ(pane->shownList(), expected << QString());
    EXPECT_EQ(pane->excludeListTable()->model()->rowCount(), expected.size());
    pane->selectType(Skip::SkipListExtensions);
    EXPECT_EQ(pane->shownList().first(), QStringLiteral(".framework"));
    EXPECT_TRUE(pane->shownList().last().isEmpty());
    EXPECT_FALSE(UserDefaults::standardUserDefaults().contains(
        QLatin1String(Settings::Key::excludeExtensions)));
}

TEST_F(SkipListPaneTest, TypedExtensionsAreCleanedAndLeadingDotted) {
    pane->selectType(Skip::SkipListExtensions);
    Settings::setExcludeExtensions({QStringLiteral(".a")});
    pane->updateData();
    struct Case {
        const char* typed;
        QStringList stored;
    } cases[] = {
        {"JPG", {".a", ".JPG"}},
        {".tar.gz", {".a", ".JPG", ".targz"}},
        {".", {".a", ".JPG", ".targz"}},
        {" ", {".a", ".JPG", ".targz"}},
        {"a:b/c d", {".a", ".JPG", ".targz", ".abcd"}},
        {"JPG", {".a", ".JPG", ".targz", ".abcd", ".JPG"}}, // no check for doubles
    };
    for (const Case& c : cases) {
        // Add puts the empty row in edit mode.
        pane->onPreessAddButton();
        ASSERT_TRUE(pane->editField()) << c.typed;
        EXPECT_EQ(pane->editedRow(), pane->shownList().size() - 1);
        typeIntoEditedRow(QString::fromUtf8(c.typed));
        EXPECT_FALSE(pane->editField());
        EXPECT_EQ(Settings::excludeExtensions(), c.stored) << c.typed;
        EXPECT_EQ(pane->shownList(), c.stored + QStringList{QString()});
    }
    // Editing an entry to nothing removes it.
    pane->rowWasDoubleClicked(0);
    typeIntoEditedRow(QString(), 0);
    EXPECT_EQ(Settings::excludeExtensions().first(), QStringLiteral(".JPG"));
}

TEST_F(SkipListPaneTest, EscapeGivesUpTheEditAndKeepsTheEntry) {
    Settings::setExcludeFolders({folderPath()});
    pane->updateData();
    const QByteArray before = settingsFileBytes();
    pane->rowWasDoubleClicked(0);
    ASSERT_TRUE(pane->editField());
    QTest::keyClicks(pane->editField(), QStringLiteral("/elsewhere"));
    QTest::keyClick(pane->editField(), Qt::Key_Escape);
    EXPECT_FALSE(pane->editField());
    EXPECT_EQ(Settings::excludeFolders(), QStringList{folderPath()});
    EXPECT_EQ(pane->shownList(), (QStringList{folderPath(), QString()}));
    EXPECT_EQ(settingsFileBytes(), before);
}

TEST_F(SkipListPaneTest, ReturnOnAMissingPathKeepsTheEditWhileAClickElsewhereDropsIt) {
    Settings::setExcludeFolders({folderPath()});
    pane->updateData();
    const QString missing = dir.filePath(QStringLiteral("missing"));
    typeIntoEmptyRow(missing);
    ASSERT_TRUE(pane->editField());
    EXPECT_EQ(pane->editField()->text(), missing);
    EXPECT_EQ(Settings::excludeFolders(), QStringList{folderPath()});
    // A relative name is no path, even when it names something in the working folder.
    typeIntoEditedRow(QStringLiteral("folder"));
    EXPECT_TRUE(pane->editField());

    // Editing an existing entry to a missing path and clicking elsewhere removes it.
    pane->endEditing();
    pane->rowWasDoubleClicked(0);
    typeIntoEditedRow(missing, 0);
    EXPECT_FALSE(pane->editField());
    EXPECT_TRUE(Settings::excludeFolders().isEmpty());
}

TEST_F(SkipListPaneTest, APathOfTheWrongKindMovesToTheOtherList) {
    const QStringList folders = Settings::excludeFolders();
    typeIntoEmptyRow(filePath());
    EXPECT_EQ(pane->selectedType(), Skip::SkipListFiles);
    EXPECT_EQ(Settings::excludeFiles().last(), filePath());
    EXPECT_EQ(Settings::excludeFolders(), folders);
    EXPECT_EQ(pane->selectedListRows(), QList<int>{int(Settings::excludeFiles().size()) - 1});

    typeIntoEmptyRow(folderPath());
    EXPECT_EQ(pane->selectedType(), Skip::SkipListFolders);
    EXPECT_EQ(Settings::excludeFolders(), folders + QStringList{folderPath()});
    EXPECT_FALSE(Settings::excludeFiles().contains(folderPath()));
}

TEST_F(SkipListPaneTest, TheOpenPanelAddsOnlyNewPathsOfItsKind) {
    QList<PreferencesListPane::OpenPanelRequest> requests;
    QStringList answer;
    PreferencesListPane::setOpenPanelRunner(
        [&](QWidget*, const PreferencesListPane::OpenPanelRequest& request,
            std::function<void(const QStringList&)> done) {
            requests << request;
            done(answer);
        });
    Settings::setExcludeFolders({folderPath()});
    Settings::setScanInHiddenFolders(true);
    pane->updateData();
    const QString other = dir.filePath(QStringLiteral("other"));
    answer = {folderPath(), other};
    pane->onPreessAddButton();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_TRUE(requests[0].canChooseDirectories);
    EXPECT_FALSE(requests[0].canChooseFiles);
    EXPECT_TRUE(requests[0].showsHiddenFiles);
    EXPECT_EQ(Settings::excludeFolders(), (QStringList{folderPath(), other}));
    EXPECT_TRUE(pane->selectedListRows().isEmpty());

    pane->selectType(Skip::SkipListFiles);
    answer = {filePath()};
    pane->onPreessAddButton();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_TRUE(requests[1].canChooseFiles);
    EXPECT_FALSE(requests[1].canChooseDirectories);
    EXPECT_EQ(Settings::excludeFiles().last(), filePath());
    EXPECT_EQ(pane->selectedListRows(), QList<int>{int(Settings::excludeFiles().size()) - 1});
}

TEST_F(SkipListPaneTest, DeleteRemovesSelectedRowsOnlyFromTheFocusedList) {
    Settings::setExcludeFolders({QStringLiteral("/a"), QStringLiteral("/b"), QStringLiteral("/c")});
    pane->updateData();
    pane->selectListRows({0, 2});
    // A Delete key pressed in another window reaches every observer; it removes nothing here.
    AppNotification::CreateKeyPressedNotificationWithEvent(KeyEvent{51, 0});
    TestSupport::spinFor(10);
    EXPECT_EQ(Settings::excludeFolders().size(), 3);

    QTest::keyClick(pane->excludeListTable(), Qt::Key_Backspace);
    EXPECT_EQ(Settings::excludeFolders(), QStringList{QStringLiteral("/b")});
    // Remove with nothing selected saves the list unchanged.
    pane->selectListRows({});
    pane->onPressRemoveButton();
    EXPECT_EQ(Settings::excludeFolders(), QStringList{QStringLiteral("/b")});
}

TEST_F(SkipListPaneTest, DropsAreTakenByKind) {
    Settings::setExcludeFolders({});
    pane->updateData();
    EXPECT_TRUE(pane->draggingEntered({folderPath()}, true));
    EXPECT_FALSE(pane->draggingEntered({folderPath(), filePath()}, true));
    EXPECT_TRUE(pane->draggingEntered({}, false));
    pane->draggingEnded({folderPath()});
    EXPECT_EQ(Settings::excludeFolders(), QStringList{folderPath()});
    EXPECT_EQ(pane->selectedListRows(), QList<int>{0});

    pane->selectType(Skip::SkipListFiles);
    EXPECT_FALSE(pane->draggingEntered({folderPath()}, true));
    EXPECT_TRUE(pane->draggingEntered({filePath()}, true));
    pane->selectType(Skip::SkipListExtensions);
    EXPECT_FALSE(pane->draggingEntered({filePath()}, true));
    EXPECT_FALSE(pane->draggingEntered({}, false));
}

TEST_F(SkipListPaneTest, ToolkitDropsAndDoubleClicksReachThePane) {
    Settings::setExcludeFolders({});
    pane->updateData();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(folderPath())});
    const QPointF inside(pane->width() / 2.0, pane->height() / 2.0);
    QDragEnterEvent enter(inside.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(inside, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane, &drop);
    EXPECT_EQ(Settings::excludeFolders(), QStringList{folderPath()});

    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(filePath())});
    QDragEnterEvent refused(inside.toPoint(), Qt::CopyAction, &file, Qt::LeftButton,
                            Qt::NoModifier);
    QApplication::sendEvent(pane, &refused);
    EXPECT_FALSE(refused.isAccepted());

    QListView* list = pane->excludeListTable();
    const QRect emptyRow = list->visualRect(list->model()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, emptyRow.center());
    QMouseEvent twice(QEvent::MouseButtonDblClick, emptyRow.center(),
                      list->viewport()->mapToGlobal(emptyRow.center()), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &twice);
    ASSERT_TRUE(pane->editField());
    EXPECT_EQ(pane->editedRow(), 1);
}

TEST_F(SkipListPaneTest, RestoreDefaultsReloadsTheList) {
    Settings::setExcludeFolders({folderPath()});
    pane->updateData();
    pane->restoreDefaultsButton()->click();
    EXPECT_EQ(Settings::excludeFolders(), Settings::createDefaultExcludeFoldersArray());
    EXPECT_EQ(pane->shownList(),
              Settings::createDefaultExcludeFoldersArray() + QStringList{QString()});
}

} // namespace

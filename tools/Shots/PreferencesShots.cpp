#include "Shots.h"

#include "Categories/Settings.h"
#include "Preferences/PreferencesAutoSelectView.h"
#include "Preferences/PreferencesExcludeListView.h"
#include "Preferences/PreferencesMainView.h"
#include "Preferences/PreferencesWC.h"

#include <QDir>
#include <QLineEdit>
#include <QMessageBox>

SORVANTA_SHOT_AREA(preferences) {
    const QString home = QDir::homePath();
    {
        PreferencesWC window;
        session.save(QStringLiteral("general"), &window);
    }
    {
        // A manual size, so the slider is live, and the next-scan notice is not shown.
        Settings::setDefineMinimalDuplicatesFileSizeAutomatically(false);
        Settings::setMinDuplicatesFileSize(10000000);
        PreferencesWC window;
        session.save(QStringLiteral("general-manual"), &window);
        Settings::setDefineMinimalDuplicatesFileSizeAutomatically(true);
        Settings::setMinDuplicatesFileSize(Settings::kDefaultMinDuplicatesFileSize);
    }
    {
        PreferencesWC window;
        window.mainView()->showExcludeListView();
        session.save(QStringLiteral("skiplist-folders"), &window);
        PreferencesExcludeListView* pane = window.mainView()->excludeListView();
        pane->selectType(PreferencesExcludeListView::SkipListFiles);
        pane->selectListRows({1});
        session.save(QStringLiteral("skiplist-files-selected"), &window);
        pane->selectType(PreferencesExcludeListView::SkipListExtensions);
        pane->onPreessAddButton();
        if (pane->editField())
            pane->editField()->setText(QStringLiteral("JPG"));
        session.save(QStringLiteral("skiplist-extensions-editing"), &window);
    }
    {
        PreferencesWC window;
        window.mainView()->showAutoSelectView();
        session.save(QStringLiteral("autoselect-always"), &window);
        window.mainView()->autoSelectView()->selectType(
            PreferencesAutoSelectView::AutoSelectListNever);
        session.save(QStringLiteral("autoselect-never"), &window);
        // The conflict sheet: the Downloads folder is in Always Select by default.
        window.addFolderToAlwaysSelectList(false, home + QStringLiteral("/Downloads"));
        if (QMessageBox* alert = window.mainView()->autoSelectView()->conflictAlert()) {
            session.save(QStringLiteral("autoselect-conflict-sheet"), alert);
            window.mainView()->autoSelectView()->conflictAnswered(false);
        }
    }
    {
        Settings::setAllowRemovingAllDuplicateCopies(true);
        PreferencesWC window;
        window.mainView()->showRemoveView();
        session.save(QStringLiteral("remove"), &window);
        Settings::setAllowRemovingAllDuplicateCopies(false);
    }
}

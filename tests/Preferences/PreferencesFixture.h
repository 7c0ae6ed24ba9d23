#pragma once

#include "Categories/Settings.h"
#include "Platform/UserDefaults.h"
#include "Preferences/PreferencesListPane.h"
#include "Results/DuplicatesManager.h"

#include <QFile>

#include <gtest/gtest.h>

// Every preferences test starts from a settings file without the keys the window edits
// (so each reads as its default), no scan started, and no open panel.
struct PreferencesFixture : ::testing::Test {
    void SetUp() override {
        for (const char* key :
             {Settings::Key::excludeFolders, Settings::Key::excludeFiles,
              Settings::Key::excludeExtensions, Settings::Key::autoAlwaysSelectFolders,
              Settings::Key::autoNeverSelectFolders,
              Settings::Key::defineMinimalDuplicatesFileSizeAutomatically,
              Settings::Key::minDuplicatesFileSize, Settings::Key::scanInHiddenFolders,
              Settings::Key::forceFullHashCalculation,
              Settings::Key::moveCleanedDuplicatesToTheTrashCan,
              Settings::Key::allowRemovingAllDuplicateCopies, Settings::Key::removeEmptyFolders})
            UserDefaults::standardUserDefaults().removeObject(QLatin1String(key));
        DuplicatesManager::sharedManager().clearScanBasicInformation();
    }
    void TearDown() override {
        PreferencesListPane::setOpenPanelRunner({});
        DuplicatesManager::sharedManager().clearScanBasicInformation();
    }

    static QByteArray settingsFileBytes() {
        QFile file(UserDefaults::standardUserDefaults().fileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

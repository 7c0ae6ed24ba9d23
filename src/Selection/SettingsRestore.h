#pragma once

// The restore-defaults operations of the settings store: each puts a group of settings back
// to its defaults. The preferences panes call restoreDefaultsForAllSettings; the others are
// its steps. Main thread: restoring the removal settings touches the current result.
//
// Settings no restore touches: the sort settings, the two removal counters, the digest
// block length, the short-path flag, the first-time home-folder flag, the recent folders,
// the three overlay flags and the welcome count.
namespace Settings {

// Each writes a freshly built default list, so the key is then present with the default.
void restoreDefaultExcludeFolders();
void restoreDefaultExcludeFiles();
void restoreDefaultExcludeExtensions();
void restoreDefaultAutoAlwaysSelectFolders();
void restoreDefaultAutoNeverSelectFolders();

// Full digests and hidden folders off; the two minimal-size keys removed, so both read as
// their defaults again.
void restoreDefaultsScan();

// Deselects every copy of each group of the current result whose copies are all selected
// (one selection batch), and only then turns the permission to select every copy off; the
// other removal settings and their confirmations back to their defaults.
void restoreRemoveDefaults();

// The six confirmation messages on again.
void restoreDefaultsForAlertWindows();

// All of the above, in order, inside one selection batch: exactly one
// "DuplicateItemSelectionChangedNotification" goes out, when it ends.
void restoreDefaultsForAllSettings();

} // namespace Settings

#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// The desktop's applications for a file, as GIO knows them from the installed ".desktop"
// entries and the user's and system's "mimeapps.list" choices. Main thread; the answers are
// read afresh at each call.
namespace OpenWithApplications {

struct Application {
    QString id;       // the desktop entry's id ("org.gnome.TextEditor.desktop")
    QString name;     // the name to show
    QString iconName; // a theme icon name; empty when the entry names none
};

// The content type of the file at |path| ("text/plain"); from its contents when it can be
// read, else from its name. "application/octet-stream" when nothing is known.
QString contentTypeOfFile(const QByteArray& path);

// Every application that declares it opens |contentType|, sorted by name without regard to
// case, with the desktop's default application for the type moved to the front.
// |defaultId| receives the default's id, or an empty string when the desktop names none.
std::vector<Application> applicationsForContentType(const QString& contentType, QString* defaultId);

// The Open With list in menu order: |apps| sorted by name without regard to case, then the
// application |defaultId| (when one of them) taken out and put first. Pure.
std::vector<Application> orderedWithDefaultFirst(std::vector<Application> apps,
                                                 const QString& defaultId);

// Every installed application meant to be shown in menus, sorted by name; for the chooser of
// "Other...".
std::vector<Application> allApplications();

// Opens the file at |path| (its own bytes) in the desktop's default application for it.
// Answers whether one was started.
bool openFile(const QByteArray& path);

// Starts the application |appId| on the file at |path|. Answers whether it was started.
bool openFileWithApplication(const QByteArray& path, const QString& appId);

} // namespace OpenWithApplications

#pragma once

#include <QtGlobal>

#include <functional>

class QObject;
class QWidget;
struct FileWorkspace;
class FileSystemItem;
struct Notification;

// What a results table answers: a selection change anywhere, a key press and the travel
// between the results lists, the main menu's file commands, the preview panel's keys, and the
// application becoming active again (its files may have changed meanwhile). A table
// overrides these (privately, if it likes); ResultsObservers::observeTable calls them.
class ResultsTableObserver {
public:
    virtual void selectionChanged() = 0;
    virtual void keyPressed(const Notification& notification) = 0;
    virtual void arrowNavigation(const Notification& notification) = 0;
    // The file the main menu's file commands act on, through workspace(); null while they
    // do nothing (the review panel is open, another view is shown, no file is chosen).
    virtual const FileSystemItem* mainMenuFile() const = 0;
    virtual const FileWorkspace& workspace() const = 0;
    virtual void quickLookKeyPressed(const Notification& notification) = 0;
    virtual void applicationWillBecomeActive() = 0;

protected:
    ResultsTableObserver() = default;
    ~ResultsTableObserver() = default;
    Q_DISABLE_COPY_MOVE(ResultsTableObserver)
};

// The notifications a results view listens to, added in one order for every view so that
// each answers them alike. Every observation is owned by |owner| and ends with it.
namespace ResultsObservers {

// The main menu's file commands: "Show in File Manager", "Properties" and "Open".
void observeFileCommands(QObject* owner, std::function<void()> reveal,
                         std::function<void()> getInfo, std::function<void()> open);

void observeTable(QObject* owner, ResultsTableObserver* table);

} // namespace ResultsObservers

#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>

class QWidget;

// The application's updater. This system installs new versions through the package
// that brought it, so the updater downloads nothing: checkForUpdates() tells the user
// which version runs and where new versions come from. One process-wide object, made on
// first use and never destroyed. Main thread only.
class Updater final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Updater)

public:
    static Updater& sharedUpdater();

    // The message shown by checkForUpdates().
    static QString updatesText(const QString& appName, const QString& version,
                               const QString& siteURL);

    // Shows the message in a window of its own (opened, never run modally), in front of
    // |parent|'s window when given. A second call while it is shown raises it.
    void checkForUpdates(QWidget* parent = nullptr);
    QMessageBox* messageBox() const { return m_box; }

private:
    Updater() = default;

    QPointer<QMessageBox> m_box;
};

#pragma once

#include <QDialog>

class QListWidget;

// The chooser behind "Open With" > "Other...": a sheet listing the installed applications
// (their desktop entries), several of which may be chosen; "Open" reports the chosen ones
// in list order, "Cancel" nothing. Opened with open(); deletes itself when closed.
class ApplicationChooser final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ApplicationChooser)

public:
    explicit ApplicationChooser(QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }

signals:
    void applicationsChosen(const QStringList& applicationIds);

private:
    QListWidget* m_list = nullptr;
};

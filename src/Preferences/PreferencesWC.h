#pragma once

#include "Toolkit/DraggableWindow.h"

#include <QRectF>
#include <QSize>

class ButtonWithTrackingArea;
class PreferencesMainView;

// The preferences window: borderless, shadowed, moved by dragging its top band, with a
// red close button and four panes (General, Skip list, Auto-select, Remove). Every opening
// makes a new window; it deletes itself when closed, so callers hold it through a
// QPointer. Opened free from the Preferences command, or modal in front of the
// application ("a sheet with no parent window") by the no-duplicates view and the copies
// table, which may then put a folder into a list. Main thread only.
class PreferencesWC final : public DraggableWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreferencesWC)

public:
    static constexpr const char* kInterfaceName = "PreferencesWC_DARK";
    static constexpr QSize kWindowSize{620, 446};
    // Sheets on this window come down below its top band.
    static constexpr qreal kSheetOffset = 80;

    // Makes the window and loads its panes; General is shown first.
    explicit PreferencesWC(QWidget* parent = nullptr);

    // A new window shown free, made key and brought to the front.
    static PreferencesWC* showWindow();
    // A new window begun as a sheet with no parent window: it comes up modal in front of
    // the whole application until its close button ends it.
    static PreferencesWC* beginSheet();

    // |proposed| (y-up) moved down by the top band; x, width and height unchanged.
    static QRectF windowWillPositionSheet(const QRectF& proposed);
    // Places a sheet |sheet| opened on |window| as windowWillPositionSheet() says: centred
    // and below the top band. Other windows place their sheets as the toolkit does.
    static void positionSheet(QWidget* window, QWidget* sheet);

    // Jump to a list pane and add |path| there: Always (YES) or Never Select (NO); Skip
    // list folders (YES) or files (NO).
    void addFolderToAlwaysSelectList(bool always, const QString& path);
    void addFolderToSkipList(bool isFolder, const QString& path);

    PreferencesMainView* mainView() const { return m_pMainView; }
    ButtonWithTrackingArea* closeButton() const { return m_closeButton; }

private:
    void awakeFromNib();
    void windowDidLoad();

    PreferencesMainView* m_pMainView = nullptr;
    ButtonWithTrackingArea* m_closeButton = nullptr;
};

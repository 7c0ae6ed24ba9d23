#pragma once

#include "Browser/Common/QueuedRefresh.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QPointer>
#include <QWidget>

#include <array>

class QMenu;
class QAction;
class BlueTitleButton;
class ProgressBarMini;
class SelectDuplicatesVC;
class ToolbarView;
class TitleButton;
class WhiteTitleButton;

// What the results screen does when the toolbar switches views. Sent only for a press on
// a button that was not already the selected one and that its rule allows.
class ToolbarProtocolDelegate {
public:
    virtual ~ToolbarProtocolDelegate() = default;
    virtual void overviewPressed() = 0;
    virtual void allFilesPressed() = 0;
    virtual void picturesPressed() = 0;
    virtual void moviesPressed() = 0;
    virtual void musicPressed() = 0;
    virtual void documentsPressed() = 0;
    virtual void archivesPressed() = 0;
    virtual void othersPressed() = 0;
    virtual void foldersPressed() = 0;
    virtual void heapsPressed() = 0;
};

// The category toolbar across the top of the results screen: the view buttons with their
// mini bars, the back button and the sort button with its menu.
class DuplicateToolbarVC : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DuplicateToolbarVC)

public:
    static constexpr const char* kInterfaceName = "DuplicateToolbarVC_DARK";
    // The row of category pills and Back starts below the window's own strip of window
    // buttons and menu bar (30 points from the top), so none of them overlap at any width;
    // kPillRowBottom is where the row ends.
    static constexpr int kStripTop = 30;
    static constexpr int kPillRowBottom = kStripTop + 27;

    explicit DuplicateToolbarVC(QWidget* parent = nullptr);
    ~DuplicateToolbarVC() override;

    void setDelegate(ToolbarProtocolDelegate* delegate) { m_delegate = delegate; }
    void setController(SelectDuplicatesVC* controller);
    SelectDuplicatesVC* controller() const;

    // Button handlers; |sender| is the pressed button (callers pass the matching one).
    void overviewButtonPressed(WhiteTitleButton* sender);
    void allFilesButtonPressed(WhiteTitleButton* sender);
    void picturesButtonPressed(WhiteTitleButton* sender);
    void moviesButtonPressed(WhiteTitleButton* sender);
    void musicButtonPressed(WhiteTitleButton* sender);
    void documentsButtonPressed(WhiteTitleButton* sender);
    void archivesButtonPressed(WhiteTitleButton* sender);
    void othersButtonPressed(WhiteTitleButton* sender);
    void foldersButtonPressed(WhiteTitleButton* sender);
    void heapsButtonPressed(WhiteTitleButton* sender);
    void backButtonPressed();
    // Presses the button of category |type| (-1 All Files, 0 to 6).
    void pressButtonForCategoryType(int type);

    // While a removal runs, Back and every view button are disabled and their presses do
    // nothing, so that no other action starts before the run has ended; turned off again,
    // each button follows its usual rule.
    void setRemoveIsOn(bool on);
    bool removeIsOn() const { return m_removeIsOn; }

    static bool hasCategoryAnyDuplicates(int type);
    static bool hasHeaps();
    void makeSelectedButton(WhiteTitleButton* button);
    void setNormalStateFor(WhiteTitleButton* button);
    void setSelectedStateFor(WhiteTitleButton* button);
    void setDisabledStateFor(WhiteTitleButton* button);

    void updateProgressBars();
    void updateProgressBarWithType(ProgressBarMini* bar, int type);
    void alignProgressBars();
    // In a window narrower than the Parts draw (a small screen) the pills give up width,
    // so the row, the sizes under it and the sort button never overlap; at the Parts'
    // widths they keep theirs.
    void fitButtonsToWidth();
    // Writes the back button's help rectangle (overlay screen 4, hint 1) in window
    // coordinates; the results screen calls it again whenever its frame changes.
    void viewFrameDidChangeNotification();

    // Sort menu.
    void sortByPressed();
    // Where the sort menu's top-left corner goes for the sort button at |buttonOnScreen|
    // (screen coordinates, y down).
    static QPoint sortMenuOrigin(const QRect& buttonOnScreen);
    static void tryToSetSortType(int type);
    void validateMenu();
    void updateSortButtonTitle();
    void setSortByButtonTitle();
    // The sort button's title for |sortType|; empty for an unknown type.
    static QString sortButtonTitle(int sortType, bool similarsView);
    QMenu* sortMenu() const { return m_sortMenu; }
    QAction* sortMenuItem(const QString& title) const;

    WhiteTitleButton* selectedButton() const { return m_selectedButton; }
    BlueTitleButton* sortByButton() const { return m_sortByButton; }
    ToolbarView* viewWithButtons() const { return m_viewWithButtons; }
    TitleButton* backButton() const { return m_backButton; }

    WhiteTitleButton* overviewButton() const { return m_buttons[0]; }
    WhiteTitleButton* allFilesButton() const { return m_buttons[1]; }
    // Category type 0 to 6.
    WhiteTitleButton* categoryButton(int type) const { return m_buttons[2 + type]; }
    WhiteTitleButton* heapsButton() const { return m_buttons[9]; }
    // -1 All Files, 0 to 6 the categories, 7 Similars.
    ProgressBarMini* progressBar(int type) const { return m_bars[type + 1]; }

    // How many times the bars were refreshed (several notifications in one turn count once).
    int refreshCount() const { return m_refreshCount; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buttonPressed(int index, WhiteTitleButton* sender);
    void refresh(bool dataChanged);
    bool isSimilarsView() const;
    bool passesRule(int index) const;

    ToolbarProtocolDelegate* m_delegate = nullptr;
    QPointer<QWidget> m_controller;
    ToolbarView* m_viewWithButtons = nullptr;
    TitleButton* m_backButton = nullptr;
    BlueTitleButton* m_sortByButton = nullptr;
    // The sort button's width with the widest of its titles, measured once (0 until then).
    int m_widestSortButtonWidth = 0;
    QMenu* m_sortMenu = nullptr;
    std::array<WhiteTitleButton*, 10> m_buttons{};
    std::array<ProgressBarMini*, 9> m_bars{};
    QPointer<WhiteTitleButton> m_selectedButton;
    bool m_removeIsOn = false;
    // Selection and content changes of one turn are answered once.
    QueuedRefresh m_refresh{this, [this](bool dataChanged) { refresh(dataChanged); }};
    int m_refreshCount = 0;
};

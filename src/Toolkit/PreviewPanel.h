#pragma once

#include "Platform/KeyEvent.h"

#include <QIcon>
#include <QPointer>
#include <QRect>
#include <QWidget>

class PreviewItem;
class PreviewPanel;
class PreviewView;

// An event that reached the preview panel, as its delegate sees it. Only key events have
// a key.
struct PreviewPanelEvent {
    enum class Type { KeyDown, KeyUp, FlagsChanged, Other };
    Type type = Type::Other;
    KeyEvent key;

    bool isKeyEvent() const { return type != Type::Other; }
};

// Gives the panel its items. Asked again on every reloadData().
class PreviewPanelDataSource {
public:
    virtual ~PreviewPanelDataSource() = default;
    virtual int numberOfPreviewItemsInPreviewPanel(PreviewPanel* panel) = 0;
    // The item at |index|, or nullptr. The panel reads it at once and keeps nothing of it.
    virtual const PreviewItem* previewPanelPreviewItemAtIndex(PreviewPanel* panel, int index) = 0;
};

// Sees the panel's events first, and gives the picture the panel opens from.
class PreviewPanelDelegate {
public:
    virtual ~PreviewPanelDelegate() = default;
    // True when the delegate took the event; the panel then does nothing more with it.
    virtual bool previewPanelHandleEvent(PreviewPanel* panel, const PreviewPanelEvent& event) = 0;
    virtual QIcon previewPanelTransitionImageForPreviewItemContentRect(PreviewPanel* panel,
                                                                       const PreviewItem* item,
                                                                       QRect* contentRect) = 0;
};

// An object that can take control of the panel: when the panel is brought to the front
// without a controller, the first registered candidate that accepts gets
// beginPreviewPanelControl(); when the panel is put away, its controller gets
// endPreviewPanelControl().
class PreviewPanelController {
public:
    virtual ~PreviewPanelController() = default;
    virtual bool acceptsPreviewPanelControl(PreviewPanel* panel) = 0;
    virtual void beginPreviewPanelControl(PreviewPanel* panel) = 0;
    virtual void endPreviewPanelControl(PreviewPanel* panel) = 0;
};

// The one preview window of the process, in place of the platform's shared preview panel:
// a tool window showing the current item of its data source with a PreviewView. Key
// presses go to the delegate first; what it leaves, the panel handles (Escape puts it
// away). The window takes the keys itself: its preview never holds the keyboard focus.
//
// Main thread only. The data source, delegate and controller are not owned; each clears
// itself from the panel before it goes away.
class PreviewPanel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreviewPanel)

public:
    static constexpr QSize kDefaultSize{640, 520};

    // The shared panel, made on the first call.
    static PreviewPanel* sharedPreviewPanel();
    static bool sharedPreviewPanelExists();

    static void addControllerCandidate(PreviewPanelController* candidate);
    // Also ends the candidate's control when it holds the panel; call before it goes away.
    static void removeControllerCandidate(PreviewPanelController* candidate);

    PreviewPanelDataSource* dataSource() const { return m_dataSource; }
    void setDataSource(PreviewPanelDataSource* dataSource) { m_dataSource = dataSource; }
    PreviewPanelDelegate* delegate() const { return m_delegate; }
    void setDelegate(PreviewPanelDelegate* delegate) { m_delegate = delegate; }
    PreviewPanelController* controller() const { return m_controller; }

    // Asks the data source again and shows its current item.
    void reloadData();
    int currentPreviewItemIndex() const { return 0; }
    PreviewView* previewView() const { return m_previewView; }

    // Shows the panel in front, taking the keyboard; finds a controller first when it has
    // none.
    void makeKeyAndOrderFront();
    // Hides the panel; its controller ends its control.
    void orderOut();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    explicit PreviewPanel(QWidget* parent = nullptr);
    void handleKey(QKeyEvent* event, bool down);
    void updateController();
    void endControl();

    PreviewPanelDataSource* m_dataSource = nullptr;
    PreviewPanelDelegate* m_delegate = nullptr;
    PreviewPanelController* m_controller = nullptr;
    PreviewView* m_previewView = nullptr;
};

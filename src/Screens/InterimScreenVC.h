#pragma once

#include <QStringList>
#include <QWidget>

class InterimScreenProtocolDelegate;

// The screen shown when the user goes back from the results: the last scan's summary with
// a new-scan and a show-results button.
//
// The main window controller makes it, sets the delegate, fits it to the window, adds it,
// then calls loadFolderFromArray() with the last scan's folders; it sets the animation flag
// while its show animation runs (the buttons do nothing meanwhile) and releases the screen
// when it hides it.
//
// For now this is an empty screen with that interface; the screen itself fills it in.
class InterimScreenVC : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InterimScreenVC)

public:
    static constexpr const char* kInterfaceName = "InterimScreenVC_DARK";

    explicit InterimScreenVC(QWidget* parent = nullptr);

    void setDelegate(InterimScreenProtocolDelegate* delegate) { m_delegate = delegate; }
    InterimScreenProtocolDelegate* delegate() const { return m_delegate; }
    void loadFolderFromArray(const QStringList& paths);
    QStringList folderArray() const { return m_paths; }
    void setAnimationExecution(bool running) { m_animationExecution = running; }
    bool animationExecution() const { return m_animationExecution; }

private:
    InterimScreenProtocolDelegate* m_delegate = nullptr;
    QStringList m_paths;
    bool m_animationExecution = false;
};

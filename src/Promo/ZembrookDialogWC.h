#pragma once

#include <QDialog>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QTextBrowser>
#include <QUrl>

#include <functional>

// The promotional panel: a local page of the maker's ("zembrook.html", the downloaded
// panel's or the application's own) in an application-modal window of the page's size.
// One panel at a time: showing it again raises the open one. The page may open only files
// of its own folder inside the panel; http and https links open in the user's browser, and
// every other link does nothing. Main thread.
class ZembrookDialogWC final : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kInterfaceName = "ZembrookDialogWC";

    // Shows the panel, or raises the one already open.
    static void pleaseShowWindow();
    // Shows the panel once no help overlay is on screen or on its way (setHelpStillToCome):
    // the automatic panel never covers the help and never comes before it.
    static void pleaseShowWindowWhenHelpCloses();
    // Tells whether a help overlay is about to be shown (on first start, the results
    // screen's first help while a scan runs or its results come in); none, or a test that
    // answers false: only a help on screen holds the panel back.
    static void setHelpStillToCome(std::function<bool()> stillToCome);
    // Called on the main queue when a scan starts comparing files: shows the panel when the
    // rules of the automatic showing allow it (PromoPanelGate).
    static void pleaseShowWindowIfNeedAutomaticallyForDuplicatesCount(quint64 duplicatesCount);
    // Closes the open panel, if any.
    static void closeZembrookWC();
    // The open panel, or none.
    static ZembrookDialogWC* currentPanel();

    // The window frame for a page of `pageSize` when the window needs `extraHeight` beside
    // the page: the new size kept centred on `currentFrame`, halves rounded away from zero.
    static QRect frameForPageSize(const QRect& currentFrame, const QSize& pageSize,
                                  int extraHeight);

    enum class NavigationPolicy { Use, OpenExternally, Ignore };
    // What a click on `target` does for a page shown from `pageFolder` (a folder path, or a
    // resource folder such as ":/promo").
    static NavigationPolicy decidePolicyForNavigation(const QUrl& target,
                                                      const QString& pageFolder);

    explicit ZembrookDialogWC(QWidget* parent = nullptr);
    ~ZembrookDialogWC() override;

    // Sizes the window to the page in force and loads the page (or the "Oops" page).
    void windowDidLoad();
    QTextBrowser* browser() const { return m_pBrowser; }
    QString pageFolder() const { return m_pageFolder; }

public Q_SLOTS:
    void reject() override;

private:
    class PanelBrowser;
    void hiddenCloseButtonPressed();
    void onLinkClicked(const QUrl& link);

    QTextBrowser* m_pBrowser = nullptr;
    QString m_pageFolder;
};

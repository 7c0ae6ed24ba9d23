#pragma once

#include <QUrl>
#include <QWidget>

class DarkBlueUnderlineTitleButton;
class QLabel;
class WindowBackgroundView;

// The About window: the application's logo and version and links to the maker's web site.
// The main window controller makes a new one for each About command and shows it as a
// window of its own; its close button (or close()) ends it. Main thread only.
class AboutWC final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutWC)

public:
    static constexpr const char* kInterfaceName = "AboutWC";
    static constexpr QSize kWindowSize{380, 400};

    explicit AboutWC(QWidget* parent = nullptr);

    // "Version <short version>".
    static QString versionText(const QString& shortVersion);
    // The pages the links open: the product tour, the maker's other products, the top page.
    static QUrl productTourURL();
    static QUrl moreAppsURL();
    static QUrl velquorURL();

    void productTourButtonPressed();
    void moreAppsButtonPressed();
    void velquorLinkButtonPressed();

    QLabel* versionLabel() const { return m_versionLabel; }
    QLabel* captionLabel() const { return m_captionLabel; }
    DarkBlueUnderlineTitleButton* productTourButton() const { return m_productTourButton; }
    DarkBlueUnderlineTitleButton* moreAppsButton() const { return m_moreAppsButton; }
    DarkBlueUnderlineTitleButton* velquorLogoButton() const { return m_velquorLogoButton; }

private:
    void awakeFromNib();

    QLabel* m_captionLabel = nullptr;
    QLabel* m_versionLabel = nullptr;
    QLabel* m_copyrightLabel = nullptr;
    WindowBackgroundView* m_backgroundView = nullptr;
    QLabel* m_logoImageView = nullptr;
    DarkBlueUnderlineTitleButton* m_velquorLogoButton = nullptr;
    DarkBlueUnderlineTitleButton* m_productTourButton = nullptr;
    DarkBlueUnderlineTitleButton* m_moreAppsButton = nullptr;
};

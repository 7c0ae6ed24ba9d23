#pragma once

#include "Browser/Common/QueuedRefresh.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>

class QLabel;
class SelectDuplicatesVC;
class TitleButton;
class WhiteTitleButton;

// The bar along the bottom of the results screen: how much was cleaned here (counting up
// after each removal, with buttons that share it) and how much is selected for removal,
// with the button that opens the review panel.
class DuplicateBottombarVC : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DuplicateBottombarVC)

public:
    static constexpr const char* kInterfaceName = "DuplicateBottombarVC_DARK";
    static constexpr int kCountUpSteps = 60;
    static constexpr int kTickMs = 33;

    explicit DuplicateBottombarVC(QWidget* parent = nullptr);
    ~DuplicateBottombarVC() override;

    void setController(SelectDuplicatesVC* controller);
    SelectDuplicatesVC* controller() const;

    // "file", "files", "folder", "folders" or "files and folders" for |count| selected
    // items of which |folders| are folders.
    static QString nounForCount(std::uint64_t count, std::uint64_t folders);
    // "%ld %@ %@ selected".
    static QString selectionSummary(std::uint64_t count, std::uint64_t folders, std::uint64_t size);

    void updatesButtonsTitles();
    void removeSelectedButtonPressed();
    void updateSharingButtons();
    void twitterButtonPressed();
    void facebookButtonPressed();
    void emailButtonPressed();
    void addDeletedSize(std::uint64_t size);
    void tick();
    void viewFrameDidChangeNotification();

    std::uint64_t deletedSize() const { return m_deletedSize; }
    void setDeletedSize(std::uint64_t size) { m_deletedSize = size; }
    std::uint64_t deletedSizeCurrent() const { return m_deletedSizeCurrent; }
    bool countingUp() const { return m_sizeTimer != 0; }
    WhiteTitleButton* removeButton() const { return m_removeButton; }
    QLabel* selectedFilesLabel() const { return m_selectedFilesLabel; }
    QLabel* youHaveCleanedLabel() const { return m_youHaveCleanedLabel; }
    QWidget* sharingView() const { return m_sharingView; }
    TitleButton* twitterButton() const { return m_twitterButton; }
    TitleButton* facebookButton() const { return m_facebookButton; }
    TitleButton* emailButton() const { return m_emailButton; }
    int refreshCount() const { return m_refreshCount; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void scheduleRefresh();
    QString sharedSizeText() const;

    QPointer<QWidget> m_controller;
    QLabel* m_selectedFilesLabel = nullptr;
    QLabel* m_youHaveCleanedLabel = nullptr;
    QWidget* m_sharingView = nullptr;
    TitleButton* m_twitterButton = nullptr;
    TitleButton* m_facebookButton = nullptr;
    TitleButton* m_emailButton = nullptr;
    WhiteTitleButton* m_removeButton = nullptr;
    bool m_twitterSharingService = false;
    bool m_facebookSharingService = false;
    bool m_emailSharingService = false;
    std::uint64_t m_deletedSize = 0;
    std::uint64_t m_deletedSizeCurrent = 0;
    float m_deletedSizeStep = 0;
    double m_deletedSizeShown = 0;
    quint64 m_sizeTimer = 0;
    QueuedRefresh m_refresh{this, [this](bool) { updatesButtonsTitles(); }};
    int m_refreshCount = 0;
};

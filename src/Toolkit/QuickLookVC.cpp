#include "Toolkit/QuickLookVC.h"

#include "Categories/FileSize.h"
#include "Categories/MacOSVersion.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "Platform/Dispatch.h"
#include "Platform/ui/PreviewLoader.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesManager.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/Palette.h"
#include "Toolkit/QLPreviewViewMod.h"
#include "Toolkit/QuickLookCaptionLabel.h"
#include "Toolkit/QuickLookController.h"
#include "Toolkit/QuickLookMissingView.h"
#include "Walker/ExcludeChecker.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>

#include <QPointer>

#include <cmath>
#include <vector>

namespace {
// Systems before this one added the preview a moment later.
constexpr int kLatePreviewDelayMs = 250;
} // namespace

QuickLookVC::QuickLookVC(QWidget* parent) : QWidget(parent) {
    setObjectName(QString::fromLatin1(kInterfaceFile));
    m_noFileView = new QuickLookMissingView(this);
    m_noFileInnerView = m_noFileView->innerView();
    m_noFileImageView = m_noFileView->imageView();
    m_notFoundLabel = m_noFileView->label();
    m_noFileView->hide();
    m_labelFolderInfo = new QuickLookCaptionLabel(this);
    m_labelFolderInfo->hide();
    m_existenceProbe = new PreviewLoader(this);
    connect(m_existenceProbe, &PreviewLoader::factsReady, this, &QuickLookVC::onExistence);
}

QuickLookVC::~QuickLookVC() = default;

QRectF QuickLookVC::previewFrameForBounds(QSizeF bounds) {
    return QRectF(0.0, kPreviewBottom, bounds.width(), bounds.height() - kPreviewHeightInset);
}

QRectF QuickLookVC::captionFrameForBounds(QSizeF bounds, QSizeF captionSize) {
    return QRectF(std::floor((bounds.width() - captionSize.width()) / 2.0), kCaptionBottom,
                  captionSize.width(), captionSize.height());
}

QRect QuickLookVC::flipped(const QRectF& rect, qreal height) {
    return QRectF(rect.x(), height - rect.y() - rect.height(), rect.width(), rect.height())
        .toRect();
}

bool QuickLookVC::isScanInHiddenFolders() {
    const auto container = DuplicatesManager::sharedManager().duplicateContainer();
    return container && container->getExcludeChecker() &&
           container->getExcludeChecker()->isScanInHiddenFolders();
}

std::optional<std::uint64_t> QuickLookVC::countDeepFiles(const FolderSystemItem* folder,
                                                         bool withHidden, std::uint64_t limit) {
    std::uint64_t count = 0;
    std::vector<const FolderSystemItem*> pending;
    if (folder)
        pending.push_back(folder);
    while (!pending.empty()) {
        const FolderSystemItem* current = pending.back();
        pending.pop_back();
        for (FileSystemItem* child : current->childrenArray()) {
            if (!withHidden && child->isTopHiddenFlag())
                continue;
            if (const FolderSystemItem* sub = child->asFolder()) {
                pending.push_back(sub);
            } else if (++count > limit) {
                return std::nullopt;
            }
        }
    }
    return count;
}

QString QuickLookVC::folderCaption(const QString& size, std::optional<std::uint64_t> count) {
    if (!count)
        return QStringLiteral(" - %1 for more than %2 files").arg(size).arg(kCaptionCountLimit);
    if (*count < 1)
        return QStringLiteral(" - %1").arg(size);
    return QStringLiteral(" - %1 for %2 %3")
        .arg(size)
        .arg(*count)
        .arg(*count == 1 ? QStringLiteral("file") : QStringLiteral("files"));
}

QString QuickLookVC::countingCaption(const QString& size) {
    return QStringLiteral(" - %1 for ... files").arg(size);
}

namespace {

QString sizeTextOf(const FileSystemItem* item) {
    return FileSize::formatMemoryStringDot1(quint64(qMax<std::int64_t>(0, item->logicalSize())));
}

} // namespace

std::pair<QString, QString> QuickLookVC::captionPartsForItem(FileSystemItem* item,
                                                             bool withHidden) {
    if (!item)
        return {};
    const QString size = sizeTextOf(item);
    FolderSystemItem* folder = item->asFolder();
    if (folder && !folder->isPackage())
        return {item->displayName(),
                folderCaption(size, countDeepFiles(folder, withHidden, kCaptionCountLimit))};
    return {item->displayName(), QStringLiteral(" - %1").arg(size)};
}

bool QuickLookVC::isCaptionShown() const {
    return !m_labelFolderInfo->isHidden();
}

bool QuickLookVC::isShowingMissingMessage() const {
    return !m_noFileView->isHidden();
}

bool QuickLookVC::isLoading() const {
    return m_existenceProbe->isLoading();
}

void QuickLookVC::removeAllSubviews() {
    m_existenceProbe->cancel();
    ++m_captionGeneration;
    m_countingCaption = false;
    m_captionWanted = false;
    m_labelFolderInfo->hide();
    m_noFileView->hide();
    if (QLPreviewViewMod* view = _previewView) {
        _previewView = nullptr;
        view->hide();
        view->setController(nullptr);
        // The view may be the one whose double click led here: it goes after this turn.
        view->deleteLater();
    }
}

void QuickLookVC::loadFileByPath(const QByteArray& path) {
    removeAllSubviews();
    if (path.isEmpty()) {
        emit loaded();
        return;
    }
    // Asked on a worker: a path on a slow or hung volume must not hold up the interface.
    m_probedPath = path;
    m_existenceProbe->load(path, QSize());
}

void QuickLookVC::loadFileByItem(FileSystemItem* item) {
    loadFileByPath(item ? item->path() : QByteArray());
    if (!item)
        return;
    m_captionWanted = true;
    const quint64 generation = ++m_captionGeneration;
    FolderSystemItem* folder = item->asFolder();
    if (!folder || folder->isPackage()) {
        m_countingCaption = false;
        m_captionParts = captionPartsForItem(item, false);
        return;
    }
    // A folder may hold a whole disk: its files are counted on a worker, with a limit, and
    // the caption says "..." until the count is back. The worker keeps the scanned tree
    // alive; nodes are never freed while it lives.
    const QString size = sizeTextOf(item);
    m_captionParts = {item->displayName(), countingCaption(size)};
    m_countingCaption = true;
    const bool withHidden = isScanInHiddenFolders();
    QPointer<QuickLookVC> self(this);
    Dispatch::globalQueue().async(
        [self, tree = item->tree(), folder, withHidden, size, generation] {
            const std::optional<std::uint64_t> count =
                countDeepFiles(folder, withHidden, kCaptionCountLimit);
            Dispatch::mainQueue().async([self, count, size, generation] {
                if (!self || generation != self->m_captionGeneration)
                    return;
                self->m_countingCaption = false;
                self->m_captionParts.second = folderCaption(size, count);
                if (self->m_captionWanted && self->isCaptionShown())
                    self->showCaption();
            });
        });
}

void QuickLookVC::onExistence(const PreviewFacts& facts) {
    if (facts.exists) {
        addQuickLookForPath(m_probedPath);
        if (m_captionWanted)
            showCaption();
    } else {
        showMessageThatNotExistedPath(m_probedPath);
    }
    emit loaded();
}

void QuickLookVC::addQuickLookForPath(const QByteArray& path) {
    m_path = path;
    _originalURL = QUrl::fromLocalFile(QFile::decodeName(path));
    _resolvedFileURL = _originalURL;
    auto* view = new QLPreviewViewMod(this);
    view->hide();
    view->setFrame(flipped(previewFrameForBounds(size()), height()));
    view->setPreviewItem(this);
    view->setController(this);
    _previewView = view;
    if (MacOSVersion::GetInstance().is_10_9_orHigher()) {
        addPreviewAsSubview(view);
    } else {
        QPointer<QLPreviewViewMod> late(view);
        AnimationClock::instance().after(kLatePreviewDelayMs, this, [this, late] {
            if (late)
                addPreviewAsSubview(late);
        });
    }
}

void QuickLookVC::addPreviewAsSubview(QLPreviewViewMod* previewView) {
    if (previewView != _previewView)
        return;
    previewView->setFrame(flipped(previewFrameForBounds(size()), height()));
    previewView->show();
    m_labelFolderInfo->raise();
}

void QuickLookVC::showMessageThatNotExistedPath(const QByteArray& path) {
    m_noFileView->setGeometry(rect());
    m_noFileView->showMessageForPath(path);
    m_noFileView->show();
}

void QuickLookVC::showCaption() {
    m_labelFolderInfo->makeAttributedStringWithBoldString1String2(m_captionParts.first,
                                                                  m_captionParts.second);
    layoutSubviews();
    m_labelFolderInfo->raise();
    m_labelFolderInfo->show();
}

void QuickLookVC::showQuicklookInNewWindow() {
    QuickLookController::sharedQuickLookController().setFileItemByPath(m_path);
    QuickLookController::showPreviewPanel();
}

void QuickLookVC::layoutSubviews() {
    if (_previewView)
        _previewView->setFrame(flipped(previewFrameForBounds(size()), height()));
    m_noFileView->setGeometry(rect());
    m_noFileView->centreInnerView();
    const QSizeF captionSize(qMax(0.0, width() - 2 * kCaptionSideMargin),
                             QuickLookCaptionLabel::kHeight);
    m_labelFolderInfo->setGeometry(flipped(captionFrameForBounds(size(), captionSize), height()));
}

void QuickLookVC::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutSubviews();
}

void QuickLookVC::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    painter.fillPath(path, Palette::quicklookBackgroundColor());
}

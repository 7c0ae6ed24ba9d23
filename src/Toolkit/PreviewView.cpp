#include "Toolkit/PreviewView.h"

#include "Categories/DateText.h"
#include "Categories/FileSize.h"
#include "Platform/ui/PreviewLoader.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"
#include "Toolkit/PreviewItem.h"
#include "Toolkit/QuickLookMissingView.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>

namespace {

constexpr int kPageGap = 10;
constexpr int kFactsIconSide = 128;

// The rendered first pages of a document, one under the other, each as wide as the view.
class PagesWidget final : public QWidget {
public:
    explicit PagesWidget(QWidget* parent) : QWidget(parent) {}

    void setPages(QList<QImage> pages) {
        m_pages = std::move(pages);
        fitWidth(width());
    }
    void fitWidth(int width) {
        int height = kPageGap;
        const int pageWidth = qMax(1, width - 2 * kPageGap);
        for (const QImage& page : m_pages)
            height += pageWidth * page.height() / qMax(1, page.width()) + kPageGap;
        setFixedSize(width, height);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        int y = kPageGap;
        const int pageWidth = qMax(1, width() - 2 * kPageGap);
        for (const QImage& page : m_pages) {
            const int pageHeight = pageWidth * page.height() / qMax(1, page.width());
            painter.drawImage(QRect(kPageGap, y, pageWidth, pageHeight), page);
            y += pageHeight + kPageGap;
        }
    }

private:
    QList<QImage> m_pages;
};

} // namespace

PreviewView::PreviewView(QWidget* parent) : QWidget(parent) {
    m_loader = new PreviewLoader(this);
    connect(m_loader, &PreviewLoader::factsReady, this, &PreviewView::onFacts);
    connect(m_loader, &PreviewLoader::contentReady, this, &PreviewView::onContent);

    m_textView = new QPlainTextEdit(this);
    m_textView->setReadOnly(true);
    // Keys stay with the window around the preview (the panel hands them to the lists).
    m_textView->setFocusPolicy(Qt::NoFocus);
    m_textView->setFrameShape(QFrame::NoFrame);
    m_textView->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPixelSize(12);
    m_textView->setFont(mono);
    QPalette textPalette = m_textView->palette();
    textPalette.setColor(QPalette::Base, Palette::commonBackgroundColor());
    textPalette.setColor(QPalette::Text, Palette::commonTextColor());
    m_textView->setPalette(textPalette);
    m_textView->document()->setDocumentMargin(8);
    m_textView->viewport()->installEventFilter(this);
    m_textView->hide();

    m_pagesArea = new QScrollArea(this);
    m_pagesArea->setFrameShape(QFrame::NoFrame);
    m_pagesArea->setFocusPolicy(Qt::NoFocus);
    m_pagesArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pagesArea->setWidget(new PagesWidget(m_pagesArea));
    m_pagesArea->viewport()->setAutoFillBackground(false);
    m_pagesArea->widget()->setAutoFillBackground(false);
    m_pagesArea->viewport()->installEventFilter(this);
    m_pagesArea->hide();

    m_missingView = new QuickLookMissingView(this);
    m_missingView->hide();

    // Thin scroll bars in the palette's greys for the text and the pages.
    setStyleSheet(
        QStringLiteral("QScrollBar:vertical { background: transparent; width: 10px; margin: 0; }"
                       "QScrollBar::handle:vertical { background: %1; border-radius: 3px;"
                       " min-height: 30px; margin: 2px; }"
                       "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
                       "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical"
                       " { background: none; }")
            .arg(Palette::sizeLabelColor().name()));
}

PreviewView::~PreviewView() = default;

bool PreviewView::isLoading() const {
    return m_loader->isLoading();
}

bool PreviewView::isShowingMissingMessage() const {
    return !m_missingView->isHidden();
}

void PreviewView::clear() {
    m_loader->cancel();
    m_item = nullptr;
    m_path.clear();
    m_title.clear();
    m_hasFacts = false;
    m_facts = {};
    m_hasContent = false;
    m_content = {};
    m_textView->clear();
    m_textView->hide();
    static_cast<PagesWidget*>(m_pagesArea->widget())->setPages({});
    m_pagesArea->hide();
    m_missingView->hide();
}

void PreviewView::setPreviewItem(const PreviewItem* item) {
    clear();
    update();
    if (!item)
        return;
    m_item = item;
    m_path = item->previewItemPath();
    m_title = item->previewItemTitle();
    if (!m_path.isEmpty())
        m_loader->load(m_path, kMaxPixels);
}

void PreviewView::onFacts(const PreviewFacts& facts) {
    m_hasFacts = true;
    m_facts = facts;
    if (!facts.exists) {
        m_missingView->setGeometry(rect());
        m_missingView->showMessageForPath(facts.path);
        m_missingView->show();
    }
    update();
    emit factsLoaded(facts);
}

void PreviewView::onContent(const PreviewContent& content) {
    m_hasContent = true;
    m_content = content;
    switch (content.kind) {
    case PreviewContent::Kind::Text:
        m_textView->setPlainText(content.text);
        m_textView->setGeometry(rect());
        m_textView->show();
        break;
    case PreviewContent::Kind::Pdf:
        m_pagesArea->setGeometry(rect());
        static_cast<PagesWidget*>(m_pagesArea->widget())->setPages(content.pages);
        static_cast<PagesWidget*>(m_pagesArea->widget())
            ->fitWidth(m_pagesArea->viewport()->width());
        m_pagesArea->show();
        break;
    case PreviewContent::Kind::Image:
    case PreviewContent::Kind::Video:
    case PreviewContent::Kind::None:
        break;
    }
    update();
    emit contentLoaded(content);
}

bool PreviewView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pagesArea->viewport() && event->type() == QEvent::Resize)
        static_cast<PagesWidget*>(m_pagesArea->widget())
            ->fitWidth(m_pagesArea->viewport()->width());
    // Clicks on the text or the pages count as clicks on the preview.
    if (event->type() == QEvent::MouseButtonDblClick)
        mouseDoubleClickEvent(static_cast<QMouseEvent*>(event));
    else if (event->type() == QEvent::MouseButtonRelease)
        mouseReleaseEvent(static_cast<QMouseEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

QIcon PreviewView::iconForFacts(const PreviewFacts& facts) {
    QIcon icon;
    if (!facts.iconName.isEmpty())
        icon = QIcon::fromTheme(facts.iconName);
    if (icon.isNull() && !facts.genericIconName.isEmpty())
        icon = QIcon::fromTheme(facts.genericIconName);
    if (icon.isNull())
        icon = ImageStore::icon(DarkImageName::prependDarkPrefixIfNeeded(
            facts.isDir ? QStringLiteral("preview_folder") : QStringLiteral("preview_file")));
    return icon;
}

QIcon PreviewView::iconForPath(const QByteArray& path) {
    return iconForFacts(PreviewRenderer::factsForName(path));
}

void PreviewView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (QWidget* child : {static_cast<QWidget*>(m_textView), static_cast<QWidget*>(m_pagesArea),
                           static_cast<QWidget*>(m_missingView)})
        child->setGeometry(rect());
}

void PreviewView::paintEvent(QPaintEvent*) {
    if (m_path.isEmpty() || isShowingMissingMessage() || !m_textView->isHidden() ||
        !m_pagesArea->isHidden())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_hasContent && !m_content.image.isNull())
        paintPicture(painter, m_content.image);
    else
        paintFacts(painter);
}

void PreviewView::paintPicture(QPainter& painter, const QImage& image) {
    // At most one point per pixel: a small picture stays small, a large one fits the view.
    QSizeF size = image.size();
    if (size.width() > width() || size.height() > height())
        size.scale(QSizeF(this->size()), Qt::KeepAspectRatio);
    const QRectF target(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2),
                        size);
    painter.drawImage(target, image);
}

void PreviewView::paintFacts(QPainter& painter) {
    const QFont nameFont = Fonts::fontWithName(QStringLiteral("HelveticaNeue-Bold"), 13.0);
    const QFont lineFont = Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 12.0);
    const int nameHeight = QFontMetrics(nameFont).height();
    const int lineHeight = QFontMetrics(lineFont).height();

    QStringList lines;
    if (m_hasFacts && m_facts.exists) {
        if (!m_facts.isDir)
            lines << FileSize::formatMemoryStringDot1(quint64(qMax<qint64>(0, m_facts.size)));
        lines << DateText::shortStringDate(m_facts.modified);
        lines.removeAll(QString());
    }
    const int textHeight = nameHeight + 4 + int(lines.size()) * lineHeight;
    const int iconSide =
        qBound(16, qMin(kFactsIconSide, height() - textHeight - 24), kFactsIconSide);
    const int blockHeight = iconSide + 12 + textHeight;
    int y = qMax(0, (height() - blockHeight) / 2);

    // Until the file answers, the name and the type its extension gives.
    const PreviewFacts shown = m_hasFacts ? m_facts : PreviewRenderer::factsForName(m_path);
    iconForFacts(shown).paint(&painter, QRect((width() - iconSide) / 2, y, iconSide, iconSide));
    y += iconSide + 12;

    const int textWidth = qMax(0, width() - 20);
    painter.setFont(nameFont);
    painter.setPen(Palette::commonTextColor());
    const QString name = QFontMetrics(nameFont).elidedText(shown.name, Qt::ElideMiddle, textWidth);
    painter.drawText(QRect(10, y, textWidth, nameHeight), Qt::AlignCenter, name);
    y += nameHeight + 4;
    painter.setFont(lineFont);
    painter.setPen(Palette::toolbarButtonsTextColor());
    for (const QString& line : lines) {
        painter.drawText(QRect(10, y, textWidth, lineHeight), Qt::AlignCenter, line);
        y += lineHeight;
    }
}

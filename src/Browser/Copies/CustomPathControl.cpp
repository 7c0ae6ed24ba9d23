#include "Browser/Copies/CustomPathControl.h"

#include "Browser/Copies/DuplicateSelectionVC.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace {

constexpr qreal kTitleInset = 2.0;
// Room after each title for the arrow to the next component.
constexpr qreal kComponentPadding = 14.0;
constexpr qreal kBandRadius = 4.0;
// The band starts at its folder's title: room between the band's rounded left end and the
// title, so the text does not run into the band's edge.
constexpr qreal kBandStartInset = 5.0;
const QString kShortened = QStringLiteral("…");

QFont componentFont() {
    return Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 12.0);
}

QByteArray withoutTrailingSlash(QByteArray path) {
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

QString loginName() {
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

} // namespace

QList<CustomPathControl::Component>
CustomPathControl::componentsForPath(const QByteArray& rawPath, const QByteArray& rawHome,
                                     const QString& login, const QList<QByteArray>& userFolders) {
    const QByteArray path = withoutTrailingSlash(rawPath);
    const QByteArray home = withoutTrailingSlash(rawHome);
    QList<Component> components;
    if (path.isEmpty())
        return components;
    qsizetype start = 0;
    if (home.size() > 1 && (path == home || path.startsWith(home + '/'))) {
        components.append({login, home});
        start = home.size();
    } else {
        components.append({QStringLiteral("/"), QByteArrayLiteral("/")});
    }
    while (start < path.size()) {
        const qsizetype from = start + 1;
        qsizetype end = path.indexOf('/', from);
        if (end < 0)
            end = path.size();
        if (end > from)
            components.append({QFile::decodeName(path.mid(from, end - from)), path.left(end)});
        start = end;
    }
    // A path in one of the user's own folders starts at that folder.
    if (components.size() >= 2 && components.first().path == home &&
        userFolders.contains(components.at(1).path))
        components.removeFirst();
    return components;
}

QList<CustomPathControl::Component> CustomPathControl::componentsForPath(const QByteArray& path) {
    const QByteArray home = QFile::encodeName(QDir::homePath());
    QList<QByteArray> folders;
    for (auto location : {QStandardPaths::DesktopLocation, QStandardPaths::DocumentsLocation,
                          QStandardPaths::DownloadLocation, QStandardPaths::MusicLocation,
                          QStandardPaths::PicturesLocation, QStandardPaths::MoviesLocation,
                          QStandardPaths::PublicShareLocation, QStandardPaths::TemplatesLocation}) {
        const QByteArray folder =
            withoutTrailingSlash(QFile::encodeName(QStandardPaths::writableLocation(location)));
        // An unset XDG folder falls back to the home folder itself, which starts nothing.
        if (!folder.isEmpty() && folder != home)
            folders.append(folder);
    }
    return componentsForPath(path, home, loginName(), folders);
}

std::optional<CustomPathControl::BandShape>
CustomPathControl::bandShape(const QRectF& frame, int index, int count,
                             const QByteArray& componentPath, const QByteArray& associated) {
    const qreal x = frame.x(), w = frame.width(), h = frame.height();
    if (componentPath == associated || componentPath + '/' == associated)
        return BandShape{QRectF(x + 1.5, 0.5, w + 10, h - 1), true};
    if (index == count - 1)
        return BandShape{QRectF(x - 10, 0.5, w + 9.5, h - 1), true};
    if (!associated.isEmpty() && componentPath.startsWith(associated))
        return BandShape{QRectF(x - 1.5, 0.5, w + 9.5, h - 1), false};
    return std::nullopt;
}

void CustomPathControl::setURL(const QByteArray& path) {
    m_path = path;
    m_components = componentsForPath(path);
    m_lastTitleSuffix.clear();
}

void CustomPathControl::setSelected(bool /*selected*/) {
    m_lastTitleSuffix = m_hasAssociated ? QStringLiteral("  ") : QString();
}

qreal CustomPathControl::titleInset(qsizetype index) const {
    if (!m_hasAssociated || index < 0 || index >= m_components.size())
        return kTitleInset;
    const QByteArray& path = m_components.at(index).path;
    const bool startsBand = path == _associatedFolderPath || path + '/' == _associatedFolderPath;
    return startsBand ? kTitleInset + kBandStartInset : kTitleInset;
}

CustomPathControl::Layout CustomPathControl::layout(const QRectF& bounds) const {
    Layout result;
    const QFontMetricsF metrics(componentFont());
    for (qsizetype i = 0; i < m_components.size(); ++i) {
        QString title = m_components.at(i).title;
        if (i == m_components.size() - 1)
            title += m_lastTitleSuffix;
        result.titles.append(title);
    }
    auto widthOf = [&](qsizetype i) {
        return metrics.horizontalAdvance(result.titles.at(i)) + titleInset(i) + kComponentPadding;
    };
    auto total = [&] {
        qreal sum = 0;
        for (qsizetype i = 0; i < result.titles.size(); ++i)
            sum += widthOf(i);
        return sum;
    };
    // Too long: the folders between the first and the last give way first.
    for (qsizetype i = 1; i + 1 < result.titles.size() && total() > bounds.width(); ++i)
        result.titles[i] = kShortened;
    if (!result.titles.isEmpty() && total() > bounds.width()) {
        const qsizetype last = result.titles.size() - 1;
        const qreal others = total() - widthOf(last);
        const qreal room =
            std::max<qreal>(0, bounds.width() - others - titleInset(last) - kComponentPadding);
        result.titles.last() = metrics.elidedText(result.titles.last(), Qt::ElideMiddle, room);
    }
    qreal x = bounds.left();
    for (qsizetype i = 0; i < result.titles.size(); ++i) {
        const qreal w = widthOf(i);
        result.frames.append(QRectF(x, bounds.top(), w, bounds.height()));
        x += w;
    }
    return result;
}

QList<QRectF> CustomPathControl::componentFrames(const QRectF& bounds) const {
    return layout(bounds).frames;
}

QStringList CustomPathControl::drawnTitles(const QRectF& bounds) const {
    return layout(bounds).titles;
}

int CustomPathControl::componentAt(const QRectF& bounds, const QPointF& point) const {
    if (!bounds.contains(point))
        return -1;
    const QList<QRectF> frames = componentFrames(bounds);
    for (qsizetype i = 0; i < frames.size(); ++i) {
        if (frames.at(i).contains(point))
            return int(i);
    }
    return -1;
}

void CustomPathControl::paint(QPainter& painter, const QRectF& bounds) const {
    const Layout laid = layout(bounds);
    painter.save();
    painter.setOpacity(painter.opacity() * alphaValue());
    painter.setFont(componentFont());
    const int count = int(laid.frames.size());
    for (int i = 0; i < count; ++i) {
        const QRectF frame = laid.frames.at(i);
        bool onBand = false;
        if (m_hasAssociated) {
            // The shapes are laid out from the component's own origin, so the band of each
            // component meets its neighbours'.
            const QRectF cellFrame(frame.x() - bounds.x(), 0, frame.width(), frame.height());
            if (auto shape = bandShape(cellFrame, i, count, m_components.at(i).path,
                                       _associatedFolderPath)) {
                onBand = true;
                painter.save();
                painter.translate(bounds.x(), frame.y());
                painter.setClipRect(cellFrame);
                painter.setRenderHint(QPainter::Antialiasing);
                QPainterPath outline;
                if (shape->rounded)
                    outline.addRoundedRect(shape->rect, kBandRadius, kBandRadius);
                else
                    outline.addRect(shape->rect);
                painter.fillPath(outline, Palette::lockedFillColor());
                painter.setPen(QPen(Palette::lockedLineColor(), 1.0));
                painter.drawPath(outline);
                painter.restore();
            }
        }
        // A component's band runs to its right end, under the mark that follows its title.
        painter.setPen(textColor(onBand, m_onActiveSelection));
        const qreal inset = titleInset(i);
        const QRectF titleRect(frame.x() + inset, frame.y(),
                               frame.width() - inset - kComponentPadding, frame.height());
        painter.drawText(titleRect, Qt::AlignVCenter | Qt::AlignLeft, laid.titles.at(i));
        if (i + 1 < count) {
            const QRectF arrowRect(frame.right() - kComponentPadding, frame.y(), kComponentPadding,
                                   frame.height());
            painter.drawText(arrowRect, Qt::AlignCenter, QStringLiteral("›"));
        }
    }
    painter.restore();
}

QColor CustomPathControl::textColor(bool onBand, bool onActiveSelection) {
    if (onBand)
        return Palette::lockedTextColor();
    return onActiveSelection ? Palette::commonTextColor() : Palette::toolbarButtonsTextColor();
}

void CustomPathControl::mouseDown() const {
    if (!m_controller)
        return;
    if (TableViewWithArrowHandling* table = m_controller->tableviewDuplicates())
        table->selectRow(m_indexRow);
}

void CustomPathControl::rightMouseDown(const QRectF& bounds, const QPointF& point) const {
    if (!m_controller)
        return;
    const int index = componentAt(bounds, point);
    const QByteArray path = index >= 0 ? m_components.at(index).path : m_path;
    m_controller->showMenuForPathAtIndexRow(path, m_indexRow);
}

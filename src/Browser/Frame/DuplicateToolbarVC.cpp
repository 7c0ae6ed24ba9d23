#include "DuplicateToolbarVC.h"
#include "Browser/Common/SortChoice.h"

#include "Browser/Frame/ProgressBarMini.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/Frame/ToolbarView.h"
#include "Categories/AppNotification.h"
#include "Categories/Settings.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/DuplicatesManager.h"
#include "Toolkit/BlueTitleButton.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMetaObject>

#include <algorithm>

#include <cmath>

namespace {

constexpr int kButtonWidth = 84;
constexpr int kOthersWidth = 103;
constexpr int kButtonHeight = DuplicateToolbarVC::kPillRowBottom - DuplicateToolbarVC::kStripTop;
constexpr int kBarWidth = 60;
constexpr int kBarHeight = 8;
constexpr int kStripHeight = 72;

struct ButtonInfo {
    const char* title;
    const char* image;
    const char* selectedImage;
};

// Index order: Overview, All Files, Pictures ... Folders, Similars.
constexpr std::array<ButtonInfo, 10> kButtonInfo = {{
    {"Overview", "btn_Overview", "btn_OverviewSelect"},
    {"All Files", "btn_AllFiles", "btn_AllFilesSelect"},
    {"Pictures", "btn_Pictures", "btn_PicturesSelect"},
    {"Movies", "btn_Pictures", "btn_PicturesSelect"},
    {"Music", "btn_Pictures", "btn_PicturesSelect"},
    {"Documents", "btn_Pictures", "btn_PicturesSelect"},
    {"Archives", "btn_Pictures", "btn_PicturesSelect"},
    {"Others", "btn_Pictures", "btn_PicturesSelect"},
    {"Folders", "btn_Folders", "btn_FoldersSelect"},
    {"Similars", "btn_Heaps", "btn_HeapsSelect"},
}};

const std::array<const char*, 9> kSortItems = {
    "Size", "Total Size", "Type", "Name", "Count", "Selected", "Path", "Ascending", "Descending"};

std::shared_ptr<DuplicatesContainer> container() {
    return DuplicatesManager::sharedManager().duplicateContainer();
}

QString darkName(const char* name) {
    return DarkImageName::prependDarkPrefixIfNeeded(QLatin1String(name));
}

// The sort button's width with the widest of its titles (the titles and the font never
// change, so it is measured once). The category pills keep left of it, so that the row
// stays where it is when the title changes with the view.
int widestSortButton(BlueTitleButton* button, int& measured) {
    if (measured > 0)
        return measured;
    const QString shown = button->title();
    int widest = 0;
    for (int type = 0; type <= 6; ++type) {
        button->setTitle(DuplicateToolbarVC::sortButtonTitle(type, false));
        widest = std::max(widest, button->sizeHint().width());
    }
    button->setTitle(shown);
    measured = widest;
    return widest;
}

float share(std::uint64_t part, std::uint64_t total) {
    return static_cast<float>(static_cast<double>(part) / static_cast<double>(total ? total : 1));
}

} // namespace

DuplicateToolbarVC::DuplicateToolbarVC(QWidget* parent) : QWidget(parent) {
    setObjectName(QLatin1String(kInterfaceName));
    m_viewWithButtons = new ToolbarView(this);
    int x = 0;
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        auto* button = new WhiteTitleButton(m_viewWithButtons);
        button->setTitle(QLatin1String(kButtonInfo[i].title));
        button->setImagePosition(TitleButton::ImagePosition::ImageOverlaps);
        button->setImage(darkName(kButtonInfo[i].image));
        const int w = i == 7 ? kOthersWidth : kButtonWidth;
        button->setGeometry(x, 0, w, kButtonHeight);
        x += w;
        m_buttons[i] = button;
        connect(button, &QAbstractButton::clicked, this,
                [this, i, button] { buttonPressed(static_cast<int>(i), button); });
    }
    m_viewWithButtons->resize(x, kStripHeight);
    for (std::size_t i = 0; i < m_bars.size(); ++i) {
        m_bars[i] = new ProgressBarMini(m_viewWithButtons);
        m_bars[i]->resize(kBarWidth, kBarHeight);
        m_bars[i]->move(0, kButtonHeight + 5);
    }

    m_backButton = new WhiteTitleButton(this);
    m_backButton->setTitle(QStringLiteral("Back"));
    m_backButton->sizeToFit();
    connect(m_backButton, &QAbstractButton::clicked, this, [this] { backButtonPressed(); });

    m_sortByButton = new BlueTitleButton(this);
    connect(m_sortByButton, &QAbstractButton::clicked, this, [this] { sortByPressed(); });
    m_sortMenu = new QMenu(this);
    // The sort key and the direction are each one choice of several: radio marks.
    auto* keys = new QActionGroup(m_sortMenu);
    auto* directions = new QActionGroup(m_sortMenu);
    for (auto* group : {keys, directions})
        group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (std::size_t i = 0; i < kSortItems.size(); ++i) {
        if (i == 7)
            m_sortMenu->addSeparator();
        QAction* action = m_sortMenu->addAction(QLatin1String(kSortItems[i]));
        action->setCheckable(true);
        (i < 7 ? keys : directions)->addAction(action);
        connect(action, &QAction::triggered, this, [this, i] {
            if (i < 7)
                tryToSetSortType(static_cast<int>(i));
            else
                Settings::setSortDirection(i == 7 ? Settings::SortDirectionAscending
                                                  : Settings::SortDirectionDescending);
            setSortByButtonTitle();
        });
    }
    connect(m_sortMenu, &QMenu::aboutToShow, this, [this] { validateMenu(); });

    makeSelectedButton(nullptr);
    auto& center = NotificationCenter::defaultCenter();
    m_refresh.observeResultChanges();
    center.addObserver(this, AppNotification::SortingTypeChangedNotificationName(),
                       [this](const Notification&) { updateSortButtonTitle(); });
    updateProgressBars();
    setSortByButtonTitle();
    alignProgressBars();
}

DuplicateToolbarVC::~DuplicateToolbarVC() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

void DuplicateToolbarVC::setController(SelectDuplicatesVC* controller) {
    m_controller = controller;
}

SelectDuplicatesVC* DuplicateToolbarVC::controller() const {
    return qobject_cast<SelectDuplicatesVC*>(m_controller.data());
}

// ---- Switching views.

bool DuplicateToolbarVC::hasCategoryAnyDuplicates(int type) {
    auto c = container();
    auto category = c ? c->getCategoryWithType(type) : nullptr;
    return category && category->getTotalCount() > 0;
}

bool DuplicateToolbarVC::hasHeaps() {
    auto c = container();
    return c && c->getHeaps() && c->getHeaps()->getTotalHeapsSize() > 0;
}

void DuplicateToolbarVC::buttonPressed(int index, WhiteTitleButton* sender) {
    if (m_removeIsOn || (sender && sender == m_selectedButton))
        return;
    if (index >= 2 && index <= 8 && !hasCategoryAnyDuplicates(index - 2))
        return;
    if (index == 9 && !hasHeaps())
        return;
    makeSelectedButton(index >= 2 && index <= 8 ? m_buttons[index] : sender);
    if (!m_delegate)
        return;
    switch (index) {
    case 0:
        m_delegate->overviewPressed();
        break;
    case 1:
        m_delegate->allFilesPressed();
        break;
    case 2:
        m_delegate->picturesPressed();
        break;
    case 3:
        m_delegate->moviesPressed();
        break;
    case 4:
        m_delegate->musicPressed();
        break;
    case 5:
        m_delegate->documentsPressed();
        break;
    case 6:
        m_delegate->archivesPressed();
        break;
    case 7:
        m_delegate->othersPressed();
        break;
    case 8:
        m_delegate->foldersPressed();
        break;
    default:
        m_delegate->heapsPressed();
        break;
    }
}

void DuplicateToolbarVC::overviewButtonPressed(WhiteTitleButton* s) {
    buttonPressed(0, s);
}
void DuplicateToolbarVC::allFilesButtonPressed(WhiteTitleButton* s) {
    buttonPressed(1, s);
}
void DuplicateToolbarVC::picturesButtonPressed(WhiteTitleButton* s) {
    buttonPressed(2, s);
}
void DuplicateToolbarVC::moviesButtonPressed(WhiteTitleButton* s) {
    buttonPressed(3, s);
}
void DuplicateToolbarVC::musicButtonPressed(WhiteTitleButton* s) {
    buttonPressed(4, s);
}
void DuplicateToolbarVC::documentsButtonPressed(WhiteTitleButton* s) {
    buttonPressed(5, s);
}
void DuplicateToolbarVC::archivesButtonPressed(WhiteTitleButton* s) {
    buttonPressed(6, s);
}
void DuplicateToolbarVC::othersButtonPressed(WhiteTitleButton* s) {
    buttonPressed(7, s);
}
void DuplicateToolbarVC::foldersButtonPressed(WhiteTitleButton* s) {
    buttonPressed(8, s);
}
void DuplicateToolbarVC::heapsButtonPressed(WhiteTitleButton* s) {
    buttonPressed(9, s);
}

void DuplicateToolbarVC::pressButtonForCategoryType(int type) {
    if (type >= -1 && type <= 6)
        buttonPressed(type + 2, m_buttons[type + 2]);
}

void DuplicateToolbarVC::setRemoveIsOn(bool on) {
    m_removeIsOn = on;
    makeSelectedButton(m_selectedButton);
}

void DuplicateToolbarVC::backButtonPressed() {
    if (m_removeIsOn)
        return;
    NotificationCenter::defaultCenter().post(QStringLiteral("BackToInterimScreen"));
}

bool DuplicateToolbarVC::passesRule(int index) const {
    if (index == 0)
        return true;
    if (index == 1) {
        std::uint64_t total = 0;
        for (int t = 0; t <= 6; ++t) {
            auto c = container();
            if (auto category = c ? c->getCategoryWithType(t) : nullptr)
                total += category->getTotalSize();
        }
        return total > 0;
    }
    if (index == 9)
        return hasHeaps();
    return hasCategoryAnyDuplicates(index - 2);
}

void DuplicateToolbarVC::makeSelectedButton(WhiteTitleButton* button) {
    m_selectedButton = button;
    m_sortByButton->setVisible(true);
    validateMenu();
    updateSortButtonTitle();
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        WhiteTitleButton* b = m_buttons[i];
        if (i == 7)
            b->resize(kOthersWidth, b->height());
        if (b == button) {
            b->setImage(darkName(kButtonInfo[i].selectedImage));
            setSelectedStateFor(b);
            if (i == 0)
                m_sortByButton->setVisible(false);
        } else {
            b->setImage(darkName(kButtonInfo[i].image));
            setNormalStateFor(b);
        }
        // The selected button keeps its look; either way no press goes through.
        if (m_removeIsOn && b != button)
            setDisabledStateFor(b);
        else if (m_removeIsOn)
            b->setDisabled(true);
    }
    m_backButton->setDisabled(m_removeIsOn);
    // The Others pill's own width holds where the row has it; in a narrow window the row
    // gives every pill its share again.
    fitButtonsToWidth();
    m_viewWithButtons->update();
}

void DuplicateToolbarVC::setNormalStateFor(WhiteTitleButton* button) {
    button->setDisabled(false);
    const bool heaps = button == heapsButton();
    button->setColor(heaps ? Palette::toolbarHeapButtonTextColor()
                           : Palette::toolbarButtonsTextColor());
    const auto index = std::find(m_buttons.begin(), m_buttons.end(), button) - m_buttons.begin();
    if (!passesRule(static_cast<int>(index)))
        setDisabledStateFor(button);
}

void DuplicateToolbarVC::setSelectedStateFor(WhiteTitleButton* button) {
    button->setDisabled(false);
    button->setColor(Palette::toolbarSelectedButtonTextColor());
    for (int i = 1; i <= 8; ++i)
        m_buttons[i]->raise();
    button->raise();
}

void DuplicateToolbarVC::setDisabledStateFor(WhiteTitleButton* button) {
    button->setDisabled(true);
    if (button == heapsButton()) {
        QColor color = Palette::toolbarHeapButtonTextColor();
        color.setAlphaF(0.5f);
        button->setColor(color);
    } else {
        button->setColor(Palette::toolbarButtonsDisabledTextColor());
    }
}

// ---- Mini bars.

void DuplicateToolbarVC::updateProgressBarWithType(ProgressBarMini* bar, int type) {
    auto c = container();
    auto category = c ? c->getCategoryWithType(type) : nullptr;
    if (!category) {
        bar->setVisible(false);
        return;
    }
    const std::uint64_t total = category->getTotalSize();
    const std::uint64_t green = category->getTotalGreenSize();
    const std::uint64_t red = category->getTotalRedSize();
    bar->setSelectedProgressUndeletableProgressSelectedUndeletableProgressWithTotalSelectedSize(
        share(green, total), share(category->getTotalBlueSize(), total), share(red, total),
        green + red);
    bar->setVisible(category->getTotalCount() > 0);
}

void DuplicateToolbarVC::updateProgressBars() {
    auto c = container();
    std::uint64_t green = 0, blue = 0, red = 0;
    for (int t = 0; c && t <= 6; ++t) {
        if (auto category = c->getCategoryWithType(t)) {
            green += category->getTotalGreenSize();
            blue += category->getTotalBlueSize();
            red += category->getTotalRedSize();
        }
    }
    const std::uint64_t all = c ? c->getAllFilesSize() : 0;
    progressBar(-1)
        ->setSelectedProgressUndeletableProgressSelectedUndeletableProgressWithTotalSelectedSize(
            share(green, all), share(blue, all), share(red, all), green + red);
    for (int t = 0; t <= 6; ++t)
        updateProgressBarWithType(progressBar(t), t);
    std::uint64_t heapsTotal = 0, hg = 0, hb = 0, hr = 0;
    if (c && c->getHeaps()) {
        heapsTotal = c->getHeaps()->getTotalHeapsSize();
        c->getHeaps()->calculateTotalGreenSize(&hg, &hb, &hr);
    }
    progressBar(7)
        ->setSelectedProgressUndeletableProgressSelectedUndeletableProgressWithTotalSelectedSize(
            share(hg, heapsTotal), share(hb, heapsTotal), share(hr, heapsTotal), hg + hr);
    progressBar(7)->setVisible(heapsTotal > 0);
}

void DuplicateToolbarVC::alignProgressBars() {
    for (std::size_t i = 0; i < m_bars.size(); ++i) {
        const QRect f = m_buttons[i + 1]->geometry();
        // Pills narrowed by a small window get bars that keep a gap between them.
        m_bars[i]->resize(std::min(kBarWidth, std::max(0, f.width() - 8)), m_bars[i]->height());
        const float x = std::floor(static_cast<float>(f.x()) +
                                   static_cast<float>(f.width() - m_bars[i]->width()) * 0.5f);
        m_bars[i]->move(static_cast<int>(x), m_bars[i]->y());
    }
}

void DuplicateToolbarVC::refresh(bool dataChanged) {
    ++m_refreshCount;
    updateProgressBars();
    if (dataChanged) {
        makeSelectedButton(m_selectedButton);
        m_viewWithButtons->update();
    }
}

// ---- Sort menu.

bool DuplicateToolbarVC::isSimilarsView() const {
    return m_selectedButton && m_selectedButton == heapsButton();
}

QAction* DuplicateToolbarVC::sortMenuItem(const QString& title) const {
    for (QAction* action : m_sortMenu->actions())
        if (action->text() == title)
            return action;
    return nullptr;
}

void DuplicateToolbarVC::sortByPressed() {
    validateMenu();
    m_sortMenu->popup(
        sortMenuOrigin(QRect(m_sortByButton->mapToGlobal(QPoint(0, 0)), m_sortByButton->size())));
}

QPoint DuplicateToolbarVC::sortMenuOrigin(const QRect& buttonOnScreen) {
    // The button's lower-left corner (its origin, y up), 2 points left and 5 points lower;
    // the menu's top-left corner goes there.
    return QPoint(buttonOnScreen.x() - 2, buttonOnScreen.y() + buttonOnScreen.height() + 5);
}

void DuplicateToolbarVC::tryToSetSortType(int type) {
    SortChoice::tryToSetSortType(type);
}

void DuplicateToolbarVC::validateMenu() {
    const int type = Settings::sortType();
    const int direction = Settings::sortDirection();
    const bool similars = isSimilarsView();
    for (QAction* action : m_sortMenu->actions()) {
        if (action->isSeparator())
            continue;
        action->setVisible(true);
        action->setChecked(false);
        action->setEnabled(true);
        const QString title = action->text();
        const auto index = std::find_if(kSortItems.begin(), kSortItems.end(),
                                        [&](const char* t) { return title == QLatin1String(t); }) -
                           kSortItems.begin();
        bool ticked = false;
        if (index == 1)
            ticked = similars ? (type == 0 || type == 1 || type == 2) : type == 1;
        else if (index < 7)
            ticked = type == index;
        else if (index == 7)
            ticked = direction == 0;
        else if (index == 8)
            ticked = direction == 1;
        action->setChecked(ticked);
        if (similars && (index == 0 || index == 2))
            action->setVisible(false);
    }
}

QString DuplicateToolbarVC::sortButtonTitle(int sortType, bool similarsView) {
    static const std::array<const char*, 7> kTitles = {
        "Sort by Size",  "Sort by Total Size", "Sort by Type", "Sort by Name",
        "Sort by Count", "Sort by Selected",   "Sort by Path"};
    if (sortType < 0 || sortType > 6)
        return {};
    if (similarsView && (sortType == 0 || sortType == 2))
        sortType = 1;
    return QLatin1String(kTitles[static_cast<std::size_t>(sortType)]);
}

void DuplicateToolbarVC::fitButtonsToWidth() {
    const auto naturalWidth = [](std::size_t i) { return i == 7 ? kOthersWidth : kButtonWidth; };
    int natural = 0;
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        natural += naturalWidth(i);
    // The strip never starts closer than 78 points to the left edge.
    const int room =
        width() - 16 - widestSortButton(m_sortByButton, m_widestSortButtonWidth) - 8 - 78;
    const double factor = room <= 0 || room >= natural ? 1.0 : double(room) / natural;
    // A pill keeps at least the width of its title; the others give up the rest.
    std::array<int, std::tuple_size_v<decltype(m_buttons)>> widths{};
    std::array<bool, std::tuple_size_v<decltype(m_buttons)>> held{};
    double scale = factor;
    for (std::size_t pass = 0; factor < 1.0 && pass < m_buttons.size(); ++pass) {
        int heldWidth = 0;
        int freeNatural = 0;
        bool changed = false;
        for (std::size_t i = 0; i < m_buttons.size(); ++i) {
            const QFontMetricsF metrics(
                Fonts::fontWithName(m_buttons[i]->fontName(), m_buttons[i]->pointSize()));
            const int title = int(std::ceil(metrics.horizontalAdvance(m_buttons[i]->title()))) + 8;
            if (!held[i] && naturalWidth(i) * scale < title) {
                held[i] = true;
                widths[i] = std::min(title, naturalWidth(i));
                changed = true;
            }
            if (held[i])
                heldWidth += widths[i];
            else
                freeNatural += naturalWidth(i);
        }
        if (!changed || freeNatural == 0)
            break;
        scale = std::max(0.0, double(room - heldWidth) / freeNatural);
    }
    int x = 0;
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        const int w = held[i] ? widths[i] : int(std::floor(naturalWidth(i) * scale));
        m_buttons[i]->setGeometry(x, 0, w, kButtonHeight);
        x += w;
    }
    m_viewWithButtons->resize(x, kStripHeight);
    alignProgressBars();
}

void DuplicateToolbarVC::updateSortButtonTitle() {
    const QString title = sortButtonTitle(Settings::sortType(), isSimilarsView());
    if (title.isEmpty())
        return;
    m_sortByButton->setTitle(title);
    m_sortByButton->sizeToFit();
    m_sortByButton->move(width() - m_sortByButton->width() - 16, m_sortByButton->y());
    m_viewWithButtons->setRightLimit(width() - 16 -
                                     widestSortButton(m_sortByButton, m_widestSortButtonWidth) - 8);
    fitButtonsToWidth();
    m_viewWithButtons->windowDidResize();
}

void DuplicateToolbarVC::setSortByButtonTitle() {
    updateSortButtonTitle();
    AppNotification::CreateSortingTypeChangedNotification();
}

void DuplicateToolbarVC::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_backButton->move(16, kStripTop + (kButtonHeight - m_backButton->height()) / 2);
    m_sortByButton->move(width() - m_sortByButton->width() - 16,
                         height() - m_sortByButton->height() - 4);
    m_viewWithButtons->move(m_viewWithButtons->x(), kStripTop);
    m_viewWithButtons->setRightLimit(width() - 16 -
                                     widestSortButton(m_sortByButton, m_widestSortButtonWidth) - 8);
    fitButtonsToWidth();
    m_viewWithButtons->windowDidResize();
    viewFrameDidChangeNotification();
}

void DuplicateToolbarVC::viewFrameDidChangeNotification() {
    const QWidget* w = window();
    if (!w)
        return;
    const QPoint topLeft = m_backButton->mapTo(w, QPoint(0, 0));
    const QRectF r(topLeft.x(), w->height() - topLeft.y() - m_backButton->height(),
                   m_backButton->width(), m_backButton->height());
    DuplicatesManager::getFramesArrayForScreenAndHint(4, 1) = {
        QRectF(r.x() + 1, r.y() + 1, r.width() - 2, r.height() - 4)};
}

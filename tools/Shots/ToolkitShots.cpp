// The toolkit's controls, each on one sheet with its states side by side.
#include "Shots.h"

#include "Toolkit/AnimationClock.h"
#include "Toolkit/Backgrounds.h"
#include "Toolkit/BlueDarkTitleButton.h"
#include "Toolkit/BlueRowView.h"
#include "Toolkit/BlueTitleButton.h"
#include "Toolkit/BlueUnderlineTitleButton.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/CellWithCustomSelection.h"
#include "Toolkit/ColoredTitleButton.h"
#include "Toolkit/ColoredView.h"
#include "Toolkit/CommonBlackButton.h"
#include "Toolkit/DarkBlueUnderlineTitleButton.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/FolderLabelView.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/GreenButton.h"
#include "Toolkit/HeaderButton.h"
#include "Toolkit/ImageWithBadgeView.h"
#include "Toolkit/MyScroller.h"
#include "Toolkit/NoDupsUnderlineButton.h"
#include "Toolkit/Palette.h"
#include "Toolkit/RestorePreferencesButton.h"
#include "Toolkit/ScrollViewWithBorder.h"
#include "Toolkit/SearchTextField.h"
#include "Toolkit/SplitViewWithDivider.h"
#include "Toolkit/TableViewWithArrowHandling.h"
#include "Toolkit/TextContainerView.h"
#include "Toolkit/UMTickerScrollView.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QStandardItemModel>

#include <functional>
#include <vector>

namespace {

QString dark(const char* name) {
    return DarkImageName::prependDarkPrefixIfNeeded(QString::fromLatin1(name));
}

// A sheet on the common background: one column per state, each with a small caption.
class Sheet final : public ViewWithCommonBackground {
public:
    Sheet() {
        m_grid = new QGridLayout(this);
        m_grid->setContentsMargins(16, 12, 16, 12);
        m_grid->setHorizontalSpacing(24);
        m_grid->setVerticalSpacing(6);
    }

    void add(const QString& caption, QWidget* control, int row = 0) {
        auto* label = new QLabel(caption, this);
        label->setFont(Fonts::font(10));
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, Palette::sizeLabelColor());
        label->setPalette(colours);
        const int column = m_columns[row]++;
        m_grid->addWidget(label, row * 2, column, Qt::AlignLeft | Qt::AlignBottom);
        control->setParent(this);
        m_grid->addWidget(control, row * 2 + 1, column, Qt::AlignLeft | Qt::AlignTop);
    }

private:
    QGridLayout* m_grid = nullptr;
    std::map<int, int> m_columns;
};

enum class State { Normal, Hover, Pressed, Selected, Disabled };
const std::pair<State, const char*> kStates[] = {{State::Normal, "normal"},
                                                 {State::Hover, "hover"},
                                                 {State::Pressed, "pressed"},
                                                 {State::Selected, "selected"},
                                                 {State::Disabled, "disabled"}};

void applyState(TitleButton* button, State state) {
    switch (state) {
    case State::Normal:
        break;
    case State::Hover:
        if (auto* tracking = qobject_cast<ButtonWithTrackingArea*>(button))
            tracking->mouseEntered();
        break;
    case State::Pressed:
        button->setDown(true);
        break;
    case State::Selected:
        button->setCheckable(true);
        button->setChecked(true);
        if (auto* tab = qobject_cast<BlueDarkTitleButton*>(button))
            tab->setSelected(true);
        break;
    case State::Disabled:
        button->setEnabled(false);
        break;
    }
}

// One sheet per button class: every state of a title-only and (where it has one) an image
// variant.
void buttonSheet(ShotSession& session, const QString& name,
                 const std::function<TitleButton*()>& make, const QString& title) {
    Sheet sheet;
    std::vector<std::pair<TitleButton*, State>> buttons;
    for (const auto& [state, caption] : kStates) {
        TitleButton* button = make();
        button->setTitle(title);
        button->sizeToFit();
        sheet.add(QString::fromLatin1(caption), button);
        buttons.emplace_back(button, state);
    }
    // States after showing, since showing brings the hover in line with the pointer.
    sheet.show();
    for (const auto& [button, state] : buttons)
        applyState(button, state);
    session.save(name, &sheet);
}

ButtonWithTrackingArea* checkBoxWithHover() {
    auto* button = new ButtonWithTrackingArea;
    button->setButtonType(TitleButton::ButtonType::Toggle);
    button->setImagePosition(TitleButton::ImagePosition::ImageOnly);
    button->setMainImage(dark("checkbox0"));
    button->setHoveredImage(dark("checkbox1"));
    button->setImage(dark("checkbox0"));
    button->setAlternateImage(dark("checkbox1"));
    button->setTrackingEnabled(true);
    button->sizeToFit();
    return button;
}

// A stand-in for a folder's workspace icon, which the file manager's theme supplies.
QPixmap folderIcon() {
    QPixmap icon(QSize(32, 32) * 2);
    icon.setDevicePixelRatio(2);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::archivesBottomStick());
    painter.drawRoundedRect(QRectF(2, 6, 14, 6), 2, 2);
    painter.setBrush(Palette::archivesDuplicatesStick());
    painter.drawRoundedRect(QRectF(2, 9, 28, 20), 3, 3);
    return icon;
}

QStandardItemModel* makeRows(QObject* parent, int count) {
    auto* model = new QStandardItemModel(count, 2, parent);
    for (int row = 0; row < count; ++row) {
        model->setItem(row, 0,
                       new QStandardItem(QStringLiteral("Holiday photo %1.jpg").arg(row + 1)));
        model->setItem(row, 1, new QStandardItem(QStringLiteral("%1.2 MB").arg(row + 1)));
    }
    return model;
}

} // namespace

SORVANTA_SHOT_AREA(toolkit) {
    // Title buttons.
    buttonSheet(
        session, QStringLiteral("ButtonWithTrackingArea-title"),
        [] { return new ButtonWithTrackingArea; }, QStringLiteral("Find Duplicates"));
    {
        Sheet sheet;
        std::vector<std::pair<TitleButton*, State>> buttons;
        for (const auto& [state, caption] : kStates) {
            ButtonWithTrackingArea* button = checkBoxWithHover();
            sheet.add(QString::fromLatin1(caption), button);
            buttons.emplace_back(button, state);
        }
        sheet.show();
        for (const auto& [button, state] : buttons)
            applyState(button, state);
        session.save(QStringLiteral("ButtonWithTrackingArea-image"), &sheet);
    }
    buttonSheet(
        session, QStringLiteral("WhiteTitleButton"), [] { return new WhiteTitleButton; },
        QStringLiteral("Remove Selected"));
    buttonSheet(
        session, QStringLiteral("WhiteGrayTitleButton"), [] { return new WhiteGrayTitleButton; },
        QStringLiteral("Cancel"));
    buttonSheet(
        session, QStringLiteral("BlueTitleButton"), [] { return new BlueTitleButton; },
        QStringLiteral("Sort by Size"));
    buttonSheet(
        session, QStringLiteral("CommonBlackButton"), [] { return new CommonBlackButton; },
        QStringLiteral("Move to Trash"));
    buttonSheet(
        session, QStringLiteral("DarkBlueUnderlineTitleButton"),
        [] { return new DarkBlueUnderlineTitleButton; }, QStringLiteral("sorvanta.app"));
    buttonSheet(
        session, QStringLiteral("GreenButton"), [] { return new GreenButton; },
        QStringLiteral("Continue"));
    buttonSheet(
        session, QStringLiteral("BlueDarkTitleButton"), [] { return new BlueDarkTitleButton; },
        QStringLiteral("General"));
    buttonSheet(
        session, QStringLiteral("ColoredTitleButton"),
        [] {
            auto* button = new ColoredTitleButton;
            button->setTitleColor(Palette::toolbarHeapButtonTextColor());
            return button;
        },
        QStringLiteral("Similar Folders"));
    buttonSheet(
        session, QStringLiteral("HeaderButton"), [] { return new HeaderButton; },
        QStringLiteral("Name"));
    buttonSheet(
        session, QStringLiteral("RestorePreferencesButton"),
        [] { return new RestorePreferencesButton; }, QStringLiteral("Restore Defaults"));
    buttonSheet(
        session, QStringLiteral("BlueUnderlineTitleButton"),
        [] { return new BlueUnderlineTitleButton; }, QStringLiteral("Learn more"));
    buttonSheet(
        session, QStringLiteral("NoDupsUnderlineButton"), [] { return new NoDupsUnderlineButton; },
        QStringLiteral("Scan again"));

    // Backgrounds and containers.
    {
        Sheet sheet;
        auto* colored = new ColoredView;
        colored->setColor(Palette::selectedRowColor());
        colored->setFixedSize(120, 40);
        sheet.add(QStringLiteral("ColoredView"), colored);
        auto* empty = new ColoredView;
        empty->setFixedSize(120, 40);
        sheet.add(QStringLiteral("ColoredView without colour"), empty);
        auto* gray = new GrayContainerView;
        gray->setFixedSize(160, 60);
        sheet.add(QStringLiteral("GrayContainerView"), gray);
        auto* text = new TextContainerView;
        text->setFixedSize(160, 60);
        sheet.add(QStringLiteral("TextContainerView"), text);
        auto* label = new FolderLabelView;
        label->setFixedSize(120, 26);
        sheet.add(QStringLiteral("FolderLabelView"), label);
        auto* bottom = new BottombarBackgroundView;
        bottom->setFixedSize(420, 44);
        sheet.add(QStringLiteral("BottombarBackgroundView"), bottom, 1);
        auto* toolbar = new ToolbarBackgroundView;
        toolbar->setFixedSize(420, 70);
        sheet.add(QStringLiteral("ToolbarBackgroundView"), toolbar, 1);
        auto* scroll = new ScrollViewWithBorder;
        auto* inner = new ColoredView;
        inner->setColor(Palette::commonRowColor());
        inner->resize(300, 300);
        scroll->setWidget(inner);
        scroll->setFixedSize(160, 100);
        sheet.add(QStringLiteral("ScrollViewWithBorder"), scroll, 2);
        auto* locked = new ColoredView;
        locked->setFixedSize(160, 100);
        locked->setAutoFillBackground(true);
        QPalette lockedColours = locked->palette();
        lockedColours.setBrush(QPalette::Window, Palette::lockedFillColor());
        locked->setPalette(lockedColours);
        sheet.add(QStringLiteral("lockedFillColor"), locked, 2);
        session.save(QStringLiteral("backgrounds"), &sheet);
    }

    // Badges, with the layouts the lists show.
    {
        Sheet sheet;
        const struct {
            const char* caption;
            int selected, similar;
        } cases[] = {{"no badges", 0, 0},
                     {"5 selected", 5, 0},
                     {"12 and 3 similar", 12, 3},
                     {"150 selected", 150, 0},
                     {"3 similar", 0, 3}};
        for (const auto& c : cases) {
            auto* view = new ImageWithBadgeView;
            view->resize(39, 36);
            view->setImageWithSelectedBadgeNumberAndSimilarSelectedBadgeNumber(
                folderIcon(), c.selected, c.similar);
            view->setFixedSize(view->size());
            sheet.add(QString::fromLatin1(c.caption), view);
        }
        session.save(QStringLiteral("ImageWithBadgeView"), &sheet);
    }

    // Table pieces: a list with a selected row, with and without the focus.
    for (const bool focused : {true, false}) {
        ViewWithCommonBackground frame;
        auto* layout = new QGridLayout(&frame);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* table = new TableViewWithArrowHandling(&frame);
        table->setModel(makeRows(table, 30));
        new CellWithCustomSelection(table);
        table->horizontalHeader()->hide();
        table->setColumnWidth(0, 220);
        table->setColumnWidth(1, 100);
        table->verticalHeader()->setDefaultSectionSize(28);
        table->selectRow(2);
        layout->addWidget(table);
        frame.resize(340, 200);
        frame.show();
        if (focused) {
            frame.activateWindow();
            QApplication::setActiveWindow(&frame);
            table->setFocus();
        } else {
            // Showing the window would hand the focus back to the list.
            table->setFocusPolicy(Qt::NoFocus);
            table->clearFocus();
        }
        session.save(focused ? QStringLiteral("table-active") : QStringLiteral("table-inactive"),
                     &frame);
    }
    {
        Sheet sheet;
        QImage selection(QSize(200, 28) * 2, QImage::Format_ARGB32_Premultiplied);
        selection.setDevicePixelRatio(2);
        selection.fill(Qt::transparent);
        QPainter painter(&selection);
        BlueRowView::drawSelectionInRect(painter, QRectF(0, 0, 200, 28));
        painter.end();
        auto* row = new QLabel;
        row->setPixmap(QPixmap::fromImage(selection));
        sheet.add(QStringLiteral("BlueRowView selection"), row);
        auto* vertical = new MyScroller(Qt::Vertical);
        vertical->setRange(0, 100);
        vertical->setPageStep(40);
        vertical->setValue(30);
        vertical->setFixedSize(11, 120);
        sheet.add(QStringLiteral("MyScroller"), vertical);
        auto* horizontal = new MyScroller(Qt::Horizontal);
        horizontal->setRange(0, 100);
        horizontal->setPageStep(40);
        horizontal->setValue(100);
        horizontal->setFixedSize(160, 11);
        sheet.add(QStringLiteral("MyScroller horizontal"), horizontal);
        auto* search = new SearchTextField;
        search->setPlaceholderText(QStringLiteral("Search"));
        search->setFixedSize(180, 22);
        sheet.add(QStringLiteral("SearchTextField empty"), search, 1);
        auto* filled = new SearchTextField;
        filled->setText(QStringLiteral("holiday"));
        filled->setFixedSize(180, 22);
        sheet.add(QStringLiteral("SearchTextField"), filled, 1);
        auto* disabled = new SearchTextField;
        disabled->setText(QStringLiteral("holiday"));
        disabled->setEnabled(false);
        disabled->setFixedSize(180, 22);
        sheet.add(QStringLiteral("SearchTextField disabled"), disabled, 1);
        session.save(QStringLiteral("table-pieces"), &sheet);
    }

    // Split views with both grips.
    {
        ViewWithCommonBackground frame;
        auto* layout = new QGridLayout(&frame);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* split = new SplitViewWithDivider(Qt::Horizontal, &frame);
        auto* left = new ColoredView;
        left->setColor(Palette::commonRowColor());
        split->addWidget(left);
        auto* right = new SplitViewWithDivider(Qt::Vertical);
        auto* top = new ColoredView;
        top->setColor(Palette::quicklookBackgroundColor());
        auto* bottom = new ColoredView;
        bottom->setColor(Palette::commonPanelBackgroundColor());
        right->addWidget(top);
        right->addWidget(bottom);
        split->addWidget(right);
        layout->addWidget(split);
        frame.resize(420, 240);
        split->setSizes({160, 253});
        right->setSizes({120, 113});
        session.save(QStringLiteral("SplitViewWithDivider"), &frame);
    }

    // Ticker: at rest (fitting, truncated, at the root) and while scrolling.
    {
        Sheet sheet;
        const char* paths[] = {"/home/anna/Pictures",
                               "/home/anna/Pictures/2019/Holidays/Lake Garda", "/Users",
                               "Documents"};
        for (const char* path : paths) {
            auto* ticker = new UMTickerScrollView;
            ticker->setFixedSize(200, 20);
            ticker->setStringValue(QString::fromLatin1(path));
            sheet.add(QString::fromLatin1(path).left(24), ticker);
        }
        AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
        auto* scrolling = new UMTickerScrollView;
        scrolling->setFixedSize(200, 20);
        scrolling->setStringValue(QStringLiteral("/home/anna/Pictures/2019/Holidays/Lake Garda"));
        sheet.add(QStringLiteral("scrolling, 1 s in"), scrolling, 1);
        sheet.show();
        scrolling->mouseEntered();
        AnimationClock::instance().advance(1500);
        session.save(QStringLiteral("UMTickerScrollView"), &sheet);
        AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
    }
}

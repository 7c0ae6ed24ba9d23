#include "Preferences/PreferencesListPane.h"

#include "Categories/Settings.h"
#include "Platform/ui/KeyEventFromQt.h"
#include "Preferences/PreferencesTexts.h"
#include "Preferences/PrefsListModel.h"
#include "Preferences/PrefsTableCellView.h"
#include "Selection/SettingsRestore.h"
#include "Toolkit/ColoredView.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/MyScroller.h"
#include "Toolkit/Palette.h"
#include "Toolkit/RestorePreferencesButton.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QScrollBar>
#include <QTreeView>

namespace {

constexpr int kTypeRowHeight = 36;
constexpr int kListRowHeight = 24;
constexpr quint16 kReturnKey = 36;
constexpr quint16 kDeleteKey = 51;
constexpr quint16 kEscapeKey = 53;

PreferencesListPane::OpenPanelRunner& openPanelRunner() {
    static PreferencesListPane::OpenPanelRunner runner;
    return runner;
}

void showFileDialog(QWidget* window, const PreferencesListPane::OpenPanelRequest& request,
                    std::function<void(const QStringList&)> done) {
    auto* panel = new QFileDialog(window, request.title);
    // Only the toolkit's own dialog lets several folders be chosen at once.
    panel->setOption(QFileDialog::DontUseNativeDialog, true);
    QDir::Filters filters = QDir::AllDirs | QDir::NoDotAndDotDot;
    if (request.canChooseDirectories) {
        panel->setFileMode(QFileDialog::Directory);
        panel->setOption(QFileDialog::ShowDirsOnly, true);
        for (auto* view : panel->findChildren<QListView*>(QStringLiteral("listView")))
            view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        for (auto* view : panel->findChildren<QTreeView*>())
            view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    } else {
        panel->setFileMode(QFileDialog::ExistingFiles);
        filters |= QDir::Files;
    }
    if (request.showsHiddenFiles)
        filters |= QDir::Hidden;
    panel->setFilter(filters);
    panel->setWindowModality(Qt::WindowModal);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(panel, &QFileDialog::finished, panel,
                     [panel, done = std::move(done)](int result) {
                         if (result == QDialog::Accepted)
                             done(panel->selectedFiles());
                     });
    panel->open();
}

QListView* makeTable(QWidget* parent, PrefsListModel* model, PrefsTableCellView* cell) {
    auto* table = new QListView(parent);
    table->setModel(model);
    table->setItemDelegate(cell);
    table->setFrameShape(QFrame::NoFrame);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setUniformItemSizes(true);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBar(new MyScroller(Qt::Vertical, table));
    QPalette colours = table->palette();
    colours.setColor(QPalette::Base, Palette::commonPrefRowColor());
    table->setPalette(colours);
    table->setAutoFillBackground(true);
    return table;
}

} // namespace

void PreferencesListPane::setOpenPanelRunner(OpenPanelRunner runner) {
    openPanelRunner() = std::move(runner);
}

PreferencesListPane::PreferencesListPane(QWidget* parent) : QWidget(parent) {
    setAcceptDrops(true);
    m_descriptionLabel = new QLabel(this);
    m_descriptionLabel->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 13));
    QPalette text = m_descriptionLabel->palette();
    text.setColor(QPalette::WindowText, Palette::commonTextColor());
    m_descriptionLabel->setPalette(text);

    m_typeModel = new PrefsListModel(this);
    m_listModel = new PrefsListModel(this);
    m_typeCell = new PrefsTableCellView(false, kTypeRowHeight, this);
    m_listCell = new PrefsTableCellView(true, kListRowHeight, this);
    m_pTypeSelectionTable = makeTable(this, m_typeModel, m_typeCell);
    m_pTypeSelectionTable->setObjectName(QLatin1String(PrefsTableCellView::kTypeSelectionCellView));
    m_pTypeSelectionTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pExcludeListTable = makeTable(this, m_listModel, m_listCell);
    m_pExcludeListTable->setObjectName(QLatin1String(PrefsTableCellView::kExcludeListCellView));
    m_pExcludeListTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pExcludeListTable->installEventFilter(this);

    m_pTableBottomBarView = new ColoredView(this);
    m_addButton = new WhiteTitleButton(m_pTableBottomBarView);
    m_addButton->setPointSize(17);
    m_addButton->setTitle(PreferencesTexts::addButton());
    m_removeButton = new WhiteTitleButton(m_pTableBottomBarView);
    m_removeButton->setPointSize(17);
    m_removeButton->setTitle(PreferencesTexts::removeButton());
    m_restoreDefaultsButton = new RestorePreferencesButton(this);
    m_restoreDefaultsButton->setTitle(PreferencesTexts::restoreDefaults());
    m_restoreDefaultsButton->sizeToFit();

    connect(m_addButton, &QAbstractButton::clicked, this, [this] { onPreessAddButton(); });
    connect(m_removeButton, &QAbstractButton::clicked, this, [this] { onPressRemoveButton(); });
    connect(m_restoreDefaultsButton, &QAbstractButton::clicked, this,
            [this] { onPressRestoreDefaultsButton(); });
    connect(m_pExcludeListTable, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { rowWasDoubleClicked(index.row()); });
    connect(m_pTypeSelectionTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { onTypeSelectionChanged(); });
    layoutViews();
}

void PreferencesListPane::loadDefaultInformation() {
    // The bar under the tables carries its own colour, outside the palette.
    m_pTableBottomBarView->setColor(
        Palette::properColorWithRedGreenBlueAlpha(109 / 255.f, 146 / 255.f, 165 / 255.f, 1));
    m_nSelectedType = -1;
    m_arrExcludeListData.clear();
    QStringList titles;
    QStringList images;
    for (int type = 0; type < typeCount(); ++type) {
        titles << typeTitle(type);
        images << typeImage(type);
    }
    m_typeModel->setRows(titles, images);
    m_listModel->setRows({});
    m_loaded = true;
    // The first type row starts out chosen; choosing it loads its list.
    selectType(0);
}

void PreferencesListPane::updateData() {
    loadExcludeListContentFromSave();
}

void PreferencesListPane::loadExcludeListContentFromSave() {
    setExcludeListData(getExcludeListContentFromSave(), false);
}

void PreferencesListPane::selectType(int type) {
    if (type < 0 || type >= m_typeModel->rowCount())
        return;
    m_pTypeSelectionTable->selectionModel()->select(m_typeModel->index(type),
                                                    QItemSelectionModel::ClearAndSelect);
    m_pTypeSelectionTable->selectionModel()->setCurrentIndex(m_typeModel->index(type),
                                                             QItemSelectionModel::NoUpdate);
}

void PreferencesListPane::onTypeSelectionChanged() {
    const QModelIndexList rows = m_pTypeSelectionTable->selectionModel()->selectedRows();
    if (!m_loaded || rows.size() != 1 || rows.first().row() == m_nSelectedType)
        return;
    // An edit under way belongs to the list it was made in.
    finishEditing(true);
    m_nSelectedType = rows.first().row();
    loadExcludeListContentFromSave();
    m_pExcludeListTable->scrollToTop();
    currentTypeChanged();
}

void PreferencesListPane::showList(const QStringList& list) {
    if (m_editField)
        finishEditing(false);
    m_arrExcludeListData = withoutEmptyStrings(list);
    m_arrExcludeListData << QString();
    m_listModel->setRows(m_arrExcludeListData);
}

void PreferencesListPane::selectListRows(const QList<int>& rows) {
    QItemSelection selection;
    for (int row : rows) {
        if (row >= 0 && row < m_listModel->rowCount())
            selection.select(m_listModel->index(row), m_listModel->index(row));
    }
    m_pExcludeListTable->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

QList<int> PreferencesListPane::selectedListRows() const {
    QList<int> rows;
    for (const QModelIndex& index : m_pExcludeListTable->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void PreferencesListPane::selectRowOfSinglePath(const QStringList& paths) {
    if (paths.size() != 1)
        return;
    const qsizetype row = m_arrExcludeListData.indexOf(paths.first());
    if (row >= 0)
        selectListRows({int(row)});
}

void PreferencesListPane::onPressRemoveButton() {
    const QList<int> selected = selectedListRows();
    QStringList kept;
    for (int row = 0; row < m_arrExcludeListData.size(); ++row) {
        if (!selected.contains(row))
            kept << m_arrExcludeListData[row];
    }
    setExcludeListData(kept, true);
}

void PreferencesListPane::onPressRestoreDefaultsButton() {
    Settings::restoreDefaultsForAllSettings();
    loadExcludeListContentFromSave();
}

void PreferencesListPane::rowWasDoubleClicked(int row) {
    if (row >= 0 && row < m_arrExcludeListData.size())
        startEditingRow(row);
}

void PreferencesListPane::startEditingRow(int row) {
    finishEditing(true);
    if (row < 0 || row >= m_arrExcludeListData.size())
        return;
    const QModelIndex index = m_listModel->index(row);
    m_pExcludeListTable->scrollTo(index);
    auto* field = new QLineEdit(m_pExcludeListTable->viewport());
    field->setFrame(false);
    field->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 13));
    // In edit mode the text is black on the field's own light background.
    QPalette colours = field->palette();
    colours.setColor(QPalette::Text, Qt::black);
    colours.setColor(QPalette::Base, Qt::white);
    field->setPalette(colours);
    field->setText(m_arrExcludeListData[row]);
    field->setGeometry(m_listCell->titleRect(m_pExcludeListTable->visualRect(index), false)
                           .adjusted(-4, 2, 0, -2));
    field->installEventFilter(this);
    m_editField = field;
    m_editedRow = row;
    field->show();
    field->setFocus(Qt::OtherFocusReason);
}

QLineEdit* PreferencesListPane::editField() const {
    return m_editField;
}

void PreferencesListPane::endEditing() {
    finishEditing(true);
}

void PreferencesListPane::finishEditing(bool commit) {
    QLineEdit* field = m_editField;
    if (!field)
        return;
    const int row = m_editedRow;
    const QString text = field->text();
    // Forget the field first: hiding it moves the focus, which must not end it twice.
    m_editField = nullptr;
    m_editedRow = -1;
    field->removeEventFilter(this);
    field->hide();
    field->deleteLater();
    if (commit)
        onTextFieldEndEditing(row, text);
    else
        m_pExcludeListTable->setFocus(Qt::OtherFocusReason);
}

bool PreferencesListPane::eventFilter(QObject* watched, QEvent* event) {
    if (m_editField && watched == m_editField) {
        if (event->type() == QEvent::KeyPress) {
            const quint16 code = keyEventFromQt(*static_cast<QKeyEvent*>(event)).keyCode;
            if (code == kReturnKey || static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter) {
                if (!keepsEditingOnReturn(m_editField->text()))
                    finishEditing(true);
                return true;
            }
            if (code == kEscapeKey) {
                // Escape gives up the edit: the entry keeps the text it had.
                finishEditing(false);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            // Only a click elsewhere ends the edit; the window losing the focus does not.
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                finishEditing(true);
        }
        return false;
    }
    if (watched == m_pExcludeListTable && event->type() == QEvent::KeyPress) {
        // The Delete key removes rows only while the list itself has the focus.
        if (keyEventFromQt(*static_cast<QKeyEvent*>(event)).keyCode == kDeleteKey) {
            onPressRemoveButton();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PreferencesListPane::runOpenPanel(const OpenPanelRequest& request,
                                       std::function<void(const QStringList&)> done) {
    QPointer<PreferencesListPane> self = this;
    auto guarded = [self, done = std::move(done)](const QStringList& paths) {
        if (self)
            done(paths);
    };
    if (openPanelRunner())
        openPanelRunner()(window(), request, guarded);
    else
        showFileDialog(window(), request, guarded);
}

QStringList PreferencesListPane::withoutEmptyStrings(const QStringList& list) {
    QStringList result;
    for (const QString& entry : list) {
        if (!entry.isEmpty())
            result << entry;
    }
    return result;
}

bool PreferencesListPane::itemExists(const QString& path) {
    if (path.isEmpty() || !QDir::isAbsolutePath(path))
        return false;
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool PreferencesListPane::isDirectory(const QString& path) {
    return itemExists(path) && QFileInfo(path).isDir();
}

namespace {

QStringList localFileNames(const QMimeData* data, bool* hasFileNames) {
    QStringList names;
    *hasFileNames = false;
    if (!data || !data->hasUrls())
        return names;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            names << url.toLocalFile();
            *hasFileNames = true;
        }
    }
    return names;
}

} // namespace

void PreferencesListPane::dragEnterEvent(QDragEnterEvent* event) {
    bool hasFileNames = false;
    const QStringList names = localFileNames(event->mimeData(), &hasFileNames);
    if (draggingEntered(names, hasFileNames)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void PreferencesListPane::dragMoveEvent(QDragMoveEvent* event) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void PreferencesListPane::dropEvent(QDropEvent* event) {
    bool hasFileNames = false;
    const QStringList names = localFileNames(event->mimeData(), &hasFileNames);
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (hasFileNames && rect().contains(event->position().toPoint()))
        draggingEnded(names);
}

void PreferencesListPane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutViews();
}

void PreferencesListPane::layoutViews() {
    // Qt coordinates inside the pane; the two tables side by side, the bar under them and
    // Restore Defaults at the bottom right.
    const int margin = 20;
    const int typeWidth = 170;
    const int top = 44;
    const int barHeight = 26;
    const int bottomSpace = 56;
    const int tablesHeight = std::max(60, height() - top - barHeight - bottomSpace);
    m_descriptionLabel->setGeometry(margin, 12, width() - 2 * margin, 22);
    m_pTypeSelectionTable->setGeometry(margin, top, typeWidth, tablesHeight);
    m_pExcludeListTable->setGeometry(margin + typeWidth + 1, top,
                                     width() - 2 * margin - typeWidth - 1, tablesHeight);
    m_pTableBottomBarView->setGeometry(margin, top + tablesHeight, width() - 2 * margin, barHeight);
    const int listLeft = typeWidth + 1;
    m_addButton->setGeometry(listLeft, 0, 30, barHeight);
    m_removeButton->setGeometry(listLeft + 30, 0, 30, barHeight);
    m_restoreDefaultsButton->move(width() - margin - m_restoreDefaultsButton->width(),
                                  top + tablesHeight + barHeight + 16);
}

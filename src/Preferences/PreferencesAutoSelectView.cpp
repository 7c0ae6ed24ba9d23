#include "Preferences/PreferencesAutoSelectView.h"

#include "Categories/Settings.h"
#include "Preferences/PreferencesTexts.h"
#include "Preferences/PreferencesWC.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

PreferencesAutoSelectView::PreferencesAutoSelectView(QWidget* parent)
    : PreferencesListPane(parent) {
    setObjectName(QStringLiteral("PreferencesAutoSelectView"));
    descriptionLabel()->setText(PreferencesTexts::alwaysSelectDescription());
}

QString PreferencesAutoSelectView::typeTitle(int type) const {
    switch (type) {
    case AutoSelectListAlways:
        return PreferencesTexts::alwaysSelectType();
    case AutoSelectListNever:
        return PreferencesTexts::neverSelectType();
    default:
        return {};
    }
}

QStringList PreferencesAutoSelectView::storedList(qint64 type) const {
    switch (type) {
    case AutoSelectListAlways:
        return Settings::autoAlwaysSelectFolders();
    case AutoSelectListNever:
        return Settings::autoNeverSelectFolders();
    default:
        return {};
    }
}

void PreferencesAutoSelectView::storeList(qint64 type, const QStringList& list) const {
    if (type == AutoSelectListAlways)
        Settings::setAutoAlwaysSelectFolders(list);
    else if (type == AutoSelectListNever)
        Settings::setAutoNeverSelectFolders(list);
}

QStringList PreferencesAutoSelectView::getExcludeListContentFromSave() const {
    return storedList(m_nSelectedType);
}

void PreferencesAutoSelectView::currentTypeChanged() {
    // The descriptions end at their full stop: no stray object-replacement character.
    descriptionLabel()->setText(m_nSelectedType == AutoSelectListAlways
                                    ? PreferencesTexts::alwaysSelectDescription()
                                    : PreferencesTexts::neverSelectDescription());
}

void PreferencesAutoSelectView::setExcludeListData(const QStringList& list, bool save) {
    const QStringList cleaned = withoutEmptyStrings(list);
    if (save &&
        (m_nSelectedType == AutoSelectListAlways || m_nSelectedType == AutoSelectListNever)) {
        if (!conflictInAlwaysAndNeverSelect())
            storeList(m_nSelectedType, cleaned);
    }
    showList(cleaned);
}

bool PreferencesAutoSelectView::conflictInAlwaysAndNeverSelect() {
    if (!m_arrTempExcludeListData)
        return false;
    const bool always = m_nSelectedType == AutoSelectListAlways;
    const QStringList other = storedList(always ? AutoSelectListNever : AutoSelectListAlways);
    m_arrConflictListData.clear();
    for (const QString& path : *m_arrTempExcludeListData) {
        if (!path.isEmpty() && other.contains(path) && !m_arrConflictListData.contains(path))
            m_arrConflictListData << path;
    }
    if (m_arrConflictListData.isEmpty())
        return false;

    // One sheet at a time: a later conflict replaces the question of an earlier one.
    if (m_conflictAlert)
        m_conflictAlert->deleteLater();
    const QString otherName =
        always ? PreferencesTexts::neverSelectType() : PreferencesTexts::alwaysSelectType();
    const QString currentName =
        always ? PreferencesTexts::alwaysSelectType() : PreferencesTexts::neverSelectType();
    auto* alert = new QMessageBox(window());
    alert->setIcon(QMessageBox::Warning);
    alert->setText(PreferencesTexts::conflictMessage(otherName));
    alert->setInformativeText(PreferencesTexts::conflictInformative(otherName, currentName));
    QPushButton* ok = alert->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    alert->addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    alert->setDefaultButton(ok);
    alert->setWindowModality(Qt::WindowModal);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    m_conflictAlert = alert;
    connect(alert, &QMessageBox::finished, this, [this, alert, ok] {
        if (m_conflictAlert != alert)
            return;
        conflictAnswered(alert->clickedButton() == ok);
    });
    alert->open();
    PreferencesWC::positionSheet(window(), alert);
    return true;
}

QMessageBox* PreferencesAutoSelectView::conflictAlert() const {
    return m_conflictAlert;
}

void PreferencesAutoSelectView::conflictAnswered(bool ok) {
    if (QMessageBox* alert = m_conflictAlert) {
        m_conflictAlert = nullptr;
        if (alert->isVisible())
            alert->close();
    }
    if (!ok || !m_arrTempExcludeListData) {
        // The whole pending change is dropped, not only its conflicting folders.
        m_arrTempExcludeListData.reset();
        loadExcludeListContentFromSave();
        return;
    }
    const bool always = m_nSelectedType == AutoSelectListAlways;
    const QStringList pending = withoutEmptyStrings(*m_arrTempExcludeListData);
    const qint64 otherType = always ? AutoSelectListNever : AutoSelectListAlways;
    storeList(m_nSelectedType, pending);
    QStringList other = storedList(otherType);
    for (const QString& path : std::as_const(m_arrConflictListData))
        other.removeAll(path);
    storeList(otherType, other);
    m_arrConflictListData.clear();
    // The check now finds nothing, so this stores and shows the list.
    setExcludeListData(pending, true);
    if (m_arrExcludeListData.size() >= 2)
        selectListRows({int(m_arrExcludeListData.size()) - 2});
}

void PreferencesAutoSelectView::addFolderToAlwaysSelectList(bool always, const QString& path) {
    selectType(always ? AutoSelectListAlways : AutoSelectListNever);
    QStringList pending = getExcludeListContentFromSave();
    if (!pending.contains(path))
        pending << path;
    m_arrTempExcludeListData = pending;
    setExcludeListData(pending, true);
    selectListRows({});
}

void PreferencesAutoSelectView::onPreessAddButton() {
    if (m_nSelectedType != AutoSelectListAlways && m_nSelectedType != AutoSelectListNever)
        return;
    OpenPanelRequest request;
    request.canChooseDirectories = true;
    request.showsHiddenFiles = Settings::scanInHiddenFolders();
    request.title = PreferencesTexts::chooseAutoSelectFolders();
    const qint64 type = m_nSelectedType;
    runOpenPanel(request, [this, type](const QStringList& chosen) {
        if (m_nSelectedType != type)
            return;
        QStringList pending = m_arrExcludeListData;
        for (const QString& path : chosen) {
            if (!pending.contains(path))
                pending << path;
        }
        m_arrTempExcludeListData = pending;
        setExcludeListData(pending, true);
        selectRowOfSinglePath(chosen);
    });
}

void PreferencesAutoSelectView::onPressRemoveButton() {
    m_arrTempExcludeListData.reset();
    PreferencesListPane::onPressRemoveButton();
}

bool PreferencesAutoSelectView::keepsEditingOnReturn(const QString& text) const {
    return !isDirectory(text);
}

void PreferencesAutoSelectView::onTextFieldEndEditing(int row, const QString& text) {
    QStringList pending = getExcludeListContentFromSave();
    if (row >= 0 && row < pending.size())
        pending.removeAt(row);
    if (text.size() >= 2 && row >= 0 && row <= pending.size() && isDirectory(text))
        pending.insert(row, text);
    m_arrTempExcludeListData = pending;
    setExcludeListData(pending, true);
}

bool PreferencesAutoSelectView::draggingEntered(const QStringList& names, bool) const {
    for (const QString& name : names) {
        if (!isDirectory(name))
            return false;
    }
    return true;
}

void PreferencesAutoSelectView::draggingEnded(const QStringList& names) {
    if (m_nSelectedType != AutoSelectListAlways && m_nSelectedType != AutoSelectListNever)
        return;
    QStringList pending = m_arrExcludeListData;
    for (const QString& name : names) {
        if (isDirectory(name) && !pending.contains(name))
            pending << name;
    }
    // All dropped folders go through one conflict check, so one drop raises one sheet.
    m_arrTempExcludeListData = pending;
    setExcludeListData(pending, true);
    selectRowOfSinglePath(names);
}

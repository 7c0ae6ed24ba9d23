#include "Preferences/PreferencesExcludeListView.h"

#include "Categories/Settings.h"
#include "Preferences/PreferencesTexts.h"
#include "Toolkit/DarkImageName.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>

PreferencesExcludeListView::PreferencesExcludeListView(QWidget* parent)
    : PreferencesListPane(parent) {
    setObjectName(QStringLiteral("PreferencesExcludeListView"));
    descriptionLabel()->setText(PreferencesTexts::skipListDescription());
}

QString PreferencesExcludeListView::typeTitle(int type) const {
    switch (type) {
    case SkipListFolders:
        return PreferencesTexts::foldersType();
    case SkipListFiles:
        return PreferencesTexts::filesType();
    case SkipListExtensions:
        return PreferencesTexts::extensionsType();
    default:
        return {};
    }
}

QString PreferencesExcludeListView::typeImage(int type) const {
    using DarkImageName::prependDarkPrefixIfNeeded;
    switch (type) {
    case SkipListFolders:
        return prependDarkPrefixIfNeeded(QStringLiteral("icon_Folders"));
    case SkipListFiles:
        return prependDarkPrefixIfNeeded(QStringLiteral("icon_Files"));
    case SkipListExtensions:
        return prependDarkPrefixIfNeeded(QStringLiteral("icon_Extensions"));
    default:
        return {};
    }
}

QStringList PreferencesExcludeListView::getExcludeListContentFromSave() const {
    switch (m_nSelectedType) {
    case SkipListFolders:
        return Settings::excludeFolders();
    case SkipListFiles:
        return Settings::excludeFiles();
    case SkipListExtensions:
        return Settings::excludeExtensions();
    default:
        return {};
    }
}

void PreferencesExcludeListView::setExcludeListData(const QStringList& list, bool save) {
    const QStringList cleaned = withoutEmptyStrings(list);
    if (save) {
        switch (m_nSelectedType) {
        case SkipListFolders:
            Settings::setExcludeFolders(cleaned);
            break;
        case SkipListFiles:
            Settings::setExcludeFiles(cleaned);
            break;
        case SkipListExtensions:
            Settings::setExcludeExtensions(cleaned);
            break;
        default:
            break;
        }
    }
    showList(cleaned);
}

void PreferencesExcludeListView::addFolderToSkipList(bool isFolder, const QString& path) {
    selectType(isFolder ? SkipListFolders : SkipListFiles);
    QStringList list = getExcludeListContentFromSave();
    if (!list.contains(path))
        list << path;
    setExcludeListData(list, true);
    selectRowOfSinglePath({path});
}

QString PreferencesExcludeListView::cleanedExtension(const QString& text) {
    QString cleaned = text;
    for (QChar dropped : {u'.', u':', u'/', u' '})
        cleaned.remove(dropped);
    return QLatin1Char('.') + cleaned;
}

void PreferencesExcludeListView::onPreessAddButton() {
    if (m_nSelectedType == SkipListFolders || m_nSelectedType == SkipListFiles) {
        const bool files = m_nSelectedType == SkipListFiles;
        OpenPanelRequest request;
        request.canChooseFiles = files;
        request.canChooseDirectories = !files;
        request.showsHiddenFiles = Settings::scanInHiddenFolders();
        request.title =
            files ? PreferencesTexts::chooseFilesToSkip() : PreferencesTexts::chooseFoldersToSkip();
        const qint64 type = m_nSelectedType;
        runOpenPanel(request, [this, type](const QStringList& chosen) {
            // The panel answered for the list it was opened on.
            if (m_nSelectedType != type)
                return;
            QStringList list = m_arrExcludeListData;
            for (const QString& path : chosen) {
                if (!list.contains(path))
                    list << path;
            }
            setExcludeListData(list, true);
            selectRowOfSinglePath(chosen);
        });
    } else if (m_nSelectedType == SkipListExtensions) {
        endEditing();
        if (m_arrExcludeListData.isEmpty() || !m_arrExcludeListData.last().isEmpty())
            setExcludeListData(m_arrExcludeListData, true);
        startEditingRow(int(m_arrExcludeListData.size()) - 1);
        excludeListTable()->scrollToBottom();
    }
}

bool PreferencesExcludeListView::keepsEditingOnReturn(const QString& text) const {
    return (m_nSelectedType == SkipListFolders || m_nSelectedType == SkipListFiles) &&
           !itemExists(text);
}

void PreferencesExcludeListView::onTextFieldEndEditing(int row, const QString& text) {
    if (m_nSelectedType == SkipListNone)
        return;
    QStringList list = getExcludeListContentFromSave();
    if (row >= 0 && row < list.size())
        list.removeAt(row);
    if (m_nSelectedType == SkipListExtensions) {
        const QString extension = cleanedExtension(text);
        if (extension.size() >= 2 && row >= 0 && row <= list.size())
            list.insert(row, extension);
        setExcludeListData(list, true);
        return;
    }
    if (!text.isEmpty() && row >= 0 && row <= list.size() && itemExists(text)) {
        const bool directory = isDirectory(text);
        if (m_nSelectedType == SkipListFolders && !directory) {
            // A file typed into the Folders list goes to the list of files.
            addFolderToSkipList(false, text);
            return;
        }
        if (m_nSelectedType == SkipListFiles && directory) {
            addFolderToSkipList(true, text);
            return;
        }
        list.insert(row, text);
    }
    setExcludeListData(list, true);
}

bool PreferencesExcludeListView::draggingEntered(const QStringList& names,
                                                 bool hasFileNames) const {
    if (m_nSelectedType == SkipListExtensions)
        return false;
    if (!hasFileNames)
        return true;
    for (const QString& name : names) {
        const bool directory = isDirectory(name);
        if (m_nSelectedType == SkipListFolders && !directory)
            return false;
        if (m_nSelectedType == SkipListFiles && directory)
            return false;
    }
    return true;
}

void PreferencesExcludeListView::draggingEnded(const QStringList& names) {
    if (m_nSelectedType != SkipListFolders && m_nSelectedType != SkipListFiles)
        return;
    QStringList list = m_arrExcludeListData;
    bool changed = false;
    for (const QString& name : names) {
        if (!itemExists(name) || list.contains(name))
            continue;
        const bool directory = isDirectory(name);
        if ((m_nSelectedType == SkipListFolders) != directory)
            continue;
        list << name;
        changed = true;
    }
    if (changed)
        setExcludeListData(list, true);
    selectRowOfSinglePath(names);
}

#include "Browser/Common/LastCopyAlert.h"

#include "Browser/Common/SharedTexts.h"
#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "Results/DuplicateItem.h"

#include <QCheckBox>
#include <QPushButton>

namespace LastCopyAlert {

QMessageBox* open(QWidget* owner, const QString& question,
                  std::function<void(bool doNotShowAgain)> accepted,
                  std::function<void()> declined) {
    auto* alert = new QMessageBox(owner->window());
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowModality(Qt::WindowModal);
    alert->setText(SharedTexts::attention);
    alert->setInformativeText(question);
    QPushButton* ok = alert->addButton(SharedTexts::ok, QMessageBox::AcceptRole);
    alert->addButton(SharedTexts::cancel, QMessageBox::RejectRole);
    alert->setDefaultButton(ok);
    alert->setCheckBox(new QCheckBox(SharedTexts::doNotShowAgain, alert));
    QObject::connect(alert, &QMessageBox::finished, owner,
                     [alert, ok, accepted = std::move(accepted), declined = std::move(declined)] {
                         if (alert->clickedButton() == ok)
                             accepted(alert->checkBox()->isChecked());
                         else
                             declined();
                     });
    alert->open();
    return alert;
}

QMessageBox* openForCopy(QWidget* owner, const std::shared_ptr<DuplicateItem>& copy,
                         std::function<void()> doNotShowAgain, std::function<void()> declined) {
    FileSystemItem* item = copy->getFileSystemItem();
    const bool folder = item && item->kind() != FileSystemItem::Kind::File;
    const QString question = SharedTexts::allCopiesWillBeSelected.arg(
        folder ? SharedTexts::folderWord : SharedTexts::fileWord,
        item ? item->displayName() : QString());
    std::weak_ptr<DuplicateItem> weakCopy = copy;
    return open(
        owner, question,
        [weakCopy, doNotShowAgain = std::move(doNotShowAgain)](bool ticked) {
            if (ticked)
                doNotShowAgain();
            if (auto copy = weakCopy.lock())
                copy->selectItemForced(true);
        },
        std::move(declined));
}

void selectCopy(QWidget* owner, QPointer<QMessageBox>& alert,
                const std::shared_ptr<DuplicateItem>& copy, bool lastCopy,
                const std::function<bool()>& ask, std::function<void()> doNotAskAgain,
                std::function<void()> declined) {
    if (!lastCopy) {
        copy->selectItemForced(false);
        return;
    }
    if (!Settings::allowRemovingAllDuplicateCopies())
        return;
    if (!ask()) {
        copy->selectItemForced(true);
        return;
    }
    if (!alert)
        alert = openForCopy(owner, copy, std::move(doNotAskAgain), std::move(declined));
}

} // namespace LastCopyAlert

#include "Browser/Common/LastCopyAlert.h"

#include "Browser/Common/SharedTexts.h"

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

} // namespace LastCopyAlert

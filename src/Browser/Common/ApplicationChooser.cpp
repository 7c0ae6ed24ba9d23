#include "Browser/Common/ApplicationChooser.h"

#include "Browser/Common/SharedTexts.h"
#include "Platform/ui/OpenWithApplications.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

ApplicationChooser::ApplicationChooser(QWidget* parent) : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowTitle(SharedTexts::openWithSelectedApplication);
    auto* layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const auto& app : OpenWithApplications::allApplications()) {
        auto* item = new QListWidgetItem(QIcon::fromTheme(app.iconName), app.name, m_list);
        item->setData(Qt::UserRole, app.id);
    }
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* open = buttons->addButton(SharedTexts::open, QDialogButtonBox::AcceptRole);
    buttons->addButton(SharedTexts::cancel, QDialogButtonBox::RejectRole);
    open->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::accepted, this, [this] {
        QStringList ids;
        for (int row = 0; row < m_list->count(); ++row) {
            if (m_list->item(row)->isSelected())
                ids << m_list->item(row)->data(Qt::UserRole).toString();
        }
        if (!ids.isEmpty())
            emit applicationsChosen(ids);
    });
    resize(360, 420);
}

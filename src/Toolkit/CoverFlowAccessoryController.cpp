#include "Toolkit/CoverFlowAccessoryController.h"

#include "Toolkit/FolderEntry.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>

#include <cmath>

class FolderNameAccessoryController::NameLabel final : public QWidget {
public:
    explicit NameLabel(bool middleTruncation) : m_middleTruncation(middleTruncation) {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 12));
        // Sized to fit one line of the font, then made 400 points wide.
        const QFontMetricsF metrics(font());
        resize(400, static_cast<int>(std::ceil(metrics.height())) + 2);
    }

    void setText(const QString& text) {
        if (text == m_text)
            return;
        m_text = text;
        update();
    }
    QString text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(Palette::toolbarSizeTextColor());
        painter.setFont(font());
        const QFontMetricsF metrics(font());
        const QString shown =
            m_middleTruncation ? metrics.elidedText(m_text, Qt::ElideMiddle, width()) : m_text;
        painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignVCenter, shown);
    }

private:
    bool m_middleTruncation = false;
    QString m_text;
};

FolderNameAccessoryController::FolderNameAccessoryController(bool middleTruncation, QObject* parent)
    : CoverFlowAccessoryController(parent), m_label(new NameLabel(middleTruncation)) {}

FolderNameAccessoryController::~FolderNameAccessoryController() {
    // The label may have been placed in a cover flow that is already gone with it.
    delete m_label.data();
}

QWidget* FolderNameAccessoryController::view() const {
    return m_label;
}

FolderNameAccessoryController::NameLabel* FolderNameAccessoryController::label() const {
    return static_cast<NameLabel*>(m_label.data());
}

void FolderNameAccessoryController::setRepresentedObject(const QVariantMap& object) {
    if (NameLabel* shown = label())
        shown->setText(object.value(FolderEntry::kName).toString());
}

QString FolderNameAccessoryController::text() const {
    const NameLabel* shown = label();
    return shown ? shown->text() : QString();
}

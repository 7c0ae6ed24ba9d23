#pragma once

#include <QWidget>

// The pane's caption: a bold first part and a plain second part on one centred line, in
// the toolbar text colour; a line too long loses its middle (of the first part first, so
// the size stays readable).
class QuickLookCaptionLabel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QuickLookCaptionLabel)

public:
    static constexpr int kHeight = 18;

    explicit QuickLookCaptionLabel(QWidget* parent = nullptr);

    // The two parts, shown joined.
    void makeAttributedStringWithBoldString1String2(const QString& string1, const QString& string2);
    QString boldPart() const { return m_bold; }
    QString plainPart() const { return m_plain; }
    QString text() const { return m_bold + m_plain; }

    // The two parts as drawn in |width| points.
    std::pair<QString, QString> elidedParts(int width) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_bold;
    QString m_plain;
};

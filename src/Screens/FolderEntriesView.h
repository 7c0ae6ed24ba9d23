#pragma once

#include <QList>
#include <QVariantMap>
#include <QWidget>

// A read-only row of folder entries {"image", "name", "path"}: the folders' pictures side by
// side, centred, made smaller when they do not fit, the selected one bright and the others
// dimmed. A click selects an entry; nothing can be added, dragged out or removed. The
// selected entry's name is shown by the owner's label (selectionChanged).
class FolderEntriesView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderEntriesView)

public:
    explicit FolderEntriesView(QWidget* parent = nullptr);

    // Shows |entries| in order; the selection stays in range (the first entry when it was
    // out of range), none when empty.
    void setContent(const QList<QVariantMap>& entries);
    const QList<QVariantMap>& content() const { return m_entries; }
    int selectedIndex() const { return m_selectedIndex; }
    void selectFolderByIndex(int index);
    // The selected entry, empty when there is none.
    QVariantMap representedObject() const;

    // Where entry |index| of |count| is drawn in a view of |width| x |height|.
    static QRectF itemFrame(int index, int count, qreal width, qreal height);

signals:
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QList<QVariantMap> m_entries;
    int m_selectedIndex = -1;
};

#pragma once

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QRectF>
#include <QString>

#include <optional>

class DuplicateSelectionVC;
class QPainter;

// The path of one copy in the copies table, folder by folder from a shortened start down to
// the file. The table paints many rows through one delegate, so this control is a small
// value the delegate configures for the row it paints or hits: it lays out, paints and
// hit-tests its components itself and owns no widget.
//
// When the copy lies inside a duplicate folder (hasAssociated), the components from that
// folder down to the file are drawn on one continuous band. A click selects the row; a
// right click asks the copies table for its menu for the folder under the pointer.
class CustomPathControl final {
public:
    struct Component {
        QString title;   // decoded for display
        QByteArray path; // the raw bytes of the component's full path
    };

    // The components of |path|: "/" and each name below it; a path in |home| starts at the
    // home folder (titled |loginName|) instead, and one in a folder of |userFolders| (the
    // user's XDG folders under the home folder) starts at that folder.
    static QList<Component> componentsForPath(const QByteArray& path, const QByteArray& home,
                                              const QString& loginName,
                                              const QList<QByteArray>& userFolders);
    // The same with this user's home folder, login name and XDG folders.
    static QList<Component> componentsForPath(const QByteArray& path);

    // The shape of the locked band behind component |index| of |count|, drawn in the
    // component's |frame| (x, y, w, h; the shapes are symmetric in y, so y-up and y-down
    // agree); nothing when the component lies outside the associated folder |associated|.
    struct BandShape {
        QRectF rect;
        bool rounded = false; // a rounded rectangle of radius 4, else a plain one
    };
    static std::optional<BandShape> bandShape(const QRectF& frame, int index, int count,
                                              const QByteArray& componentPath,
                                              const QByteArray& associated);

    // setURL: the components of |path|, shortened at the start.
    void setURL(const QByteArray& path);
    QByteArray url() const { return m_path; }
    const QList<Component>& components() const { return m_components; }

    // Styles the components (the value is not used): with hasAssociated, the last title
    // gets two blanks appended so the band ends past it.
    void setSelected(bool selected);
    bool disabled() const { return _disabled; }
    void setDisabled(bool disabled) { _disabled = disabled; }
    qreal alphaValue() const { return _disabled ? 0.5 : 1.0; }
    bool hasAssociated() const { return m_hasAssociated; }
    void setHasAssociated(bool value) { m_hasAssociated = value; }
    QByteArray associatedFolderPath() const { return _associatedFolderPath; }
    void setAssociatedFolderPath(const QByteArray& path) { _associatedFolderPath = path; }
    int indexRow() const { return m_indexRow; }
    void setIndexRow(int row) { m_indexRow = row; }
    DuplicateSelectionVC* controller() const { return m_controller; }
    void setController(DuplicateSelectionVC* controller) { m_controller = controller; }

    // The components' frames in a control of |bounds| (Qt coordinates); titles that do not
    // fit are shortened from the second component on.
    QList<QRectF> componentFrames(const QRectF& bounds) const;
    // The titles as drawn in |bounds| (shortened ones read "…").
    QStringList drawnTitles(const QRectF& bounds) const;
    // The component under |point|, -1 when none.
    int componentAt(const QRectF& bounds, const QPointF& point) const;

    void paint(QPainter& painter, const QRectF& bounds) const;

    // The row the control sits in is the table's selected row while the table has the
    // focus (drawn in the selection's blue); the texts are then drawn brighter.
    void setOnActiveSelection(bool value) { m_onActiveSelection = value; }
    // The colour of a title or a separator mark: dark on the light band, light on the row,
    // brightest on the selection's blue; each at least 4.5:1 against what lies under it.
    static QColor textColor(bool onBand, bool onActiveSelection);

    // A click: selects row indexRow of the table, replacing the selection.
    void mouseDown() const;
    // A right click at |point|: the copies table's menu for the component under it, or for
    // the control's own path when none is.
    void rightMouseDown(const QRectF& bounds, const QPointF& point) const;

private:
    struct Layout {
        QList<QRectF> frames;
        QStringList titles;
    };
    Layout layout(const QRectF& bounds) const;
    // Where the title of component |index| starts in its frame: further in where the band
    // over the associated folder begins.
    qreal titleInset(qsizetype index) const;

    QByteArray m_path;
    QList<Component> m_components;
    QString m_lastTitleSuffix;
    bool m_hasAssociated = false;
    bool m_onActiveSelection = false;
    bool _disabled = false;
    int m_indexRow = 0;
    QPointer<DuplicateSelectionVC> m_controller;
    QByteArray _associatedFolderPath;
};

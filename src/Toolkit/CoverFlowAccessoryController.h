#pragma once

#include <QObject>
#include <QPointer>
#include <QVariantMap>

class QLabel;
class QWidget;

// The controller of the view the cover flow shows under its cards (the selected folder's
// name). The cover flow places its view, keeps it centred, and hands it the selected entry
// whenever the selection or the content changes (an empty map when nothing is selected).
class CoverFlowAccessoryController : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CoverFlowAccessoryController)

public:
    explicit CoverFlowAccessoryController(QObject* parent = nullptr) : QObject(parent) {}
    ~CoverFlowAccessoryController() override = default;

    virtual QWidget* view() const = 0;
    virtual void setRepresentedObject(const QVariantMap& object) = 0;
};

// The screens' name label: a borderless, non-editable, centred text 400 points wide in
// "HelveticaNeue" 12 points and toolbarSizeTextColor, showing the entry's "name". With
// |middleTruncation| a long name loses its middle ("Pictu…2026"); without it the text is
// clipped at the edges. The label belongs to the controller.
class FolderNameAccessoryController final : public CoverFlowAccessoryController {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderNameAccessoryController)

public:
    explicit FolderNameAccessoryController(bool middleTruncation, QObject* parent = nullptr);
    ~FolderNameAccessoryController() override;

    QWidget* view() const override;
    void setRepresentedObject(const QVariantMap& object) override;
    // The full text shown (before any truncation).
    QString text() const;

private:
    class NameLabel;
    NameLabel* label() const;
    QPointer<QWidget> m_label;
};

#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QMenu;
class QObject;
class QWidget;

// The "Open With" submenu of a results table's row menu: the applications for the file's
// content type (the desktop's default first, marked, then a separator), a separator when
// there are others, and "Other..." which asks for applications. |openWith| runs with the
// chosen application's id, |other| for "Other..."; both with |context| as the context.
namespace OpenWithMenu {

// Adds the submenu to |menu| (enabled, even with no applications listed) and returns it.
QMenu* add(QMenu* menu, const QByteArray& path, QObject* context,
           std::function<void(const QString& appId)> openWith, std::function<void()> other);

// "Other...": asks for applications over |owner|'s window (not modal to the table) and runs
// |openWith| once per chosen application, while |owner| lives.
void chooseOther(QWidget* owner, std::function<void(const QString& appId)> openWith);

} // namespace OpenWithMenu

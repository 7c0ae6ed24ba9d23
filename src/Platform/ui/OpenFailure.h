#pragma once

#include <QString>

#include <functional>

// Where a request to the desktop that nothing could carry out (no file manager answering,
// no application for a folder, an e-mail link or a web page) is told to the user. The
// interface installs a handler that shows an alert; without one the failure goes to
// standard error. Main thread only.
namespace OpenFailure {

using Handler = std::function<void(const QString& message, const QString& reason)>;

void setHandler(Handler handler);
// |message| says what could not be opened, |reason| why.
void report(const QString& message, const QString& reason);

} // namespace OpenFailure

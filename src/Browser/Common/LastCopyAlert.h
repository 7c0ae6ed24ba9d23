#pragma once

#include <QMessageBox>

#include <functional>

// The question a results table asks before the last unselected copies go into the removal:
// "Attention", |question|, OK (the default) and Cancel, and a "Do not show this message again"
// box. Window-modal over |owner|'s window, deleted when closed. |accepted| runs on OK with
// whether the box was ticked; |declined| runs on Cancel (or Escape). Both run with |owner| as
// the context, so neither runs once |owner| is gone.
namespace LastCopyAlert {

QMessageBox* open(QWidget* owner, const QString& question,
                  std::function<void(bool doNotShowAgain)> accepted,
                  std::function<void()> declined);

} // namespace LastCopyAlert

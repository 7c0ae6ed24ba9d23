#pragma once

#include <QMessageBox>

#include <functional>
#include <memory>

class DuplicateItem;

// The question a results table asks before the last unselected copies go into the removal:
// "Attention", |question|, OK (the default) and Cancel, and a "Do not show this message again"
// box. Window-modal over |owner|'s window, deleted when closed. |accepted| runs on OK with
// whether the box was ticked; |declined| runs on Cancel (or Escape). Both run with |owner| as
// the context, so neither runs once |owner| is gone.
namespace LastCopyAlert {

QMessageBox* open(QWidget* owner, const QString& question,
                  std::function<void(bool doNotShowAgain)> accepted,
                  std::function<void()> declined);

// The question for one copy, |copy|, the last unselected one of its group: on OK the copy is
// selected (forced) if it is still there, after |doNotShowAgain| ran when the box was ticked.
QMessageBox* openForCopy(QWidget* owner, const std::shared_ptr<DuplicateItem>& copy,
                         std::function<void()> doNotShowAgain, std::function<void()> declined);

} // namespace LastCopyAlert

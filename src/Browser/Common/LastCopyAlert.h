#pragma once

#include <QMessageBox>
#include <QPointer>

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

// A copy's check box pressed on in a results table; |lastCopy| says whether it is the last
// unselected copy of its group. Another copy is selected at once; the last one only where the
// preferences allow selecting every copy, and then after the question (kept in |alert| while
// it is open; nothing is asked again meanwhile) while |ask| says to ask. |doNotAskAgain| and
// |declined| are those of openForCopy.
void selectCopy(QWidget* owner, QPointer<QMessageBox>& alert,
                const std::shared_ptr<DuplicateItem>& copy, bool lastCopy,
                const std::function<bool()>& ask, std::function<void()> doNotAskAgain,
                std::function<void()> declined);

} // namespace LastCopyAlert

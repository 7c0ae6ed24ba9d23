#pragma once

#include <functional>
#include <memory>

class OverlayInfoController;

// What the help overlay needs of the screen that shows it (the results screen implements
// it): opening and closing the overlay, keeping its controller, and filling the rectangles
// of the help-overlay table (DuplicatesManager::getFramesArrayForScreenAndHint) with the
// places of the explained controls in window coordinates, y up.
//
// Views that move controls the overlay explains post "OverlayRedraw" (no user info) when,
// and only when, those places changed; never unconditionally from a paint.
class OverlayInfoHost {
public:
    virtual ~OverlayInfoHost() = default;

    // Shows the overlay for the current state and answers true; answers false when an
    // overlay was open (it is closed instead) or none can be shown now. |closeBlock| runs
    // when the user closes it and must end in hideAndDestroyOverlay().
    virtual bool showOverlayInfo(std::function<void()> closeBlock) = 0;
    // Keeps |controller| and shows it over the host's own view.
    virtual void
    appendOverlayInfoViewController(std::unique_ptr<OverlayInfoController> controller) = 0;
    // Clears the result manager's overlayOnScreen; removes and drops a held controller.
    virtual void hideAndDestroyOverlay() = 0;
    // Clears and refills the "Frames" lists of the help-overlay table.
    virtual void updateOverlayHintFrameValues() = 0;
};

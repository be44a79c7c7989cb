#pragma once
// A visual style draws the captions of frames, option buttons and check boxes in the style's own
// text colour straight onto the window's face, whatever colours the window gives them. Under a
// contrast theme whose face is dark while the style is a light one, that text would vanish: there
// the controls are drawn the classic way instead, in the system colours the window gives them.
// Where the style's colour reads on the face, the controls keep the style.

#include <windows.h>

#include "ui/window-utils/control_factory.h"

namespace tarvello::ui {

// For the frames, option buttons and check boxes of `set`, children of `window`; again after a
// theme change.
void FitVisualStyles(HWND window, const ControlSet& set);

}  // namespace tarvello::ui

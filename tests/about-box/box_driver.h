#pragma once
// The About box driven from inside its own modal loop (tests/support/modal_driver.h).

#include "tests/support/modal_driver.h"
#include "ui/about-box/frm_about.h"

namespace tarvello::test {

class BoxDriver : public ModalDriver {
public:
    BoxDriver() : ModalDriver(ui::frmAbout::kClassName) {}
};

// The open About box of this thread, or null.
inline HWND FindBox() {
    return FindModal(ui::frmAbout::kClassName);
}

}  // namespace tarvello::test

// The lesson window's side of the Writing page and the keyboard layout switch.

#include "app/gui/form_learning.h"

namespace vb {

void TForm_Learning::SwitchKeyboardLayout(bool /*forTranslation*/)
{
    // The layout switch comes with the Writing page.
}

} // namespace vb

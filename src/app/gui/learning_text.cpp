// The lesson window's side of the text page.

#include "app/gui/form_learning.h"

namespace vb {

// ---------------------------------------------------------------------------------------------------
// Text page

void TForm_Learning::ResetTextPage() { }

} // namespace vb

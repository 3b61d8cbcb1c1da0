// The pupil menu and the pupils' commands of the lesson window.

#include "app/gui/form_learning.h"

namespace vb {

// ---------------------------------------------------------------------------------------------------
// Pupils

void TForm_Learning::BuildPupilMenu() { }

void TForm_Learning::m_lesson_pupil_newClick() { }

void TForm_Learning::m_lesson_pupil_deleteClick() { }

} // namespace vb

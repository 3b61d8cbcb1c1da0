#include "app/gui/form_set.h"

namespace vb {

TForm_Set::TForm_Set(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) { }

} // namespace vb

#include "app/gui/form_learning.h"

namespace vb {

TForm_Learning::TForm_Learning(AppContext& ctx, QWidget* parent) : QMainWindow(parent), m_ctx(ctx) { }

} // namespace vb

#include "app/gui/form_about.h"

namespace vb {

TForm_About::TForm_About(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) { }

} // namespace vb

#include "app/gui/form_message.h"

namespace vb {

TForm_Message::TForm_Message(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) { }

} // namespace vb

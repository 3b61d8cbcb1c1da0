#include "app/gui/form_user.h"

namespace vb {

TForm_User::TForm_User(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("Form_User"));
    setWindowTitle(QStringLiteral("Новый ученик"));
}

} // namespace vb

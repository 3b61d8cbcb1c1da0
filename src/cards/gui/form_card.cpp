#include "cards/gui/form_card.h"

namespace vb {

TForm_Card::TForm_Card(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("Form_Card"));
    setWindowTitle(QStringLiteral("Карточка слова"));
}

} // namespace vb

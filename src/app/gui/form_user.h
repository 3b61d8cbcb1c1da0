#pragma once

#include "app/gui/app_context.h"

#include <QDialog>

namespace vb {

class TForm_User : public QDialog
{
    Q_OBJECT
public:
    explicit TForm_User(AppContext& ctx, QWidget* parent = nullptr);

private:
    AppContext& m_ctx;
};

} // namespace vb

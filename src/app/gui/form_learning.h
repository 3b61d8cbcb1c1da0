#pragma once

#include "app/gui/app_context.h"

#include <QMainWindow>

namespace vb {

class TForm_Learning : public QMainWindow
{
    Q_OBJECT
public:
    explicit TForm_Learning(AppContext& ctx, QWidget* parent = nullptr);

private:
    AppContext& m_ctx;
};

} // namespace vb

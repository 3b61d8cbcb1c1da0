#pragma once

#include "app/gui/app_context.h"

#include <QWidget>

namespace vb {

class TForm_Card : public QWidget
{
    Q_OBJECT
public:
    explicit TForm_Card(AppContext& ctx, QWidget* parent = nullptr);

private:
    AppContext& m_ctx;
};

} // namespace vb

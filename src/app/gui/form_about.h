// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/gui/app_context.h"
#include "app/gui/form_message.h"

#include <QDialog>

class QLabel;

namespace vb {

class TForm_About : public QDialog
{
    Q_OBJECT
public:
    // The product's page and the author's mail, opened from the two blue labels.
    static constexpr const char* kWebPage = "https://verbanta.example.org/";
    static constexpr const char* kMail = "verbanta@example.org";

    explicit TForm_About(AppContext& ctx, QWidget* parent = nullptr);

    void SetHooks(SecondaryWindowHooks hooks) { m_hooks = std::move(hooks); }

    // m_aboutClick of the lesson window: shows the box modally, then reports ModalClosed.
    void ShowModalAbout();

    // Ask the desktop to open the page, or to start a new mail with the subject "Verbanta".
    // Failures (no browser, no mail program) are not reported.
    void LB_WWWClick();
    void LB_MailClick();

    QLabel* Image = nullptr;
    QLabel* LB_WWW = nullptr;
    QLabel* LB_Mail = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* AddEmbossedLine(const QString& text, const QFont& font, const QRect& place, Qt::Alignment alignment);
    QLabel* AddLink(const QString& text, const QPoint& place);

    AppContext& m_ctx;
    SecondaryWindowHooks m_hooks;
};

} // namespace vb

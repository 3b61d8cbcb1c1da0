// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/form_about.h"
#include "common/gui/accessible_names.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QHideEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QShowEvent>
#include <QStyle>
#include <QUrl>

namespace vb {

namespace {

// The box has a fixed size, so its texts get fixed pixel sizes rather than the desktop's point sizes.
constexpr int kTextPixels = 11;

const QString kLicenceSuffix = QStringLiteral(" · GNU GPL 3 или новее");

} // namespace

TForm_About::TForm_About(AppContext& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint)
    , m_ctx(ctx)
{
    setWindowTitle(QStringLiteral("О программе"));
    setFixedSize(281, 153);

    QFont text = font();
    text.setPixelSize(kTextPixels);
    setFont(text);

    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setGeometry(6, 5, 32, 32);
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull()) {
        icon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    }
    Image->setPixmap(icon.pixmap(32, 32));

    QFont title(QStringLiteral("Times New Roman"));
    title.setStyleHint(QFont::Serif);
    title.setPixelSize(21);

    AddEmbossedLine(QStringLiteral("Verbanta"), title, QRect(46, 5, 229, 26), Qt::AlignLeft | Qt::AlignVCenter);
    AddEmbossedLine(QStringLiteral("Программа заучивания иностранных слов"), text, QRect(4, 35, 273, 14),
                    Qt::AlignCenter);
    // The licence goes on the version line: the box has no room for a line of its own.
    QLabel* version = AddEmbossedLine(QStringLiteral("Версия ") + QStringLiteral(VB_VERSION) + kLicenceSuffix, text,
                                      QRect(4, 50, 273, 14), Qt::AlignCenter);
    version->setToolTip(QStringLiteral("GNU General Public License, версия 3 или любая более поздняя"));
    AddEmbossedLine(QStringLiteral("Автор: команда Verbanta"), text, QRect(4, 65, 273, 14), Qt::AlignCenter);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(6, 85, 269, 2);

    // Each address on the line below its caption: side by side they would not fit the box.
    auto* wwwCaption = new QLabel(QStringLiteral("Страничка программы :"), this);
    wwwCaption->setGeometry(8, 91, 265, 14);
    LB_WWW = AddLink(QString::fromLatin1(kWebPage), QPoint(24, 105));
    LB_WWW->setObjectName(QStringLiteral("LB_WWW"));

    auto* mailCaption = new QLabel(QStringLiteral("Адрес электронной почты :"), this);
    mailCaption->setGeometry(8, 121, 265, 14);
    LB_Mail = AddLink(QString::fromLatin1(kMail), QPoint(24, 135));
    LB_Mail->setObjectName(QStringLiteral("LB_Mail"));
    NameForScreenReaders(this);
}

QLabel* TForm_About::AddEmbossedLine(const QString& text, const QFont& font, const QRect& place,
                                     Qt::Alignment alignment)
{
    // A white copy one pixel right and below, the black text over it: the text looks pressed in.
    auto* shadow = new QLabel(text, this);
    shadow->setFont(font);
    shadow->setAlignment(alignment);
    shadow->setGeometry(place.translated(1, 1));
    QPalette white = shadow->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    shadow->setPalette(white);

    auto* label = new QLabel(text, this);
    label->setFont(font);
    label->setAlignment(alignment);
    label->setGeometry(place);
    QPalette black = label->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(black);
    return label;
}

QLabel* TForm_About::AddLink(const QString& text, const QPoint& place)
{
    auto* link = new QLabel(text, this);
    // Only the text itself is the link, not the empty rest of the row.
    link->setGeometry(place.x(), place.y(), link->fontMetrics().horizontalAdvance(text) + 2, 14);
    QPalette blue = link->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    link->setPalette(blue);
    link->setCursor(Qt::PointingHandCursor);
    link->installEventFilter(this);
    return link;
}

void TForm_About::ShowModalAbout()
{
    exec();
    if (m_hooks.modalClosed) {
        m_hooks.modalClosed();
    }
}

void TForm_About::LB_WWWClick()
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebPage)));
}

void TForm_About::LB_MailClick()
{
    QDesktopServices::openUrl(
        QUrl(QStringLiteral("mailto:") + QString::fromLatin1(kMail) + QStringLiteral("?SUBJECT=Verbanta")));
}

void TForm_About::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    if (m_hooks.shown) {
        m_hooks.shown();
    }
    CenterOnLessonWindow(*this, m_ctx);
}

void TForm_About::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous() && m_hooks.hidden) {
        m_hooks.hidden();
    }
}

bool TForm_About::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == LB_WWW) {
            LB_WWWClick();
            return true;
        }
        if (watched == LB_Mail) {
            LB_MailClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vb

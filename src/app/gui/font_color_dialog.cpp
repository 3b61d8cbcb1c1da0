// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/font_color_dialog.h"

#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace vb {

namespace {

QIcon Swatch(const QColor& color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

} // namespace

std::optional<FontAndColor> GetFontAndColor(QWidget* parent, const QFont& font, const QColor& color)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("FontColorDialog"));
    dialog.setWindowTitle(QStringLiteral("Шрифт"));
    auto* layout = new QVBoxLayout(&dialog);

    // Qt's font dialog as a plain widget inside this one, without its own buttons.
    auto* fonts = new QFontDialog(&dialog);
    fonts->setObjectName(QStringLiteral("FontChooser"));
    fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    fonts->setWindowFlags(Qt::Widget);
    // Its grip would sit in the middle of this dialog.
    fonts->setSizeGripEnabled(false);
    fonts->setCurrentFont(font);
    layout->addWidget(fonts);

    QColor chosenColor = color.isValid() ? color : QColor(Qt::black);
    auto* colorRow = new QHBoxLayout;
    auto* colorLabel = new QLabel(QStringLiteral("Цвет:"), &dialog);
    auto* colorButton = new QPushButton(&dialog);
    colorButton->setObjectName(QStringLiteral("FontColorButton"));
    colorButton->setIcon(Swatch(chosenColor));
    colorButton->setText(chosenColor.name());
    colorLabel->setBuddy(colorButton);
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(colorButton);
    colorRow->addStretch(1);
    layout->addLayout(colorRow);
    QObject::connect(colorButton, &QPushButton::clicked, &dialog, [&] {
        const QColor picked =
            QColorDialog::getColor(chosenColor, &dialog, QStringLiteral("Цвет"), QColorDialog::DontUseNativeDialog);
        if (picked.isValid()) {
            chosenColor = picked;
            colorButton->setIcon(Swatch(chosenColor));
            colorButton->setText(chosenColor.name());
        }
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return FontAndColor{fonts->currentFont(), chosenColor};
}

} // namespace vb

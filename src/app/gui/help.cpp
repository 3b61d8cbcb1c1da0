// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/help.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace vb {

bool OpenHelpPage(const std::string& helpPage, MessageDialog& dialog, const std::function<bool(const QUrl&)>& open)
{
    const QFileInfo page(QString::fromStdString(helpPage));
    if (helpPage.empty() || !page.isFile()) {
        const std::string name = page.fileName().toStdString();
        dialog.ShowMessageDialog(name.empty() ? "Файл справки не найден!" : "Файл справки " + name + " не найден!", "",
                                 "понятно", "");
        return false;
    }
    const QUrl url = QUrl::fromLocalFile(page.absoluteFilePath());
    const bool opened = open ? open(url) : QDesktopServices::openUrl(url);
    if (!opened) {
        dialog.ShowMessageDialog("Не удалось открыть справку: нет программы для просмотра страниц!", "", "понятно", "");
    }
    return opened;
}

} // namespace vb

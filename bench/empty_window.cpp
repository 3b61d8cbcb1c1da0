// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the start-up benchmark: an empty Qt Widgets window of the lesson window's size, shown
// as soon as the application exists.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("empty"));
    window.resize(610, 376);
    window.show();
    return QApplication::exec();
}

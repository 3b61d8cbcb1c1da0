#include "app/gui/application.h"

#include <QApplication>
#include <QMainWindow>

namespace vb {

int RunVerbanta(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Verbanta"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Verbanta"));
    window.show();
    return app.exec();
}

} // namespace vb

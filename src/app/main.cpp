#include "resources/Messages.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(msg::AppName);
    QApplication::setApplicationDisplayName(msg::AppTitle);
    QMainWindow window;
    window.setWindowTitle(msg::AppTitle);
    window.resize(620, 420);
    window.show();
    return QApplication::exec();
}

// Start-up: the application object, the splash window, the tooltip timings,
// the main window (which loads the settings) and the title dialog; then the
// event loop until the main window closes.

#include "app/MainUnit.h"
#include "platform/ProductionPlatform.h"
#include "resources/Messages.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProxyStyle>
#include <exception>

namespace {

// Tooltips appear after 100 ms; each widget shows its tooltip for 25 s.
class OribelStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay)
            return 100;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// An exception that escapes an event handler is shown in an error box and the
// program goes on.
class OribelApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            QMessageBox::critical(nullptr, msg::AppTitle, QString::fromLocal8Bit(error.what()));
        } catch (...) {
            QMessageBox::critical(nullptr, msg::AppTitle, QStringLiteral("Unknown error"));
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    OribelApplication app(argc, argv);
    QApplication::setApplicationName(msg::AppTitle);
    QApplication::setStyle(new OribelStyle);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/oribel/oribel.svg")));

    try {
        QStringList arguments = QApplication::arguments();
        const QString executable = QFileInfo(QApplication::applicationFilePath()).absoluteFilePath();
        arguments.removeFirst();
        ProductionPlatform production(executable, arguments);
        const Platform& platform = production.platform();

        TMainForm window(platform);
        window.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, msg::AppTitle, QString::fromLocal8Bit(error.what()));
        return 1;
    }
}

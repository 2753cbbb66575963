// Start-up: the application object, the splash window, the tooltip timings
// and plain-text hints, the main window (which loads the settings) and the
// title dialog; then the event loop until the main window closes.

#include "app/MainUnit.h"
#include "app/Resources.h"
#include "app/SplashUnit.h"
#include "platform/ProductionPlatform.h"
#include "resources/Messages.h"
#include "settings/SettingsStore.h"
#include "widgets/PlainHints.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QProxyStyle>
#include <QTranslator>
#include <exception>

namespace {

// Tooltips appear after 100 ms (each widget shows its tooltip for 25 s).
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
            QMessageBox::critical(nullptr, msg::AppTitle, msg::UnknownError);
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    OribelApplication app(argc, argv);
    QApplication::setApplicationName(msg::AppTitle);
    QApplication::setWindowIcon(oribelIcon());
    QApplication::setStyle(new OribelStyle);
    installPlainHints(app);
    // Qt's own dialog texts (file dialog, colour dialog) in Japanese.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    try {
        QStringList arguments = QApplication::arguments();
        arguments.removeFirst();
        ProductionPlatform production(QFileInfo(QApplication::applicationFilePath()).absoluteFilePath(),
                                      arguments);
        const Platform& platform = production.platform();

        if (SplashWanted(platform.programFolder)) {
            auto* splash = new TSplashForm(readSplashFigures(*platform.registry));
            splash->show();
            splash->repaint();
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        TMainForm window(platform);
        window.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, msg::AppTitle, QString::fromLocal8Bit(error.what()));
        return 1;
    }
}

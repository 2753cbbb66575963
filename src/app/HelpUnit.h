#pragma once
// The about window: version, system facts, terms of use, help and contact
// addresses, this month's and last month's writing figures, and the switch for
// the statistics-free debug mode. Modal, created for each use.

#include "platform/Platform.h"
#include "settings/AppSet.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

class THelpForm : public QDialog {
    Q_OBJECT
public:
    // debugMode is the main window's DebugMode, read here and flipped by
    // BtnDebugMode; loadManual runs the main window's local-manual command
    // (BtnLoadManual). Both must outlive the window.
    THelpForm(const Platform& platform, const AppSet& appSet, bool& debugMode,
              std::function<void()> loadManual, QWidget* parent = nullptr);
    ~THelpForm() override;

    // Header.
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* LabelNotice;
    QLabel* ImageIcon;
    QTabWidget* PageControl1;
    QPushButton* BitBtn1;

    // このソフトウェアについて
    QWidget* TabSheet1;
    QLabel* ImageLogo;
    QLabel* OsLabel;
    QLabel* MemLabel;
    QPlainTextEdit* crMemo;

    // 操作ヘルプとガイド
    QWidget* TabSheet3;
    QPushButton* BtnLoadManual;
    QLineEdit* EditManualUrl;
    QPushButton* BtnAccessMan;
    QLineEdit* EditSiteUrl;
    QPushButton* BtnAccessSite;

    // お問い合わせ先
    QWidget* TabSheet2;
    QLineEdit* EditMail1;
    QToolButton* SpeedButton1;
    QLineEdit* EditMail2;
    QToolButton* SpeedButton2;
    QLineEdit* EditUrl;
    QToolButton* SpeedButton3;

    // 統計情報
    QWidget* TabSheet4;
    QLabel* LabelDiaryTime;
    QLabel* LabelDiaryLines;
    QLabel* LabelDiaryTimeL;
    QLabel* LabelDiaryLinesL;
    QLabel* LabelPercent;
    QPushButton* BtnDebugMode;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildSoftwarePage();
    void buildHelpPage();
    void buildContactPage();
    void buildStatisticsPage();
    void FormShow(const AppSet& appSet);
    void BtnDebugModeClick();
    void ImageIconDblClick();

    Platform platform_;
    bool& debugMode_;
    std::function<void()> loadManual_;
    // The application display name to put back on close (empty when none was set).
    std::optional<QString> titleBeforeJoke_;
};

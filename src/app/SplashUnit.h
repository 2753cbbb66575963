#pragma once
// The splash window: product name, version and this month's writing figures
// while the program starts. It closes itself after a second unless the user
// pins it, and destroys itself when closed.

#include "settings/SettingsStore.h"

#include <QWidget>
#include <optional>

class QLabel;
class QPushButton;
class QTimer;

// Whether the splash is shown at start-up: not when the flag file NOSPLASH.FLG
// is in the current folder or in the program folder (the behaviour settings
// write it in the program folder).
bool SplashWanted(const QString& programFolder);

class TSplashForm : public QWidget {
    Q_OBJECT
public:
    // figures: the four statistics read straight from the settings store, or
    // nothing when any of them could not be read (first run, missing value).
    explicit TSplashForm(const std::optional<SplashFigures>& figures, QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* LabelNotice;
    QLabel* ImageIcon;
    QWidget* InfoPanel;
    QLabel* LabelWriteTimeCap;
    QLabel* LabelWriteTime;
    QLabel* LabelWriteTimeTani;
    QLabel* LabelWriteTimeBef;
    QLabel* LabelSumLineCap;
    QLabel* LabelSumLine;
    QLabel* LabelSumLineTani;
    QLabel* LabelSumLineBef;
    QLabel* StatusLabel;
    QPushButton* BtnPin;
    QTimer* Timer1;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow(const std::optional<SplashFigures>& figures);
    void Timer1Timer();
    void BtnPinClick();
};

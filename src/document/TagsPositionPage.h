#pragma once
// The tag builder's position mode: the page "位置", its opening and its OK,
// which wraps the selection in <DIV …> or <P …> and the closing tag.

#include "document/TagBuilder.h"

#include <QObject>

class QCheckBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QWidget;
class TRadioGroup;

class TagsPositionPage : public QObject {
    Q_OBJECT
public:
    // Builds the page and adds it to pages.
    explicit TagsPositionPage(QTabWidget* pages);

    // The CLASS name is the remembered one, the CLASS controls follow the
    // unticked box, and the focus goes to the position.
    void Open(const AppSet& appSet);
    // The markup around selectedText, the selection as it stands at OK.
    TagOutcome Ok(const QString& selectedText, bool lowerCase, AppSet& appSet);

    QWidget* PosTagSheet = nullptr;
    TRadioGroup* RadioPos = nullptr;
    TRadioGroup* RadioTag = nullptr;
    TRadioGroup* RadioWay = nullptr;
    QCheckBox* CheckStyle = nullptr;
    QLabel* LabelClass = nullptr;
    QLineEdit* EditPosClass = nullptr;

private:
    // The CLASS controls follow CheckStyle.
    void CheckStyleClick();

    QTabWidget* pages_;
};

#pragma once
// The tag builder's image mode: the page "画像", the image chooser, the
// opening and the OK, which builds <IMG SRC="…">.

#include "document/TagBuilder.h"

#include <QObject>

class FileDialog;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class TRadioGroup;

class TagsGraphicPage : public QObject {
    Q_OBJECT
public:
    // Builds the page and adds it to pages. openDialog: the main window's
    // shared open dialog, used by "参照(&F)" (none: the button does nothing).
    TagsGraphicPage(QTabWidget* pages, FileDialog* openDialog);

    // The image folder is the remembered one; the focus goes to the file name.
    void Open(const AppSet& appSet);
    // The image tag for the controls' values, or the refusal of an empty file
    // name (then nothing is stored).
    TagOutcome Ok(bool lowerCase, AppSet& appSet);
    // After the refusal: the file name's label gets a red background and the
    // file name field the focus.
    void ShowRefusal();
    // The folder the chooser opens in next.
    QString ImageFolder() const { return folder_; }

    QWidget* GraphicTagSheet = nullptr;
    QLabel* LabelGraphicName = nullptr;
    QLineEdit* EditGraphicName = nullptr;
    QPushButton* BtnGraphicSearch = nullptr;
    QLineEdit* EditGraphicSizeW = nullptr;
    QLineEdit* EditGraphicSizeH = nullptr;
    QLineEdit* EditGraphicALT = nullptr;
    TRadioGroup* RadioGroupGraphic = nullptr;
    QCheckBox* CheckAbsmiddle = nullptr;
    QCheckBox* CheckGrphBorder = nullptr;

private:
    void BtnGraphicSearchClick();

    QTabWidget* pages_;
    FileDialog* openDialog_;
    QString folder_;
};

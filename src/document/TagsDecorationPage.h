#pragma once
// The tag builder's decoration mode: the page "文字装飾・色指定", which
// mirrors a DecorationPage record into its controls, shows the preview and
// the code, and on OK wraps the selection in the start and end text.

#include "document/TagBuilder.h"

#include <QObject>
#include <array>

class ColorDialogService;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class QWidget;

class TagsDecorationPage : public QObject {
    Q_OBJECT
public:
    // Builds the page and adds it to pages. colors: the colour chooser of the
    // three colour buttons (none: they act as if cancelled).
    TagsDecorationPage(QTabWidget* pages, ColorDialogService* colors);

    // The preview shows the selection; sizes, colours, fields and the code
    // kind come from the remembered values.
    void Open(const AppSet& appSet, const QString& selectedText);
    // Start text, the selection taken at opening, end text.
    TagOutcome Ok(bool lowerCase, AppSet& appSet);
    // What the controls stand for now.
    const DecorationPage& Values() const { return page_; }

    QWidget* DecTagSheet = nullptr;
    QFrame* PanelPreviewBase = nullptr;
    QLabel* PanelPreview = nullptr;
    QLabel* PanelTagPreview = nullptr;
    QRadioButton* RadioColorFont = nullptr;
    QRadioButton* RadioColorStyle = nullptr;
    QToolButton* SB_Bold = nullptr;
    QToolButton* SB_Italic = nullptr;
    QToolButton* SB_Line = nullptr;
    QToolButton* SB_Strike = nullptr;
    QToolButton* SB_Big = nullptr;
    QToolButton* SB_Small = nullptr;
    QToolButton* SB_STRONG = nullptr;
    QComboBox* FontSizeHtmlBox = nullptr;
    QComboBox* FontSizeStyleBox = nullptr;
    QLineEdit* EditFontSize = nullptr;
    QCheckBox* CheckFrontColor = nullptr;
    QCheckBox* CheckBackColor = nullptr;
    QPushButton* BtnFrontColor = nullptr;
    QPushButton* BtnBackColor = nullptr;
    QPushButton* BtnPreviewColor = nullptr;
    QLineEdit* EditFrontColor = nullptr;
    QLineEdit* EditBackColor = nullptr;
    QLineEdit* EditPrevColor = nullptr;
    QLabel* LabelFrontColor = nullptr;
    QLabel* LabelBackColor = nullptr;
    QLabel* LabelPrevColor = nullptr;

protected:
    // The colour fields' key filter.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildPreview();
    QWidget* BuildCodeKind();
    QWidget* BuildEffects();
    QWidget* BuildColors();
    void ConnectControls();
    // A colour button: the chooser preset to `initial`, then the page's rule.
    void ChooseColor(quint32 initial, void (DecorationPage::*chosen)(std::optional<quint32>));
    // Brings the record into the controls (without their change rules running
    // again) and shows the decoration it computes.
    void Sync();
    void ApplyCodeKind();
    void ShowLook();

    QTabWidget* pages_;
    ColorDialogService* colors_;
    DecorationPage page_;
    std::array<QToolButton*, DecoButtonCount> buttons_{};
};

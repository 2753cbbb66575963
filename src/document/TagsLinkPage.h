#pragma once
// The tag builder's link mode: the pages "リンク" and "拡張設定", their
// opening and their OK, which builds <A HREF="…">name</A>.

#include "document/TagBuilder.h"

#include <QObject>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class QWidget;

class TagsLinkPage : public QObject {
    Q_OBJECT
public:
    // Builds both pages and adds them to pages.
    explicit TagsLinkPage(QTabWidget* pages);

    // The name is the selection, the frame and class names the remembered ones;
    // "リンク" comes to the front with the focus on the URL.
    void Open(const AppSet& appSet, const QString& selectedText);
    // The link for the controls' values, or the refusal of an empty URL (then
    // nothing is stored). An empty name is filled with the URL, in the field too.
    TagOutcome Ok(bool lowerCase, AppSet& appSet);
    // After the refusal: the URL's label turns red, "リンク" comes to the
    // front and the URL field gets the focus.
    void ShowRefusal();

    QWidget* LinkTagSheet = nullptr;
    QLabel* LabelLinkName = nullptr;
    QLineEdit* EditLinkName = nullptr;
    QLabel* LabelLinkUrl = nullptr;
    QLineEdit* EditLinkUrl = nullptr;
    QRadioButton* RadioLinkNml = nullptr;
    QRadioButton* RadioLinkNew = nullptr;
    QRadioButton* RadioLinkTop = nullptr;
    QRadioButton* RadioLinkFrame = nullptr;
    QLineEdit* EditLinkFrame = nullptr;
    QCheckBox* CheckLinkStyle = nullptr;
    QLineEdit* EditLinkClass = nullptr;

    QWidget* LinkTagExpSheet = nullptr;
    QCheckBox* CheckLinkAKey = nullptr;
    QLineEdit* EditAccessKey = nullptr;
    QCheckBox* CheckLinkTList = nullptr;
    QLineEdit* EditTabIndex = nullptr;
    QCheckBox* CheckLinkTitle = nullptr;
    QLineEdit* EditLinkTitle = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLinkTagSheet();
    void BuildLinkTagExpSheet();
    // A tick box that switches its field: ticking turns the field white and
    // focuses it, unticking greys it.
    void TieCheckToField(QCheckBox* check, QLineEdit* field);
    LinkPage Values() const;

    QTabWidget* pages_;
};

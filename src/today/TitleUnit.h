#pragma once
// TTitleForm: the dialog in which the user types today's diary title.
// The field takes at most 128 bytes of Shift_JIS (128 half-width or 64
// full-width characters), while typing and when pasting.

#include <QDialog>

class QLineEdit;
class QPushButton;

class TTitleForm : public QDialog {
    Q_OBJECT
public:
    explicit TTitleForm(QWidget* parent = nullptr);

    // Shows the dialog modally with title in the field. On OK the field's text
    // (empty removes the title) is stored into title and true returned; on
    // Cancel title stays as it was.
    bool Edit(QString& title);

    QLineEdit* TitleEdit = nullptr;
    QPushButton* BtnDel = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;
};

#include "widgets/NumberField.h"

#include "settings/IntText.h"

#include <QLineEdit>
#include <QValidator>

namespace {

// Accepts every text, with its full-width digits folded: the field's own
// checks (the date handlers, the dialogs' OK) judge the number.
class HalfWidthDigits : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*pos*/) const override {
        input = halfWidthDigits(std::move(input));
        return Acceptable;
    }
};

} // namespace

void makeNumberField(QLineEdit* edit) {
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setValidator(new HalfWidthDigits(edit));
}

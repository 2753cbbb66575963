#include "widgets/WholeText.h"

#include <QLineEdit>

#include <limits>

namespace {

// QLineEdit's own default for maxLength.
constexpr int QtDefaultMaxLength = 32767;

} // namespace

void TakeWholeTexts(QWidget* root) {
    for (QLineEdit* edit : root->findChildren<QLineEdit*>())
        if (edit->maxLength() == QtDefaultMaxLength)
            edit->setMaxLength(std::numeric_limits<int>::max());
}

#include "today/TitleUnit.h"

#include "platform/SjisCodec.h"
#include "resources/Messages.h"
#include "widgets/FixedDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype TitleByteLimit = 128;

// Keeps a line edit within a byte budget the way a length-limited edit control
// does: of a typed or pasted piece, only as much as still fits is taken.
class ByteLimitValidator : public QValidator {
public:
    ByteLimitValidator(qsizetype limit, QObject* parent) : QValidator(parent), limit_(limit) {}

    State validate(QString& input, int& pos) const override {
        if (sjis::byteLength(input) <= limit_) {
            accepted_ = input;
            return Acceptable;
        }
        // The inserted piece is what differs from the last accepted text.
        qsizetype prefix = 0;
        const qsizetype maxCommon = qMin(input.size(), accepted_.size());
        while (prefix < maxCommon && input[prefix] == accepted_[prefix])
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < maxCommon - prefix &&
               input[input.size() - 1 - suffix] == accepted_[accepted_.size() - 1 - suffix])
            ++suffix;
        const QString before = input.left(prefix);
        const QString after = input.right(suffix);
        const QString inserted = input.mid(prefix, input.size() - prefix - suffix);
        const qsizetype budget = limit_ - sjis::byteLength(before) - sjis::byteLength(after);
        if (budget < 0)
            return Invalid;
        const QString fitting = sjis::truncateToBytes(inserted, budget);
        input = before + fitting + after;
        pos = int(before.size() + fitting.size());
        accepted_ = input;
        return Acceptable;
    }

    void reset(const QString& text) const { accepted_ = text; }

private:
    qsizetype limit_;
    mutable QString accepted_;
};

} // namespace

TTitleForm::TTitleForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TitleForm"));
    setWindowTitle(u"今日の日記のタイトル - Oribel"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);

    auto* root = new QVBoxLayout(this);
    auto* group = new QGroupBox(u"今日の日記のタイトルを入力して下さい。(&T)"_s, this);
    auto* groupLayout = new QVBoxLayout(group);
    auto* row = new QHBoxLayout();
    TitleEdit = new QLineEdit(group);
    TitleEdit->setObjectName(QStringLiteral("TitleEdit"));
    TitleEdit->setMinimumWidth(360);
    auto* validator = new ByteLimitValidator(TitleByteLimit, TitleEdit);
    TitleEdit->setValidator(validator);
    BtnDel = new QPushButton(u"削除(&D)"_s, group);
    BtnDel->setObjectName(QStringLiteral("BtnDel"));
    BtnDel->setToolTip(u"入力内容を全て消します。"_s);
    BtnDel->setAutoDefault(false);
    row->addWidget(TitleEdit, 1);
    row->addWidget(BtnDel);
    groupLayout->addLayout(row);
    groupLayout->addWidget(
        new QLabel(u"半角文字換算で、128文字まで入力できます。HTMLタグは有効です。"_s, group));
    groupLayout->addWidget(new QLabel(
        u"内容に「<」や「>」を含めると、HTMLタグとして認識されてしまうのでご注意下さい。"_s, group));
    root->addWidget(group);

    auto* buttons = new QDialogButtonBox(this);
    BtnOK = buttons->addButton(QDialogButtonBox::Ok);
    BtnCancel = buttons->addButton(QDialogButtonBox::Cancel);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnOK->setDefault(true);
    root->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(BtnDel, &QPushButton::clicked, this, [this] {
        TitleEdit->clear();
        TitleEdit->setFocus();
    });
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    makeFixedDialog(this);
}

bool TTitleForm::Edit(QString& title) {
    const QString fitting = sjis::truncateToBytes(title, TitleByteLimit);
    static_cast<const ByteLimitValidator*>(TitleEdit->validator())->reset(fitting);
    TitleEdit->setText(fitting);
    TitleEdit->selectAll();
    TitleEdit->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    title = TitleEdit->text();
    return true;
}

#include "dialogs/AppSetUpload.h"

#include "dialogs/AppSetUnit.h"

#include "publish/UploadPlan.h"
#include "publish/UploadRunner.h"
#include "resources/Messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

UploadSettingsPage::UploadSettingsPage(MessageService& messages, UploadRunner* runner,
                                       UploadPasswords* passwords, QWidget* parent)
    : QWidget(parent), messages_(messages), runner_(runner), passwords_(passwords) {
    setObjectName(u"UploadSheet"_s);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(6, 4, 6, 4);
    page->setSpacing(2);
    auto* form = new QFormLayout;
    form->setVerticalSpacing(2);
    form->setHorizontalSpacing(4);
    const auto edit = [this](const char* name, const QString& hint) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1StringView(name));
        e->setToolTip(hint);
        return e;
    };

    ComboUploadProtocol = new QComboBox(this);
    ComboUploadProtocol->setObjectName(u"ComboUploadProtocol"_s);
    ComboUploadProtocol->addItems({u"SFTP（SSH）"_s, u"FTPS（FTP + TLS）"_s, u"FTP（暗号化なし）"_s});
    ComboUploadProtocol->setToolTip(
        u"サーバへの送り方です。サーバが対応していれば SFTP か FTPS を選んで下さい。"_s);
    EditUploadHost = edit("EditUploadHost", u"サーバのホスト名（例: www.example.jp）"_s);
    EditUploadPort = edit("EditUploadPort", u"空欄なら標準のポート（SFTP は 22、FTPS・FTP は 21）"_s);
    EditUploadPort->setMaximumWidth(60);
    EditUploadUser = edit("EditUploadUser", u"サーバにログインするユーザ名"_s);
    EditUploadPassword = edit("EditUploadPassword",
                              u"パスワードは設定ファイルには書かず、デスクトップのキーリングに保管します。\n"
                              u"キーリングがない場合は、起動ごとに一度だけ尋ねます。"_s);
    EditUploadPassword->setEchoMode(QLineEdit::Password);
    EditUploadFolder =
        edit("EditUploadFolder",
             u"ページを置くサーバ上のフォルダ（例: public_html/diary または /var/www/diary）"_s);
    EditUploadLocalFolder = edit("EditUploadLocalFolder",
                                 u"リモートフォルダに当たる手元のフォルダ。この中のサブフォルダのページは、サ"
                                 u"ーバの同じサブフォルダへ送ります。\n"
                                 u"このフォルダの外にあるページは、リモートフォルダそのものへ送ります。"_s);
    EditUploadKeyFile =
        edit("EditUploadKeyFile", u"SFTP でログインに使う秘密鍵のファイル（例: ~/.ssh/id_ed25519）"_s);
    CheckUploadAgent = new QCheckBox(u"ssh-agent の鍵も使う(&A)"_s, this);
    CheckUploadAgent->setObjectName(u"CheckUploadAgent"_s);
    CheckUploadProjects =
        new QCheckBox(u"同時更新HTMLリストのページのうち、変更されたものも一緒に送る(&P)"_s, this);
    CheckUploadProjects->setObjectName(u"CheckUploadProjects"_s);

    auto* hostRow = new QHBoxLayout;
    hostRow->addWidget(EditUploadHost, 1);
    auto* portLabel = new QLabel(u"ポート(&T)："_s, this);
    portLabel->setBuddy(EditUploadPort);
    hostRow->addWidget(portLabel);
    hostRow->addWidget(EditUploadPort);
    const auto row = [&](const QString& caption, QWidget* field, QLayout* layout = nullptr) {
        auto* l = new QLabel(caption, this);
        l->setBuddy(field);
        if (layout)
            form->addRow(l, layout);
        else
            form->addRow(l, field);
    };
    row(u"方式(&S)："_s, ComboUploadProtocol);
    row(u"ホスト(&H)："_s, EditUploadHost, hostRow);
    row(u"ユーザ(&U)："_s, EditUploadUser);
    row(u"パスワード(&W)："_s, EditUploadPassword);
    row(u"リモートフォルダ(&R)："_s, EditUploadFolder);
    row(u"手元のフォルダ(&L)："_s, EditUploadLocalFolder);
    row(u"鍵ファイル(&K)："_s, EditUploadKeyFile);
    page->addLayout(form);
    page->addWidget(CheckUploadAgent);
    page->addWidget(CheckUploadProjects);

    LabelUploadWarning = new QLabel(msg::UploadPlainFtpWarning, this);
    LabelUploadWarning->setObjectName(u"LabelUploadWarning"_s);
    LabelUploadWarning->setWordWrap(true);
    LabelUploadWarning->setStyleSheet(u"color: #b00000;"_s);
    page->addWidget(LabelUploadWarning);

    auto* testRow = new QHBoxLayout;
    BtnUploadTest = new QPushButton(u"接続テスト(&C)"_s, this);
    BtnUploadTest->setObjectName(u"BtnUploadTest"_s);
    BtnUploadTest->setToolTip(u"この設定でサーバにログインし、リモートフォルダの中身を確かめます。"_s);
    BtnUploadTest->setEnabled(runner_ != nullptr);
    LabelUploadResult = new QLabel(this);
    LabelUploadResult->setObjectName(u"LabelUploadResult"_s);
    LabelUploadResult->setWordWrap(true);
    LabelUploadResult->setTextFormat(Qt::PlainText);
    testRow->addWidget(BtnUploadTest);
    testRow->addWidget(LabelUploadResult, 1);
    page->addLayout(testRow);
    page->addStretch(1);

    connect(ComboUploadProtocol, &QComboBox::currentIndexChanged, this, &UploadSettingsPage::ProtocolChange);
    connect(BtnUploadTest, &QPushButton::clicked, this, &UploadSettingsPage::BtnUploadTestClick);
    ProtocolChange();
}

void UploadSettingsPage::load(const AppSet& app) {
    loaded_ = app;
    ComboUploadProtocol->setCurrentIndex(int(upload::protocolFromText(app.UploadProtocol)));
    EditUploadHost->setText(app.UploadHost);
    EditUploadPort->setText(app.UploadPort);
    EditUploadUser->setText(app.UploadUser);
    EditUploadFolder->setText(app.UploadFolder);
    EditUploadLocalFolder->setText(app.UploadLocalFolder);
    EditUploadKeyFile->setText(app.UploadKeyFile);
    CheckUploadAgent->setChecked(app.UploadAgent != u"0"_s);
    CheckUploadProjects->setChecked(app.UploadProjects == u"1"_s);
    EditUploadPassword->clear();
    EditUploadPassword->setPlaceholderText(u"（変えない場合は空欄）"_s);
    ProtocolChange();
}

AppSet UploadSettingsPage::pageSettings() const {
    AppSet app = loaded_;
    app.UploadProtocol = upload::protocolText(upload::Protocol(ComboUploadProtocol->currentIndex()));
    app.UploadHost = EditUploadHost->text().trimmed();
    app.UploadPort = EditUploadPort->text().trimmed();
    app.UploadUser = EditUploadUser->text().trimmed();
    app.UploadFolder = EditUploadFolder->text().trimmed();
    app.UploadLocalFolder = EditUploadLocalFolder->text().trimmed();
    app.UploadKeyFile = EditUploadKeyFile->text().trimmed();
    app.UploadAgent = CheckUploadAgent->isChecked() ? u"1"_s : u"0"_s;
    app.UploadProjects = CheckUploadProjects->isChecked() ? u"1"_s : u"0"_s;
    return app;
}

bool UploadSettingsPage::store(AppSet& app) {
    const QString port = EditUploadPort->text().trimmed();
    bool ok = true;
    const int number = port.isEmpty() ? 0 : port.toInt(&ok);
    if (!ok || number < 0 || number > 65535) {
        messages_.show(msg::UploadPortInvalid, msg::UploadCaption, MsgIcon::Error);
        EditUploadPort->setFocus();
        return false;
    }
    const AppSet page = pageSettings();
    // Nothing is set up until a host is given: the other fields alone do not count.
    app.UploadProtocol = page.UploadHost.isEmpty() ? QString() : page.UploadProtocol;
    for (QString AppSet::*member : {&AppSet::UploadHost, &AppSet::UploadPort, &AppSet::UploadUser,
                                    &AppSet::UploadFolder, &AppSet::UploadLocalFolder, &AppSet::UploadKeyFile,
                                    &AppSet::UploadAgent, &AppSet::UploadProjects, &AppSet::UploadPins})
        app.*member = page.*member;
    if (passwords_ && !EditUploadPassword->text().isEmpty())
        passwords_->store(upload::accountName(upload::targetFrom(page, {})), EditUploadPassword->text());
    return true;
}

void UploadSettingsPage::ProtocolChange() {
    const auto protocol = upload::Protocol(ComboUploadProtocol->currentIndex());
    const bool sftp = protocol == upload::Protocol::Sftp;
    EditUploadKeyFile->setEnabled(sftp);
    CheckUploadAgent->setEnabled(sftp);
    LabelUploadWarning->setVisible(protocol == upload::Protocol::Ftp);
}

void UploadSettingsPage::BtnUploadTestClick() {
    if (!runner_ || runner_->busy())
        return;
    auto settings = std::make_shared<AppSet>(pageSettings());
    if (settings->UploadHost.isEmpty()) {
        LabelUploadResult->setText(msg::UploadNotConfigured);
        return;
    }
    if (passwords_ && !EditUploadPassword->text().isEmpty())
        passwords_->setForRun(upload::accountName(upload::targetFrom(*settings, {})),
                              EditUploadPassword->text());
    BtnUploadTest->setEnabled(false);
    LabelUploadResult->setText(msg::UploadTestRunning);
    runner_->test(*settings, [this, settings](const UploadOutcome& outcome) {
        BtnUploadTest->setEnabled(true);
        // A certificate trusted during the test is kept if the dialog's OK follows.
        loaded_.UploadPins = settings->UploadPins;
        QString text;
        if (outcome.result.status == upload::Status::Done) {
            const QStringList shown = outcome.result.folderEntries.mid(0, 5);
            text = msg::UploadTestDone.arg(outcome.address)
                       .arg(outcome.result.folderEntries.size())
                       .arg(shown.join(u", "_s) +
                            (outcome.result.folderEntries.size() > shown.size() ? u" …"_s : QString()));
        } else if (!outcome.message.isEmpty()) {
            text = msg::UploadTestFailed.arg(outcome.message);
        } else {
            text = msg::UploadTestStopped;
        }
        LabelUploadResult->setText(text);
    });
}

// ---- The page in the behaviour settings dialog -----------------------------------

void TAppSetForm::BuildUploadPage() {
    UploadSheet =
        new UploadSettingsPage(context_.messages, context_.uploads, context_.passwords, PageControl1);
    PageControl1->addTab(UploadSheet, u"アップロード"_s);
}

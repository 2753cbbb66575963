#pragma once
// The "アップロード" page of the behaviour settings dialog: where the pages
// go (protocol, host, port, user, remote folder), the local folder that
// corresponds to the remote one, the SSH key and agent, the project pages
// option, the password (kept in the keyring, never in the settings) and a
// button that tries the connection.

#include "settings/AppSet.h"

#include <QWidget>

class MessageService;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UploadPasswords;
class UploadRunner;

class UploadSettingsPage : public QWidget {
    Q_OBJECT
public:
    // runner and passwords may be null: the test button is then disabled and
    // the password field is not shown.
    UploadSettingsPage(MessageService& messages, UploadRunner* runner, UploadPasswords* passwords,
                       QWidget* parent = nullptr);

    void load(const AppSet& app);
    // Writes the page into the record and the password into the keyring;
    // false, having said why, when a value cannot be taken.
    bool store(AppSet& app);

    QComboBox* ComboUploadProtocol = nullptr; // items in the order of upload::Protocol
    QLineEdit *EditUploadHost = nullptr, *EditUploadPort = nullptr, *EditUploadUser = nullptr,
              *EditUploadPassword = nullptr, *EditUploadFolder = nullptr, *EditUploadLocalFolder = nullptr,
              *EditUploadKeyFile = nullptr;
    QCheckBox *CheckUploadAgent = nullptr, *CheckUploadProjects = nullptr;
    QLabel* LabelUploadWarning = nullptr; // the plain FTP warning
    QPushButton* BtnUploadTest = nullptr;
    QLabel* LabelUploadResult = nullptr; // what the connection test found

private:
    void ProtocolChange();
    void BtnUploadTestClick();
    AppSet pageSettings() const; // the page's values over the record's others

    MessageService& messages_;
    UploadRunner* runner_;
    UploadPasswords* passwords_;
    AppSet loaded_;
};

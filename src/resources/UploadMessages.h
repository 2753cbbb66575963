#pragma once
// The texts of publishing the page to the web site: the command's messages,
// trust questions, status texts and the connection test. Included by
// Messages.h; the same namespace msg.

#include <QString>

namespace msg {

using namespace Qt::StringLiterals;

// ---- Publishing to the web site ------------------------------------------------

inline const QString UploadCaption = u"サーバへアップロード"_s;
inline const QString UploadTrustCaption = u"接続先の確認"_s;
inline const QString UploadWarningCaption = u"警告 - 接続を中止しました"_s;
inline const QString UploadNotConfigured =
    u"アップロード先が設定されていません。\n「動作設定」の「アップロード」で設定して下さい。"_s;
inline const QString UploadNoSavedPage =
    u"アップロードするページがありません。\n日記ファイルを保存してから実行して下さい。"_s;
inline const QString UploadBusy = u"アップロード中です。終わるまでお待ち下さい。"_s;
// The failures; %1 is the address (sftp://user@host:22/folder/page.html).
inline const QString UploadHostNotFound = u"サーバが見つかりません。\n%1\nホスト名を確認して下さい。"_s;
inline const QString UploadRefused =
    u"サーバに接続できませんでした（接続を拒否されました）。\n%1\nホスト名・ポート番号と、サーバが動いているかを確認して下さい。"_s;
inline const QString UploadTimedOut =
    u"サーバから応答がありません（時間切れ）。\n%1\nネットワークの接続と、ホスト名・ポート番号を確認して下さい。"_s;
inline const QString UploadAuthFailed =
    u"サーバにログインできませんでした。\n%1\nユーザ名とパスワード（または鍵ファイル）を確認して下さい。"_s;
inline const QString UploadPermissionDenied =
    u"サーバのフォルダに書き込む権限がありません。\n%1\nリモートフォルダの指定と、サーバ側の権限を確認して下さい。"_s;
inline const QString UploadDiskFull =
    u"サーバのディスクがいっぱいで、書き込めませんでした。\n%1\nサーバ上のページは元のままです。"_s;
inline const QString UploadConnectionLost =
    u"転送の途中で接続が切れました。\n%1\nサーバ上のページは元のままです。"_s;
inline const QString UploadSizeMismatch =
    u"サーバに届いたファイルの大きさが送ったものと違います。\n%1\nサーバ上のページは元のままです。"_s;
inline const QString UploadFailed = u"アップロードできませんでした。\n%1\nサーバ上のページは元のままです。"_s;
inline const QString UploadHostKeyRefused = u"接続できませんでした。\n%1"_s;
// %1: the local page, %2: the reason.
inline const QString UploadLocalUnreadable =
    u"アップロードするページを読み込めませんでした。\n%1\n理由: %2"_s;
// Appended to a failure: the server's own words.
inline const QString UploadServerReason = u"\n\nサーバの答え: %1"_s;
// Trust questions and the changed-key warning; %1 host, %2 fingerprint, %3 the known hosts file.
inline const QString UploadUnknownHostKey =
    u"サーバ %1 に初めて接続します（%3 に登録がありません）。\n\nホスト鍵の指紋: %2\n\nこの指紋がサーバの管理者から知らされたものと同じ場合だけ［はい］を押して下さい。鍵を登録して接続します。"_s;
inline const QString UploadHostKeyChanged =
    u"警告: サーバ %1 のホスト鍵が、%3 に登録されているものと違います。\n\n今届いた鍵の指紋: "
    u"%2\n\n第三者が通信に割り込んでいる（なりすまし）おそれがあるため、接続を中止しました。"
    u"サーバの管理者が鍵を変えたことが確かな場合だけ、%3 からこのサーバの古い行を削除して下さい。"_s;
inline const QString UploadUntrustedCertificate =
    u"サーバ %1 の証明書を確認できませんでした（自己署名か、信頼された認証局のものではありません）。\n\n証明書の指紋: %2\n\nこの指紋がサーバの管理者から知らされたものと同じ場合だけ［はい］を押して下さい。このサーバに限り、この証明書を信頼して接続します。"_s;
inline const QString UploadCertificateChanged =
    u"警告: サーバ %1 の証明書が、以前に信頼したものと違います。\n\n今届いた証明書の指紋: %2\n\n第三者が通信に割り込んでいるおそれがあります。サーバの管理者が証明書を変えたことが確かな場合だけ［はい］を押して下さい。"_s;
inline const QString UploadKnownHostsFailed = u"ホスト鍵を %1 に登録できませんでした。\n理由: %2"_s;
inline const QString UploadPlainFtpWarning =
    u"FTP（暗号化なし）では、パスワードとページが暗号化されずにネットワークを流れます。\nサーバが対応していれば、SFTP か FTPS を選んで下さい。"_s;
// The password box; %1: the account.
inline const QString UploadPasswordCaption = u"パスワードの入力"_s;
inline const QString UploadPasswordPrompt = u"%1 のパスワード:"_s;
inline const QString UploadCloseQuestion =
    u"アップロード中です。\nアップロードを中止して終了しますか？（サーバ上のページは元のままです）"_s;
// Status panel texts (they begin with one blank like the panel's own).
inline const QString UploadRunningStatus = u" アップロード中: %1"_s;
inline const QString UploadDoneStatus = u" %1 を %2 にアップロードしました。"_s;
inline const QString UploadCancelledStatus =
    u" アップロードを中止しました。サーバ上のページは元のままです。"_s;
inline const QString UploadFailedStatus = u" アップロードできませんでした: %1"_s;
// The project pages' summary; %1 what went up, %2 what failed (one per line).
inline const QString UploadSummaryCaption = u"アップロードの結果"_s;
inline const QString UploadSummary = u"アップロードしたページ:\n%1\n\nアップロードできなかったページ:\n%2"_s;
inline const QString UploadSummaryNone = u"（なし）"_s;
// The connection test; %1 the address, %2 the number of entries, %3 some of them.
inline const QString UploadTestCaption = u"接続テスト"_s;
inline const QString UploadTestDone = u"接続できました。\n%1\nリモートフォルダの項目: %2 個\n%3"_s;
inline const QString UploadTestFailed = u"接続テストに失敗しました。\n\n%1"_s;
inline const QString UploadTestRunning = u"接続しています…"_s;
inline const QString UploadTestStopped = u"接続テストを中止しました。"_s;
inline const QString UploadPortInvalid =
    u"ポート番号は 1 から 65535 までの数字で指定して下さい（空欄なら標準のポート）。"_s;

} // namespace msg

#pragma once
// Every text the user sees in a message box, caption or status line, one named
// constant each, so handlers and tests use the same text.

#include <QString>

namespace msg {

using namespace Qt::StringLiterals;

// ---- Application -----------------------------------------------------------

inline const QString AppTitle = u"Oribel 3"_s;
inline const QString AppName = u"Oribel"_s;
inline const QString VersionText = u"Ver 3.32"_s;
inline const QString StoredVersion = u"3.32"_s;

// ---- Platform dialogs --------------------------------------------------------

// Standard button texts of every message box.
inline const QString ButtonOk = u"OK"_s;
inline const QString ButtonYes = u"はい(&Y)"_s;
inline const QString ButtonNo = u"いいえ(&N)"_s;
inline const QString ButtonCancel = u"キャンセル"_s;

// The shared file dialogs' own checks; %1 is the name the user chose.
inline const QString FileDialogFileNotFound =
    u"%1\nファイルが見つかりません。\nファイル名を確認してください。"_s;
inline const QString FileDialogPathNotFound =
    u"%1\nパスが見つかりません。\nパスが正しいかどうかを確認してください。"_s;
inline const QString FileDialogReadOnly =
    u"%1\nこのファイルは読み取り専用です。\n別のファイル名を指定してください。"_s;
inline const QString FileDialogConfirmOverwrite = u"%1 は既に存在します。\n上書きしますか?"_s;

// ---- Settings store --------------------------------------------------------

// Plain boxes (caption AppTitle, no icon, OK) of the settings store.
inline const QString RegistryWriteFailed = u"レジストリに書き込めませんでした。"_s;
inline const QString TempDiaryWriteFailed = u"Registory Write Error. -TD"_s;
inline const QString TempDiaryLoadFailed = u"Registory Load Error. -TD"_s;

// The settings file was damaged or unreadable (warning icon, OK).
inline const QString StoreDamagedCaption = u"設定ファイルの読み込みエラー"_s;
// %1: the settings file, %2: where the damaged file was kept.
inline const QString StoreDamagedKept =
    u"設定ファイル\n%1\nが壊れているか読み込めないため、使用できませんでした。\n\n"
    u"元のファイルは\n%2\nとして残してあります。\n設定は初期状態で始まり、終了時に新しい設定ファイルが作られます。"_s;
// %1: the settings file, which could not be moved aside.
inline const QString StoreDamagedStuck =
    u"設定ファイル\n%1\nが壊れているか読み込めないため、使用できませんでした。\n\n"
    u"このファイルを別名で残すこともできなかったため、そのままにしてあります。\n"
    u"このファイルを修復するか移動するまで、設定は保存されません。"_s;

// ---- Main window and document ----------------------------------------------

inline const QString ConfirmCaption = u"確認"_s;
inline const QString UnknownError = u"予期しないエラーが発生しました。"_s;
inline const QString AutoOpenErrorCaption = u"日記HTMLファイル自動読み込みエラー"_s;
inline QString lastSavedFileMissing(const QString& path) {
    return u"最後に保存されたファイル ["_s + path + u"] が見つかりませんでした。"_s;
}
inline QString alwaysOpenFileMissing(const QString& path) {
    return u"指定されたファイル ["_s + path + u"] が見つかりませんでした。"_s;
}
inline const QString CannotOpenCaption = u"ファイルを開けません"_s;
inline QString historyFileMissing(const QString& path) {
    return u"履歴上の指定のファイル\n"_s + path + u"\nは、移動または削除されています。"_s;
}
inline const QString TempFileDeleteFailed = u"一時ファイルを削除できませんでした。"_s;
inline QString invalidParameter(const QString& parameter) {
    return u"パラメータに指定された ["_s + parameter + u"] は、無効です。"_s;
}
inline const QString DocumentNotSaved =
    u"「日記ファイル全体編集」の編集内容は保存されていません。\n保存しますか？"_s;
inline const QString ExitConfirmCaption = u"終了確認"_s;
inline const QString ExitConfirm =
    u"「今日の日記」本文が変更されたまま、使用（挿入）されていません。\n\n「今日の日記」本文を、次回起動時まで保存しておきますか？\n\n [はい] 　　 … 本文を次回起動時まで保存する\n [いいえ]　　… 本文は破棄する\n [キャンセル]… Oribelを終了するのをやめる\n"_s;
inline const QString DropIntoTodayConfirm =
    u"ファイルを読み込もうとしています。\n\n現在の入力内容を破棄して、「今日の日記」にファイル内容を読み込みますか？"_s;
inline const QString ManualNotFoundCaption = u"Not Found"_s;
inline const QString UninstallConfirmCaption = u"アンインストール準備（使用レジストリ領域の開放）"_s;
inline const QString UninstallConfirm =
    u"このソフトウェアが使用しているレジストリ領域の、全てのデータを削除します。\nあなた自身や、ソフトウェア側が行った、全ての設定情報は、完全に削除されます。\n\nレジストリ領域に書き込んだデータを、完全に削除してよろしいですか？\n\n（「はい」を選択すれば、直後に作業が開始されます。取り消しはできません。）"_s;
inline const QString UninstallDoneCaption = u"使用レジストリ領域の開放完了"_s;
inline const QString UninstallDone =
    u"削除を完了しました。\nこれで、このソフトウェアの設定は、何も残っていません。\n\nあとは、手動で全てのファイルをハードディスク上から削除して下さい。"_s;
inline const QString NewFromTemplateCaption = u"新規日記HTMLファイルの作成"_s;
inline const QString NewFromTemplate = u"新規作成用テンプレートファイルがあります。\n\n読み込みますか？"_s;
inline const QString UserDefinedSetName = u"ユーザ定義"_s;
inline QString fileTooLarge(const QString& path) {
    return u"ファイル ["_s + path + u"] は大きすぎるため開けません。\n（104857600 文字まで）"_s;
}
// A file could not be read or written: the path as shown to the user and the
// system's reason.
inline QString fileReadError(const QString& path, const QString& reason) {
    return u"ファイル %1 を読み込めませんでした。\n理由: %2"_s.arg(path, reason);
}
inline QString fileWriteError(const QString& path, const QString& reason) {
    return u"ファイル %1 に書き込めませんでした。\n理由: %2"_s.arg(path, reason);
}

// ---- Today's page, composer, statistics -------------------------------------

// Main window caption while today's page holds today's date.
inline const QString MainCaptionGap = u"   "_s;
inline const QString MainCaptionDateOpen = u"   --- ["_s;

// New entry and the date reset.
inline const QString NewTodayEntryCaption = u"確認"_s;
inline const QString NewTodayEntryQuestion =
    u"現在の入力内容を破棄して、「今日の日記」を新規作成しますか？"_s;

// Title panel.
inline const QString TitlePanelPrefix = u"タイトル："_s;

// Temporary save of today's entry.
inline const QString TempSaveFailed =
    u"何らかの原因で、一時ファイルに保存できませんでした。\n\nディスクが満杯でないか、書き込み禁止になっていないか、一時ファイルが他のプログラムからアクセスされていないかなどを確認して下さい。"_s;
inline const QString TempSaveFailedCaption = u"保存失敗"_s;
inline const QString TempSaveNoBody = u"本文がなければ一時保存はできません。"_s;
inline const QString TempSaveCancelled = u"一時保存を中止しました。"_s;
inline const QString TempSaveCancelledCaption = u"ユーザによるキャンセル"_s;
inline const QString TempSaveDone =
    u"「今日の日記」を一時ファイルに保存しました。次回起動時に、自動的に読み込まれます。\n\nOribelを終了します。"_s;

// Operation advice: the first piece, one of the two line-break pieces, the last piece.
inline const QString AdviceCaption = u"操作アドバイス"_s;
inline const QString AdviceIntro =
    u"このウインドウ（「今日の日記編集」ウインドウ）では、ＨＴＭＬタグのことは一切気にせずに、普通に日記を記述して下さい。\nＨＴＭＬタグの挿入（文字装飾やリンクの設置など）は、全て、隣の「日記ファイル全体編集」ウインドウで行います。\n\nもちろん、こちらのウインドウでＨＴＭＬタグを直接記述しても、何ら問題はありません。その際は、メニューの「挿入」をクリックすると、様々なタグを簡単に入力できますので、利用して下さい。\n\n"_s;
inline const QString AdviceManualBreaks =
    u"★なお、ブラウザ上で改行させたい場合は、改行タグを挿入する必要があります。\n改行タグは、[Ctrl]+[B]キーでも入力できます。（この方がマウスを使わずに済むので速く入力できます。）\nまた、各行末に自動的に改行タグを挿入させるよう設定することも可能です。（HTML設定ボタン）\n\n"_s;
inline const QString AdviceAutomaticBreaks =
    u"★なお、現在のモードでは、日記の挿入時に、全ての行末に改行タグが付加されます。\n従って、ブラウザでは、入力した通りに改行されることになります。\nもし、改行タグの自動挿入をさせたくない場合は、「HTML設定ボタン」の「本文」ページで設定できます。\n（ツールバー上の「改行タグ」項目で「手動挿入」に切り替えることでも設定可能です。）\n\n"_s;
inline const QString AdviceOutro =
    u"日記が記述できたら、「日記ファイル全体編集」タブをクリックして下さい。"_s;

// The composer's checks before anything is inserted.
inline const QString NoDiaryBody = u"日記本文がありません。本文を書いて下さい。"_s;
inline const QString NoDiaryBodyCaption = u"入力不備エラー"_s;
inline const QString EntryIncompleteCaption = u"入力不備注意"_s;
inline const QString NoWeatherQuestion =
    u"天気が入力されていませんが、天気を省略したまま挿入を実行しますか？\n\n（この質問を省略させるには、「HTML設定」の「天気」で設定して下さい。）"_s;
inline const QString NoTitleQuestion =
    u"タイトルが入力されていませんが、タイトルを省略したまま挿入を実行しますか？"_s;

// Status panel 3 of today's tab.
inline const QString StatusFirstEntryOfMonth = u" 今月最初の日記ですね。今月もがんばりましょう！"_s;
inline const QString StatusShareOfAverageBefore = u" 現在の執筆量は、今月平均の "_s;
inline const QString StatusShareOfAverageAfter = u" ％です。"_s;

// Thank-you message at start-up.
inline const QString ThanksCaption = u"ご愛用ありがとうございます～！（＾o＾）/"_s;
inline const QString ThanksText =
    u"公開日記ページの製作は、順調に進んでおられますか？\n\nこのソフトウェアは、お役に立てていますでしょうか。\nなにかお気づきの点、ご意見、ご要望などがありましたら、お気軽に製作者宛にメールなどでお知らせ下さい。\n\nお時間がありましたら、どうぞ、製作者のホームページへもお越し下さい。\n「Oribel」のバージョンアップ版の存在チェックにもなります。（＾＾;）\nお待ちいたしております。（アクセスは「インターネットサービス」メニューからどうぞ。）"_s;

// Statistics labels of the about window (the figures go between the pieces).
inline const QString AboutDiaryTimeBefore = u"今月、日記を書いた回数： "_s;
inline const QString AboutDiaryTimeLBefore = u"先月、日記を書いた回数： "_s;
inline const QString AboutDiaryTimeAfter = u" 回"_s;
inline const QString AboutDiaryLinesBefore = u"今月に書いた日記の総行数： "_s;
inline const QString AboutDiaryLinesLBefore = u"先月に書いた日記の総行数： "_s;
inline const QString AboutDiaryLinesMiddle = u" 行 （１回当たりの平均は、 "_s;
inline const QString AboutDiaryLinesAfter = u"行です。）"_s;
inline const QString AboutPercentBefore = u"今月の執筆量（行数）は、先月の "_s;
inline const QString AboutPercentAfter = u" ％です。"_s;

// ---- Splash and about windows -----------------------------------------------

// The author's addresses themselves live in resources/AuthorAddresses.h.
inline const QString MailtoPrefix = u"mailto:"_s;

// Splash window: the statistics figures and their pieces.
inline const QString SplashFigureUnknown = u"-"_s;
inline const QString SplashLastMonthBefore = u"（先月： "_s;

// The small surprise behind a double-click on the icon.
inline const QString JokeReleaseNoteCaption = u"4月1日 リリース"_s;
inline const QString JokeReleaseNote =
    u"Ver 3.32 のリリースノート\n\n・アイコンをダブルクリックすると、このお知らせが出るようになりました。\n・三日坊主を防ぐため、日記を書く人をそっと応援する気持ちを、いつもより多めに込めました。"_s;

// ---- HTML tag information file ----------------------------------------------

// The shared file dialogs as the export and the import set them up.
inline const QString TagFileFilter = u"HTMLタグ情報ファイル(*.ozt)|*.ozt|全てのファイル|*.*"_s;
inline const QString TagFileDefaultExt = u"ozt"_s;
inline const QString TagFileSaveTitle = u"保存先HTMLタグ情報ファイルを指定"_s;
inline const QString TagFileOpenTitle = u"HTMLタグ情報ファイルを開く"_s;

// The first line of every file written (followed by CR LF).
inline const QString TagFileHeaderLine = u"手動改変厳禁！"_s;

// Export. The plain box (caption AppTitle, no icon) when the file cannot be
// created also names the file and the system's reason.
inline const QString TagFileCreateFailed = u"出力用FileのOpenに失敗."_s;
inline QString tagFileCreateFailed(const QString& path, const QString& reason) {
    return TagFileCreateFailed + u"\n\n"_s + fileWriteError(path, reason);
}
inline const QString TagFileExportedCaption = u"書き出し完了"_s;
inline QString tagFileExported(const QString& path) {
    return u"現在のHTMLタグ設定を、ファイル ["_s + path + u"] へ書き出しました。"_s;
}
// Writing the file failed after it was created (error icon; the text is fileWriteError()).
inline const QString TagFileExportFailedCaption = u"書き出し失敗"_s;

// Import.
inline const QString TagFileImportCaption = u"HTML設定セット取り込み"_s;
inline const QString TagFileImportConfirm =
    u"現在のHTML設定が失われては困る場合は、先に現在の設定をファイルに書き出して下さい。\n\n新しいデータを開きますか？"_s;
// The plain box when the file cannot be opened also names the file and the reason.
inline const QString TagFileOpenFailed = u"取込用FileのOpenに失敗."_s;
inline QString tagFileOpenFailed(const QString& path, const QString& reason) {
    return TagFileOpenFailed + u"\n\n"_s + fileReadError(path, reason);
}
inline const QString TagFileOldFormat = u"これは古いデータ形式です。読み込んでもよろしいですか？"_s;
inline const QString TagFileTooNewCaption = u"不適合"_s;
inline const QString TagFileTooNew =
    u"このデータは、もっと新しいバージョンの「Oribel」で作成されたものです。\n\n互換性がありませんので、取り込むことはできません。"_s;
inline const QString TagFileDamaged =
    u"このデータファイルは壊れている可能性があります。\n\n処理を続行しますか？"_s;
inline const QString TagFileDefaultSetName = u"デフォルト設定"_s;
// An item number the format does not know (plain box), then the fatal box.
inline QString tagFileUnknownItem(int number) {
    return u"ERROR:"_s + QString::number(number);
}
inline const QString TagFileFatalCaption = u"致命的エラー"_s;
inline const QString TagFileFatal = u"データファイルの記録形式に問題があります。"_s;
inline const QString TagFileUnexpectedEnd = u"期待しないEOF"_s;
inline const QString TagFileUnusedCaption = u"未使用項目数報告"_s;
inline QString tagFileUnusedItems(int count) {
    return u"データファイル中に、このバージョンの「Oribel」では使われない項目が、"_s +
           QString::number(count) + u"個ありました。"_s;
}
// The text a template field receives from a value that begins with a control byte.
inline const QString TagFileBadText = u"ERR"_s;

// ---- User lists and hand-over --------------------------------------------------

// The list files' first lines.
inline const QString BookmarkListHeader = u"# Oribel 用ブックマーク記録ファイル,"_s;
inline const QString SnippetListHeader = u"# Oribel 用任意タグ・単文登録ファイル,"_s;

// Writing the list files (error icon).
inline const QString ListFileOpenErrorCaption = u"FILE OPEN ERROR"_s;
inline const QString ListFileFatalErrorCaption = u"致命的なエラー"_s;
inline const QString SnippetListOpenFailed =
    u"任意タグ,単文情報ファイルを開けませんでした。\n\nRead Only属性が付いていたり、メディアがライトプロテクトされていませんか？"_s;
inline const QString SnippetListWriteFailed = u"任意タグ,単文情報をファイルに書き込めませんでした。"_s;
inline const QString BookmarkListOpenFailed =
    u"ブックマークファイルを開けませんでした。\n\nRead Only属性が付いていたり、メディアがライトプロテクトされていませんか？"_s;
inline const QString BookmarkListWriteFailed = u"ブックマーク情報をファイルに書き込めませんでした。"_s;
inline const QString ProjectListWriteFailed =
    u"[default.str]に書き込めませんでした。\n\n書き込み禁止メディア上で実行されている可能性があります。"_s;

// The entries written when a list would otherwise stay empty; without an
// author's site there is none.
inline const QString DefaultSnippetName = u"Oribel リンク"_s;
inline const QString DefaultSnippetEnd = u"</A>"_s;
inline const QString DefaultBookmarkName = u"作者の日記ページ"_s;
// The address of the default bookmark that earlier builds wrote without a site.
inline const QString DefaultBookmarkNoSiteTarget = u"作者の日記ページは、まだ公開されていません。"_s;

// Author's addresses that do not exist yet (plain boxes, and the about window's fields).
inline const QString NoAuthorSite = u"Oribel の公式ウェブサイトは、まだ公開されていません。"_s;
inline const QString NoAuthorMail = u"作者宛のメール窓口は、まだ用意されていません。"_s;
inline const QString AuthorAddressNone = u"（準備中）"_s;

// Handing the document over to other programs.
inline const QString HandOverNotSaved =
    u"編集中のHTMLファイルを保存して下さい。\n保存しないと外部アプリケーションへは渡せません。"_s;
inline const QString HandOverNothing = u"外部アプリケーションへ送るHTMLがありません。"_s;
inline const QString HandOverErrorCaption = u"HTML Send Error."_s;
inline const QString EditorNothing =
    u"エディタへ送るべきHTMLが存在しないか、もしくは編集中のHTMLが保存されていません。"_s;
inline const QString EditorErrorCaption = u"HTML Send Error"_s;

// The error page shown in the browser when there is nothing to show.
inline const QString ErrorPageFileName = u"error.html"_s;
inline const QString ErrorPageLine1 = u"<HTML><HEAD><TITLE>Error from Oribel</TITLE></HEAD>"_s;
inline const QString ErrorPageLine2 = u"<BODY><H1>表示すべきファイルがありません。</H1>"_s;
inline const QString ErrorPageLine3 =
    u"<P>何もHTMLファイルを開いていないか、本文が全くないか、または保存が拒否されました。</P>"_s;
inline const QString ErrorPageLine4 =
    u"<P>ブラウザへ渡す前に、HTMLファイルを保存する必要があります。</P><HR>"_s;
inline const QString ErrorPageSiteTitle = u"Oribel ホームページ"_s;
inline const QString ErrorPageLine6 = u"</BODY></HTML>"_s;
inline const QString ErrorPageWriteFailed =
    u"警告HTMLの作成に失敗。\n書き込み禁止メディア上で実行されている可能性があります。"_s;
inline const QString ErrorPageDeleteFailed = u"エラーHTMLの削除に失敗。"_s;

// The Internet-service menu and the bookmarks.
inline const QString UserSiteMissing =
    u"「動作設定」の「ブックマーク」内、「自分の日記ページURL」項目に、URLを登録して下さい。"_s;
inline const QString SecurityCaption = u"セキュリティによる中止"_s;
inline const QString BookmarkProgramRefused = u"ここからプログラムを実行することはできません。"_s;
inline const QString BookmarkLocalRefused = u"ローカル上のファイルは、HTMLファイルしか参照できません。"_s;

// Status-line texts when the desktop could not open or start something.
inline const QString ShellNoProgram = u"起動するプログラムが設定されていません。"_s;
inline const QString ShellNothingToOpen = u"開くファイルがありません。"_s;
inline QString shellNotFound(const QString& target) {
    return u"%1 が見つかりません。"_s.arg(target);
}
inline QString shellNoHandler(const QString& target) {
    return u"%1 を開くプログラムがありません。"_s.arg(target);
}
inline QString shellLaunchFailed(const QString& program, const QString& reason) {
    return u"%1 を起動できませんでした。（%2）"_s.arg(program, reason);
}
// ---- Tag builder modes -------------------------------------------------------

// The openers' refusals without a selection (warning icon, OK).
inline const QString LinkNeedsSelection = u"リンクにしたい文字を範囲選択して下さい。"_s;
inline const QString LinkNeedsSelectionCaption = u"リンク指定"_s;
inline const QString DecoNeedsSelection = u"装飾したい文字、色を付けたい文字を、範囲選択して下さい。"_s;
inline const QString DecoNeedsSelectionCaption = u"文字装飾・色指定"_s;
inline const QString PosNeedsSelection = u"位置を指定したい文字（または行）を、範囲選択して下さい。"_s;
inline const QString PosNeedsSelectionCaption = u"位置指定"_s;

// The tag builder's refusals at OK (exclamation icon, OK).
inline const QString LinkUrlMissing = u"リンク先の指定は省略できません。"_s;
inline const QString GraphicNameMissing = u"画像のファイル名は省略できません。"_s;
inline const QString TagInputErrorCaption = u"入力不備エラー"_s;

// ---- Files and stores that never lose data ------------------------------------

// What a path names when it is no regular file; the reason of a refused read.
inline const QString KindFolder = u"フォルダ"_s;
inline const QString KindFifo = u"名前付きパイプ（FIFO）"_s;
inline const QString KindCharDevice = u"デバイス（キャラクタ型）"_s;
inline const QString KindBlockDevice = u"デバイス（ブロック型）"_s;
inline const QString KindSocket = u"ソケット"_s;
inline const QString KindOther = u"特殊なファイル"_s;
inline QString notRegularFile(const QString& kind) {
    return u"通常のファイルではなく、%1です。"_s.arg(kind);
}
// A file over the reading limit, refused before anything is read.
inline QString fileOverReadLimit(qint64 size) {
    return u"ファイルの大きさ（%1 バイト）が上限の 1 GB（1073741824 バイト）を超えています。"_s.arg(size);
}
// The second line added to a message: where and why ("path: reason").
inline QString pathAndReason(const QString& path, const QString& reason) {
    return u"%1: %2"_s.arg(path, reason);
}

// Settings store: values that are not what they should be (warning icon, OK,
// caption StoreDamagedCaption). %1: the settings file, %2: the ignored
// members, one per line.
inline const QString StoreMembersIgnored =
    u"設定ファイル\n%1\nの次の項目は正しい形式でないため、無視しました。\n\n%2\n\n"
    u"ほかの設定はそのまま使います。"_s;
// One ignored member: a key that is not an object, or a value of a key that is
// neither a text nor a 32-bit integer.
inline QString ignoredKey(const QString& key) {
    return u"・%1"_s.arg(key);
}
inline QString ignoredValue(const QString& key, const QString& name) {
    return u"・%1 の %2"_s.arg(key, name);
}
// Shown after this many ignored members instead of the rest; %1: how many more.
inline constexpr int IgnoredMembersListed = 10;
inline QString moreIgnored(qsizetype count) {
    return u"ほか %1 件"_s.arg(count);
}
// Reasons of a failed write of the settings store.
inline const QString StoreLockFailed = u"ロックファイルを作れませんでした"_s;
inline const QString StoreStuckDamaged =
    u"壊れた設定ファイルを別名で残せなかったため、書き込みを控えました"_s;

// Recovery copies: reasons of a failed write.
inline const QString RecoveryFolderLocked = u"保存用フォルダを使用できません"_s;
inline const QString RecoveryCopyDamaged = u"内容が壊れています"_s;

// ---- The installed manual ----

// Help (F1) and the about window's "読む(&R)" when the manual's first page is
// nowhere to be found; path is the place where it should be.
inline QString manualMissing(const QString& path) {
    return u"マニュアル（"_s + path +
           u"）が見つかりません。\nOribel と一緒にインストールされているか確認して下さい。\n\nインターネット上でも同じヘルプが公開されています。\nそちらを参照する場合は[ヘルプ]メニューからどうぞ。"_s;
}
// ---- HTML settings dialog ----

// The date preview when no date is inserted, and when no visible date form is selected.
inline const QString HtmlPreviewNoDate = u"日付は挿入されません。"_s;
inline const QString HtmlPreviewNoForm = u"選択不可"_s;

// ---- Faults found as a new user ----

// The manual, local or online, could not be opened: the path or address and
// the system's reason (error icon, caption AppName).
inline QString manualOpenFailed(const QString& pathOrAddress, const QString& reason) {
    return u"マニュアル %1 を開けませんでした。\n理由: %2"_s.arg(pathOrAddress, reason);
}

// ---- Behaviour settings dialog ----------------------------------------------

// The start-up geometry check (warning icon, OK).
inline const QString InputErrorCaption = u"入力エラー"_s;
inline const QString GeometryWidthTooSmall = u"ウインドウ幅が最小サイズを下回っています。"_s;
inline const QString GeometryWidthTooLarge = u"ウインドウ幅が画面サイズを上回っています。"_s;
inline const QString GeometryHeightTooSmall = u"ウインドウ高さが最小サイズを下回っています。"_s;
inline const QString GeometryHeightTooLarge = u"ウインドウ高さが画面サイズを上回っています。"_s;
inline const QString GeometryXBeyondRight = u"Ｘ座標が画面の右端を越えています。"_s;
inline const QString GeometryYBeyondBottom = u"Ｙ座標が画面の下端を越えています。"_s;
// The automatic-open path is too short (caption InputErrorCaption, warning icon).
inline const QString AutoOpenPathMissing = u"フルパスが入力されていませんよ。"_s;

// The splash flag file (warning icon); OK goes on after either.
inline const QString SplashFlagCreateFailed = u"スプラッシュ・ウインドウの表示抑制に失敗しました。"_s;
inline const QString SplashFlagCreateFailedCaption = u"設定を書き込めません"_s;
inline const QString SplashFlagDeleteFailed = u"スプラッシュ・ウインドウの表示抑制を解除できません。"_s;
inline const QString SplashFlagDeleteFailedCaption = u"設定を削除できません"_s;

// The browser paths the program found at start-up (information icon).
inline const QString BrowserPathsCaption = u"Information."_s;
inline QString browserPathsReport(const QString& iePath, const QString& nnPath) {
    return u"ブラウザのインストール場所解析結果\n\nInternet Explorer:\n"_s + iePath +
           u"\n\nNetscape Navigator:\n"_s + nnPath +
           u"\n\nインストール場所は、毎回起動時にレジストリを検索して得ています。\nWindowsNTでは、正しく解析できない場合があります。"_s;
}

// What special characters are (information icon).
inline const QString SpecialCharCaption = u"特殊文字って何？"_s;
inline const QString SpecialCharExplanation =
    u"HTMLでは、「<」と「>」を使って「タグ」を表現します。例えば、「<BR>」で「改行」を示します。\nですから、本文中に「<」という文字そのものを表示させたい場合、「<」とだけ入力するわけにはいかないのです。\nそこで、「<」を表す特別なコード（「<」の場合は「&lt;」）を代わりに入力しなくてはなりません。これらが特殊文字です。\n「<」「>」「&」「\"」などがあります。\n「Oribel」では、「<」を入力した場合のみ（毎回起動後、初回のみ）、注意ダイアログを表示しようとします。"_s;

// The project list's help (information icon).
inline const QString ProjectHelpCaption = u"同時更新HTML登録ヘルプ"_s;
inline const QString ProjectHelp =
    u"ここにファイルを登録しておけば、「Project」ボタンから『日記ファイル全体編集』側に手軽に読み込めるようになります。\n登録可能数に制限はありません。\n\nなお、左側の「Project」項目は、将来の拡張用に用意されており、現行バージョンでは意味を持ちません。何を入力しても無視されます。何も入力しなければ、自動的に「Default」という文字列が入力されます。どちらにせよ現行バージョンでは意味はありませんので、そのままにしておいて下さい。"_s;

// The shared open dialog as the dialog's browse buttons set it up.
inline const QString AutoOpenBrowseTitle = u"HTMLファイル選択"_s;
inline const QString AutoOpenBrowseFilter =
    u"HTMLファイル(*.html)|*.htm*;*.xml|スクリプト(*.js)|*.vbs;*.js|すべてのファイル|*.*"_s;
inline const QString ExternalAppBrowseTitle = u"外部アプリケーションの指定"_s;
inline const QString ExternalAppBrowseFilter =
    u"アプリケーション(*.exe)|*.exe;*.com|スクリプト(*.bat)|*.bat;*.vbs;*.js|すべてのファイル|*.*"_s;
inline const QString ProjectBrowseTitle = u"同時更新HTMLファイル選択"_s;
inline const QString ProjectBrowseFilter =
    u"HTML関連ファイル(*.html,*css,*.asp,*.xml,*.txt)|*.htm*;*.xml;*.css;*.asp;*.txt|スクリプト(*.js,*.vbs,*pl,*.cgi)|*.vbs;*.js;*.pl;*.cgi|すべてのファイル|*.*"_s;

// The "Project" column's text for a project row.
inline const QString ProjectRowName = u"Default"_s;
// ---- Pages in their own form ----

// The file-name row shows the page's encoding and line ending: "UTF-8 · LF".
inline const QString PageEncodingCp932 = u"Shift_JIS"_s;
inline const QString PageEncodingUtf8 = u"UTF-8"_s;
inline const QString PageEncodingUtf8Bom = u"UTF-8 BOM付き"_s;
inline const QString LineEndingCrLf = u"CR LF"_s;
inline const QString LineEndingLf = u"LF"_s;
inline const QString LineEndingCr = u"CR"_s;
inline QString pageForm(const QString& encoding, const QString& lineEnding) {
    return encoding + u" · "_s + lineEnding;
}
// The document tab's status line while a big page comes in or is written.
inline QString pageLoading(int percent) {
    return u"読み込み中… %1%"_s.arg(percent);
}
inline const QString PageSaving = u"保存中…"_s;
// ---- Recovery copies, kept entries and two running copies ----

// The second line under a kept text: the path and the system's reason.
inline QString withReason(const QString& text, const QString& pathAndReason) {
    return pathAndReason.isEmpty() ? text : text + u'\n' + pathAndReason;
}
// How the store names a key in messages.
inline QString storeKeyName(const QString& key) {
    return u"HKEY_CURRENT_USER"_s + key;
}
// The second line under TempDiaryLoadFailed: the kept entry's fields are missing.
inline QString tempKeyMissing(const QString& key, const QString& bodyFile) {
    return u"%1 が見つかりません。本文は %2 から読み込みました。日付・曜日・天気・タイトルは今日のものです。"_s
        .arg(storeKeyName(key), bodyFile);
}
// The lines under TempDiaryWriteFailed: why the fields were not stored, and
// where the body is.
inline QString tempKeyNotWritten(const QString& key, const QString& reason, const QString& bodyFile) {
    const QString where = reason.isEmpty() ? storeKeyName(key) : reason;
    return u"%1\n本文は %2 に保存しました。日付・曜日・天気・タイトルは保存されていません。"_s.arg(where,
                                                                                                   bodyFile);
}
// A page at start-up that is there but is no regular file (caption
// AutoOpenErrorCaption, error icon); reason says what it is.
inline QString lastSavedFileNotRegular(const QString& path, const QString& reason) {
    return u"最後に保存されたファイル ["_s + path + u"] を開けませんでした。\n"_s +
           pathAndReason(path, reason);
}
inline QString alwaysOpenFileNotRegular(const QString& path, const QString& reason) {
    return u"指定されたファイル ["_s + path + u"] を開けませんでした。\n"_s + pathAndReason(path, reason);
}
inline QString historyFileNotRegular(const QString& path, const QString& reason) {
    return u"履歴上の指定のファイル\n"_s + path + u"\nを開けませんでした。\n"_s + pathAndReason(path, reason);
}

// The time of a recovery copy or a kept entry, as the questions show it.
inline const QString CopyTimeFormat = u"yyyy/MM/dd HH:mm:ss"_s;

// The start-up question offering a recovery copy back (question icon, Yes/No).
// %1: the time of the copy, %2: the folder where a declined copy is kept.
inline const QString RecoveryOfferCaption = u"編集内容の復元"_s;
inline QString recoveryOfferToday(const QString& time, const QString& folder) {
    return u"前回、Oribel が正しく終了しなかったため、保存されていない「今日の日記」本文の"
           u"復元用コピーが残っています（%1 の時点の内容）。\n\n"
           u"「今日の日記」本文を復元しますか？\n\n"
           u" [はい] 　　 … 本文を復元する（保存されていない状態で表示します）\n"
           u" [いいえ]　　… 復元しない（コピーは %2 に別名で残します）"_s.arg(time, folder);
}
// %1: the diary page's path (or UnnamedPage), %2: the time, %3: the folder.
inline const QString UnnamedPage = u"（新規作成・未保存のファイル）"_s;
inline QString recoveryOfferPage(const QString& page, const QString& time, const QString& folder) {
    return u"前回、Oribel が正しく終了しなかったため、日記ファイル\n%1\nの保存されていない"
           u"編集内容の復元用コピーが残っています（%2 の時点の内容）。\n\n"
           u"「日記ファイル全体編集」に復元しますか？\n\n"
           u" [はい] 　　 … 編集内容を復元する（保存されていない状態で表示します）\n"
           u" [いいえ]　　… 復元しない（コピーは %3 に別名で残します）"_s.arg(page, time, folder);
}

// A recovery copy could not be written; shown once per run (warning icon).
inline const QString RecoveryWriteFailedCaption = u"復元用コピーの保存エラー"_s;
inline QString recoveryWriteFailed(const QString& pathAndReason) {
    return u"編集内容の復元用コピーを保存できませんでした。\n"_s + pathAndReason +
           u"\n\nこのままでは、Oribel が異常終了した場合に編集内容が失われます。"
           u"こまめに保存して下さい。"_s;
}

// Several kept entries at start-up: each is offered in turn, newest first
// (question icon, Yes/No). %1: how many, %2: when this one was kept.
inline const QString KeptEntriesCaption = u"一時保存された日記"_s;
inline QString keptEntryOffer(qsizetype count, const QString& time) {
    return u"一時保存された「今日の日記」が %1 件あります。\n\n"
           u"%2 に保存された本文を「今日の日記」に読み込みますか？\n\n"
           u" [はい] 　　 … この本文を読み込む\n"
           u" [いいえ]　　… 読み込まない（次回の起動時にもう一度お知らせします）"_s.arg(count)
               .arg(time);
}
// ---- Editing commands and quick tags -------------------------------------------

// The first "<" typed into today's body in a run (information icon, OK).
inline const QString SpecialCharWarning =
    u"あなたが今入力した「<」文字は、HTMLタグとして認識されます。\n\nもし、タグではなく「<」という文字そのものを表示させたいのであれば、「挿入」メニュー（もしくは、マウスの右クリック）内の「特殊文字」から入力して下さい。「>」、「&」、「\"」（全て半角文字）も同様です。\n\n（この警告は、「動作設定」で、表示させないよう設定できます。）"_s;
inline const QString SpecialCharWarningCaption = u"特殊文字に関する注意"_s;

// ---- List entries the list files cannot hold -------------------------------------

// A path, address or name in a list grid holds a character CP932 has no code
// for (caption InputErrorCaption, warning icon). %1: the entry, %2: the
// character, %3: its code point in hex.
inline QString listEntryUnwritable(const QString& entry, const QString& character, const QString& code) {
    return u"「%1」には、一覧ファイルに書けない文字「%2」（U+%3）が含まれているため、登録できません。\n\n"
           u"一覧ファイルはシフトJISで書かれます。この文字を含まない名前に変えてから登録して下さい。"_s.arg(
               entry, character, code);
}

// ---- Find, replace and go to a line (the find bar's notes) -----------------------
inline const QString SearchWrappedToStart = u"末尾まで検索したので、先頭から検索しました"_s;
inline const QString SearchWrappedToEnd = u"先頭まで検索したので、末尾から検索しました"_s;
inline QString searchNotFound(const QString& pattern) {
    return u"「%1」は見つかりませんでした"_s.arg(pattern);
}
inline const QString SearchTooSlow = u"検索に時間がかかりすぎるため中止しました"_s;
inline QString searchPatternInvalid(const QString& reason) {
    return u"正規表現が正しくありません（%1）"_s.arg(reason);
}
inline const QString SearchWhileLoading =
    u"ページの読み込み中は検索できません。読み込みが終わってから操作して下さい"_s;
inline const QString SearchReadOnly = u"この編集領域は置換できません"_s;
inline QString searchCount(qsizetype count) {
    return u"%1件"_s.arg(count);
}
inline const QString SearchCounting = u"…件"_s;
inline QString replacedCount(qsizetype count) {
    return u"%1件置換しました"_s.arg(count);
}
inline QString lineOutOfRange(int lastLine) {
    return u"1 から %1 までの行番号を入力して下さい"_s.arg(lastLine);
}
// ---- A page rewritten in place that a crash interrupted ------------------------

// Offered at start-up (question icon, Yes/No). %1: the page, %2: the folder
// that keeps the old contents.
inline const QString InterruptedRewriteCaption = u"日記ファイルの復元"_s;
inline QString interruptedRewriteOffer(const QString& page, const QString& folder) {
    return u"前回、Oribel が日記ファイル\n%1\nを上書き保存している途中で終了したため、"
           u"このファイルは壊れているおそれがあります。保存する前の内容は残っています。\n\n"
           u"保存する前の内容に戻しますか？\n\n"
           u" [はい] 　　 … 保存する前の内容に戻す\n"
           u" [いいえ]　　… 戻さない（保存する前の内容は %2 に別名で残します）"_s.arg(page, folder);
}
// The old contents could not be written back (error icon). %1: path and reason.
inline QString interruptedRewriteNotRestored(const QString& pathAndReason) {
    return u"日記ファイルを保存する前の内容に戻せませんでした。\n"_s + pathAndReason;
}
// ---- Browsing for a program -----------------------------------------------------

// The first filter entry of the program browse dialogs where programs have no
// extension: executable files, whatever their names.
inline const QString ProgramFilesFilterName = u"プログラム"_s;

} // namespace msg

// The texts of publishing to the web site stand in a file of their own.
#include "resources/UploadMessages.h"

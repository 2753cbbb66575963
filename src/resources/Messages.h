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
inline const QString DocumentNotSaved = u"「日記ファイル全体編集」の編集内容は保存されていません。\n保存しますか？"_s;
inline const QString ExitConfirmCaption = u"終了確認"_s;
inline const QString ExitConfirm =
    u"「今日の日記」本文が変更されたまま、使用（挿入）されていません。\n\n「今日の日記」本文を、次回起動時まで保存しておきますか？\n\n [はい] 　　 … 本文を次回起動時まで保存する\n [いいえ]　　… 本文は破棄する\n [キャンセル]… Oribelを終了するのをやめる\n"_s;
inline const QString DropIntoTodayConfirm =
    u"ファイルを読み込もうとしています。\n\n現在の入力内容を破棄して、「今日の日記」にファイル内容を読み込みますか？"_s;
inline const QString ManualNotFoundCaption = u"Not Found"_s;
inline const QString ManualNotFound =
    u"マニュアル（Pagora.chm）が見つかりません。\nプログラムと同じフォルダに入っているか確認して下さい。\n\nインターネット上でも同じヘルプが公開されています。\nそちらを参照する場合は[ヘルプ]メニューからどうぞ。"_s;
inline const QString UninstallConfirmCaption = u"アンインストール準備（使用レジストリ領域の開放）"_s;
inline const QString UninstallConfirm =
    u"このソフトウェアが使用しているレジストリ領域の、全てのデータを削除します。\nあなた自身や、ソフトウェア側が行った、全ての設定情報は、完全に削除されます。\n\nレジストリ領域に書き込んだデータを、完全に削除してよろしいですか？\n\n（「はい」を選択すれば、直後に作業が開始されます。取り消しはできません。）"_s;
inline const QString UninstallDoneCaption = u"使用レジストリ領域の開放完了"_s;
inline const QString UninstallDone =
    u"削除を完了しました。\nこれで、このソフトウェアの設定は、何も残っていません。\n\nあとは、手動で全てのファイルをハードディスク上から削除して下さい。"_s;
inline const QString NewFromTemplateCaption = u"新規日記HTMLファイルの作成"_s;
inline const QString NewFromTemplate = u"新規作成用テンプレートファイルがあります。\n\n読み込みますか？"_s;
inline const QString BtnSentenceHint =
    u"「任意タグ」は、エディタ上の文字を範囲選択した上で\nクリックすれば、選択した文字を「開始タグ」と「終了タグ」で\n挟んだ形で挿入されます。 (Ctrl+U)"_s;
inline const QString BtnEditorHint =
    u"エディタに編集中のHTMLを渡します。\n「動作設定」の「連携」で起動ソフトを指定できます。"_s;
inline const QString BtnFtpHint = u"FTPソフトを起動します。\n「動作設定」の「連携」でFTPソフトを登録できます。"_s;
inline const QString UserDefinedSetName = u"ユーザ定義"_s;
inline QString htmlSetNameHint(const QString& shownName) {
    return u"現在選択されているHTMLタグ設定は、["_s + shownName + u"]です。\n変更したい場合は、「HTML設定」で出来ます。"_s;
}
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

// Title panel and the title dialog.
inline const QString TitlePanelPrefix = u"タイトル："_s;
inline const QString TitlePanelHint = u"修正や削除したい場合は、左上のボタンをクリック。"_s;
inline const QString TitleDialogCaption = u"今日の日記のタイトル - Oribel"_s;
inline const QString TitleDialogGroup = u"今日の日記のタイトルを入力して下さい。(&T)"_s;
inline const QString TitleDialogDelete = u"削除(&D)"_s;
inline const QString TitleDialogDeleteHint = u"入力内容を全て消します。"_s;
inline const QString TitleDialogNoteLength =
    u"半角文字換算で、128文字まで入力できます。HTMLタグは有効です。"_s;
inline const QString TitleDialogNoteTags =
    u"内容に「<」や「>」を含めると、HTMLタグとして認識されてしまうのでご注意下さい。"_s;

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

// The addresses below lie under example.org, the domain reserved for
// documentation: there is no public site or mail desk for Oribel yet.
inline const QString OnlineManualUrl = u"https://oribel.example.org/manual/"_s;
inline const QString ProductPageUrl = u"https://oribel.example.org/download/"_s;
inline const QString MakerSiteUrl = u"https://oribel.example.org/"_s;
inline const QString SupportMailAddress = u"support@oribel.example.org"_s;
inline const QString PersonalMailAddress = u"author@oribel.example.org"_s;
inline const QString MailtoPrefix = u"mailto:"_s;

// Splash window.
inline const QString SplashSubtitle = u"日記HTMLファイル作成支援エディタ"_s;
inline const QString SplashNotice = u"ウェブ日記のHTMLを、手元で書いて整えるエディタです。"_s;
inline const QString SplashWriteTimeCap = u"今月中に日記を書いた回数："_s;
inline const QString SplashWriteTimeUnit = u"回"_s;
inline const QString SplashSumLineCap = u"今月の日記の総行数："_s;
inline const QString SplashSumLineUnit = u"行"_s;
inline const QString SplashFigureUnknown = u"-"_s;
inline const QString SplashLastMonthBefore = u"（先月： "_s;
inline const QString SplashLastMonthTimeAfter = u"回）"_s;
inline const QString SplashLastMonthLinesAfter = u"行）"_s;
inline const QString SplashWelcome = u"Oribel をダウンロードいただき、ありがとうございます。"_s;
inline const QString SplashStarting = u"起動処理中..."_s;
inline const QString SplashPin = u"消さない"_s;
inline const QString SplashPinnedClose = u"閉じる"_s;

// About window: header and buttons.
inline const QString AboutCaption = u"バージョン情報 ＆ ヘルプ"_s;
inline const QString AboutSubtitle = u"日記HTMLページ製作支援ツール"_s;
inline const QString AboutNotice = u"ご利用の前に、下の利用条件をお読み下さい。"_s;
inline const QString AboutOk = u"OK"_s;

// About window: the page on the software.
inline const QString AboutTabSoftware = u"このソフトウェアについて"_s;
inline const QString AboutOsCaption = u"OSバージョン："_s;
inline const QString AboutOsUnknown = u"（判別不能）"_s;
inline const QString AboutMemCaption = u"物理メモリ："_s;
inline const QString AboutMemUnknown = u"-"_s;
inline const QString AboutMemUnit = u"Bytes."_s;
inline const QString AboutTerms =
    u"【Oribel の利用条件】\n\n１．このソフトウェアは、現状のままで提供されます。動作や結果について、明示・黙示を問わず、いかなる保証もありません。\n\n２．このソフトウェアを使ったこと、または使えなかったことによって生じたいかなる損害についても、著作者は責任を負いません。大切な日記ファイルは、こまめにバックアップをお取り下さい。\n\n３．日記ファイルと設定は、お使いのコンピュータの中だけに保存されます。このソフトウェアが、それらを自分からインターネットへ送ることはありません。ページを公開するのは、あなたが指定したFTPツールなどのプログラムです。\n\n４．メールアドレスやウェブサイトの「送信」「移動」ボタンは、お使いのメールソフトやブラウザにアドレスを渡すだけです。\n\n５．公式のウェブサイトとメール窓口は、現在準備中です。このウインドウに記載のアドレスは仮のもので、まだどこにもつながりません。"_s;

// About window: the page on help and guides.
inline const QString AboutTabHelp = u"操作ヘルプとガイド"_s;
inline const QString AboutHelpLine1 = u"このソフトウェアの使用方法については、付属のドキュメントをご参照下さい。"_s;
inline const QString AboutHelpLine2 =
    u"なお、マニュアルは、インターネット上にも用意してあります。（付属ドキュメントと同一）"_s;
inline const QString AboutHelpLine3 = u"また、Oribel 公式コーナーでは、最新版のダウンロードの他、FAQやTIPSの"_s;
inline const QString AboutHelpLine4 = u"閲覧、専用BBS（掲示板）の利用などが可能です。ぜひ、お越し下さい。"_s;
inline const QString AboutLoadManual = u"読む(&R)"_s;
inline const QString AboutAccessManual = u"移動(&M)"_s;
inline const QString AboutAccessSite = u"移動(&S)"_s;

// About window: the page on contacts.
inline const QString AboutTabContact = u"お問い合わせ先"_s;
inline const QString AboutContactLine1 =
    u"著作者（製作者）へのお問い合わせなどは、下記のメールアドレスへお送り下さい。"_s;
inline const QString AboutContactLine2 =
    u"ご意見・ご感想・ご要望など、お待ちいたしております。お気軽にお送り下さい。（＾o＾）/"_s;
inline const QString AboutSupportCaption = u"サポート："_s;
inline const QString AboutSendSupport = u"送信(&1)"_s;
inline const QString AboutSendSupportHint = u"サポート窓口です。お気軽にお送り下さい。"_s;
inline const QString AboutPersonalCaption = u"個人："_s;
inline const QString AboutSendPersonal = u"送信(&2)"_s;
inline const QString AboutSiteLine =
    u"著作者運営のウェブサイトは下記のURLです。ソフトウェアの最新版はここで公開します。"_s;
inline const QString AboutUrlCaption = u"URL："_s;
inline const QString AboutAccessUrl = u"移動(&J)"_s;
inline const QString AboutAccessUrlHint = u"ホームページへアクセスする"_s;

// About window: the statistics page (the texts shown before the figures are filled in).
inline const QString AboutTabStatistics = u"統計情報"_s;
inline const QString AboutDiaryTimeDesign = u"解析エラー"_s;
inline const QString AboutDiaryLinesDesign = u"情報を取得できませんでした。"_s;
inline const QString AboutDiaryTimeLDesign = u"no datas"_s;
inline const QString AboutDiaryLinesLDesign = u"no datas"_s;
inline const QString AboutPercentDesign = u"can't calc."_s;
inline const QString AboutDebugMode = u"開発用：　デバッグモード"_s;
inline const QString AboutDebugModeHint = u"統計情報の更新を抑制します。"_s;

// The small surprise behind a double-click on the icon.
inline const QString JokeReleaseNoteCaption = u"4月1日 リリース"_s;
inline const QString JokeReleaseNote =
    u"Ver 3.32 のリリースノート\n\n・アイコンをダブルクリックすると、このお知らせが出るようになりました。\n・三日坊主を防ぐため、日記を書く人をそっと応援する気持ちを、いつもより多めに込めました。"_s;
inline const QString JokeCaption = u"バージョン情報 ＆ おまけ"_s;
inline const QString JokeAppTitle = u"Oribel 3 （おまけ付き）"_s;
inline const QString JokeTabStatistics = u"ひみつの統計"_s;
inline const QString JokeDiaryTime = u"今月、日記を書いた回数： 数えきれないほど（たぶん）"_s;


// ---- Tag builder -------------------------------------------------------------

// The dialog frame.
inline const QString TagsCaption = u"HTMLタグ挿入 - Oribel"_s;
inline const QString TagsWeatherCaption = u"不足情報の解決 - Oribel"_s;
inline const QString TagsOk = u"OK"_s;
inline const QString TagsCancel = u"Cancel"_s;
inline const QString TagsAllLowerCase = u"全て小文字(&L)"_s;
inline const QString TagsAllLowerCaseHint = u"全て小文字に変換して挿入します。"_s;

// The weather page.
inline const QString WeaSheetCaption = u"天気のタグ指定"_s;
inline const QString WeaNoteOutsideList = u"天気欄に、リスト外の文字が入力されています。"_s;
inline const QString WeaNoteChoose = u"表示する際のタグ設定を選択して下さい。"_s;
inline const QString WeaInput1 = u"入力文字１："_s;
inline const QString WeaInput2 = u"入力文字２："_s;
inline const QString WeaList1 = u"設定リスト(&1)"_s;
inline const QString WeaList2 = u"設定リスト(&2)"_s;
inline const QString WeaSun = u"「晴れ」の設定(&L)"_s;
inline const QString WeaCloud = u"「くもり」の設定(&C)"_s;
inline const QString WeaRain = u"「雨」の設定(&R)"_s;
inline const QString WeaSnow = u"「雪」の設定(&S)"_s;
inline const QString WeaUser = u"任意のタグを指定(&U)"_s;
inline const QString WeaColor = u"色"_s;
inline const QString WeaColorHint = u"カラー指定"_s;

// ---- The installed manual ----

// Help (F1) and the about window's "読む(&R)" when the manual's first page is
// nowhere to be found; path is the place where it should be.
inline QString manualMissing(const QString& path) {
    return u"マニュアル（"_s + path +
           u"）が見つかりません。\nOribel と一緒にインストールされているか確認して下さい。\n\nインターネット上でも同じヘルプが公開されています。\nそちらを参照する場合は[ヘルプ]メニューからどうぞ。"_s;
}
// The manual is there, but the desktop found no program to show it.
inline const QString ManualNotOpenedCaption = u"マニュアルを開けません"_s;
inline QString manualNotOpened(const QString& path) {
    return u"マニュアル（"_s + path +
           u"）を開けませんでした。\nHTMLファイルを表示するプログラム（ブラウザ）が見つからないか、起動できませんでした。\n\nブラウザで、このファイルを直接開いて下さい。"_s;
}

} // namespace msg

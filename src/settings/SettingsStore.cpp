#include "settings/SettingsStore.h"

#include "resources/Messages.h"
#include "settings/FlagText.h"
#include "settings/IntText.h"

#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;
namespace n = storenames;

namespace {

// Settings written by a version before this one get the defaults pass.
constexpr double CurrentVersion = 3.32;

bool versionIsCurrent(const QString& stored) {
    // A Version that is not a plain decimal number counts as an older one:
    // the defaults pass then runs, which only fills in what is missing.
    static const QRegularExpression decimal(u"^[0-9]+(\\.[0-9]+)?$"_s);
    if (!decimal.match(stored).hasMatch())
        return false;
    return stored.toDouble() >= CurrentVersion;
}

bool isExistingFile(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isFile();
}

void showPlain(MessageService& messages, const QString& text) {
    messages.show(text, msg::AppTitle, MsgIcon::None, MsgButtons::Ok);
}

} // namespace

qint32 monthStamp(const QDate& date) {
    return date.year() * 12 + date.month();
}

LoadOutcome LoadSettings(Registry& registry, const BrowserLookup& browsers, HtmlSet& html, AppSet& app) {
    LoadOutcome outcome;

    if (const auto path = browsers.internetExplorer()) {
        outcome.iePathFromSystem = *path;
        outcome.sendIEEnabled = true;
    }
    if (const auto path = browsers.netscape()) {
        outcome.nnPathFromSystem = *path;
        outcome.sendNNEnabled = true;
    }
    if (const auto path = browsers.opera()) {
        outcome.operaPathFromSystem = *path;
        outcome.sendOperaEnabled = true;
    }

    if (!registry.openKey(n::SettingsKey, false)) {
        outcome.settingsState = 'F';
        app.InsertDiaryTime = 0;
        return outcome;
    }

    const auto ifNonEmpty = [&](const QString& name, QString& member) {
        QString value = registry.readString(name);
        if (!value.isEmpty())
            member = std::move(value);
    };
    const auto always = [&](const QString& name, QString& member) { member = registry.readString(name); };
    const auto numberText = [&](const QString& name, QString& member, int fallback) {
        member = QString::number(intOr(registry.readString(name), fallback));
    };

    ifNonEmpty(n::HtmlDate1, html.HtmlDate1);
    ifNonEmpty(n::HtmlDate2, html.HtmlDate2);
    ifNonEmpty(n::HtmlTime1, html.HtmlTime1);
    ifNonEmpty(n::HtmlTime2, html.HtmlTime2);
    ifNonEmpty(n::HtmlSky1, html.HtmlSky1);
    ifNonEmpty(n::HtmlSky2, html.HtmlSky2);
    ifNonEmpty(n::HtmlSky3, html.HtmlSky3);
    ifNonEmpty(n::HtmlSky4, html.HtmlSky4);
    ifNonEmpty(n::HtmlSky5, html.HtmlSky5);
    ifNonEmpty(n::HtmlSky6, html.HtmlSky6);
    ifNonEmpty(n::HtmlSky7, html.HtmlSky7);
    ifNonEmpty(n::HtmlMain1, html.HtmlMain1);
    ifNonEmpty(n::HtmlMain2, html.HtmlMain2);
    ifNonEmpty(n::HtmlTitle1, html.HtmlTitle1);
    ifNonEmpty(n::HtmlTitle2, html.HtmlTitle2);
    ifNonEmpty(n::HtmlAll1, html.HtmlAll1);
    ifNonEmpty(n::HtmlAll2, html.HtmlAll2);
    ifNonEmpty(n::HtmlBRTag, html.HtmlBRTag);
    ifNonEmpty(n::HtmlHRTag, html.HtmlHRTag);
    always(n::LoadLog, app.FileHistory1);
    always(n::LoadLog1, app.FileHistory2);
    always(n::LoadLog2, app.FileHistory3);
    ifNonEmpty(n::HtmlDataTitle, html.HtmlDataTitle);
    numberText(n::EditFontSize, app.EditFontSize, 10);
    always(n::EditFontFace, app.EditFontFace);
    numberText(n::EditFontSizeT, app.EditFontSizeT, 12);
    always(n::EditFontFaceT, app.EditFontFaceT);
    ifNonEmpty(n::ExternalApp1, app.ExternalApp1);
    ifNonEmpty(n::ExternalApp2, app.ExternalApp2);
    copyFlagText(registry.readString(n::HtmlSetFlags), html.HtmlSetFlags.data(), HtmlFlagCount);
    // Positions 0..12 only: the settings dialog's page is never stored.
    copyFlagText(registry.readString(n::AppSetFlags), app.AppSetFlags.data(), AppFlagStoredCount);
    ifNonEmpty(n::AlwaysOpenHtml, app.AlwaysOpenHtml);
    ifNonEmpty(n::DecoPrevColor, app.DecoPrevColor);
    ifNonEmpty(n::DecoInfo0, app.DecoInfo0);
    ifNonEmpty(n::DecoInfo1, app.DecoInfo1);
    ifNonEmpty(n::DecoInfo2, app.DecoInfo2);
    ifNonEmpty(n::DecoInfo3, app.DecoInfo3);
    ifNonEmpty(n::GraphicDir, app.GraphicDir);
    ifNonEmpty(n::LinkFrame, app.LinkFrame);
    ifNonEmpty(n::LinkClass, app.LinkClass);
    ifNonEmpty(n::PositionClass, app.PositionClass);
    ifNonEmpty(n::UserSiteUrl, app.UserSiteUrl);
    ifNonEmpty(n::WindowWidth, app.WindowWidth);
    ifNonEmpty(n::WindowHeight, app.WindowHeight);
    ifNonEmpty(n::WindowXPosition, app.WindowXPosition);
    ifNonEmpty(n::WindowYPosition, app.WindowYPosition);

    // The user's own browser paths bring back a send command the system
    // lookup disabled, when the user chose them and the program is there.
    ifNonEmpty(n::BrowserIE, app.BrowserIE);
    ifNonEmpty(n::BrowserNN, app.BrowserNN);
    ifNonEmpty(n::BrowserOpera, app.BrowserOpera);
    if (app.flag(BrowserPathManualFlag) == '1') {
        if (isExistingFile(app.BrowserIE))
            outcome.sendIEEnabled = true;
        if (isExistingFile(app.BrowserNN))
            outcome.sendNNEnabled = true;
        if (isExistingFile(app.BrowserOpera))
            outcome.sendOperaEnabled = true;
    }

    outcome.settingsState = '-';
    const QString insertTime = registry.readString(n::InsertDiaryTime);
    app.InsertDiaryTime = insertTime.isEmpty() ? 0 : intOr(insertTime, 0);
    app.WriteDiaryFrequency = intOr(registry.readString(n::WriteDiaryFrequency), 1);

    // The statistics group ends silently at its first unreadable value.
    const std::pair<const QString*, qint32*> group[] = {
        {&n::WriteLastMonth, &app.WriteLastMonth},     {&n::WriteDiaryTime, &app.WriteDiaryTime},
        {&n::WriteDiaryLines, &app.WriteDiaryLines},   {&n::WriteDiaryTimeL, &app.WriteDiaryTimeL},
        {&n::WriteDiaryLinesL, &app.WriteDiaryLinesL},
    };
    for (const auto& [name, member] : group) {
        const std::optional<qint32> value = registry.readInteger(*name);
        if (!value)
            break;
        *member = *value;
    }

    if (!registry.readString(n::NewProcessFlag).isEmpty())
        outcome.settingsState = 'U';
    if (!versionIsCurrent(registry.readString(n::Version)))
        outcome.settingsState = 'U';

    registry.closeKey();
    return outcome;
}

bool SaveSettings(Registry& registry, MessageService& messages, const HtmlSet& html, const AppSet& app,
                  const QString& executablePath, const QDate& today) {
    // Unlike a failed write, a key that cannot be opened used to pass without a
    // word, losing every setting; it is reported the same way.
    if (!registry.openKey(n::SettingsKey, true)) {
        showPlain(messages, msg::RegistryWriteFailed);
        return false;
    }

    bool written = true;
    const auto text = [&](const QString& name, const QString& value) {
        if (written)
            written = registry.writeString(name, value);
    };
    const auto integer = [&](const QString& name, qint32 value) {
        if (written)
            written = registry.writeInteger(name, value);
    };

    text(n::HtmlDate1, html.HtmlDate1);
    text(n::HtmlDate2, html.HtmlDate2);
    text(n::HtmlTime1, html.HtmlTime1);
    text(n::HtmlTime2, html.HtmlTime2);
    text(n::HtmlSky1, html.HtmlSky1);
    text(n::HtmlSky2, html.HtmlSky2);
    text(n::HtmlSky3, html.HtmlSky3);
    text(n::HtmlSky4, html.HtmlSky4);
    text(n::HtmlSky5, html.HtmlSky5);
    text(n::HtmlSky6, html.HtmlSky6);
    text(n::HtmlSky7, html.HtmlSky7);
    text(n::HtmlMain1, html.HtmlMain1);
    text(n::HtmlMain2, html.HtmlMain2);
    text(n::HtmlTitle1, html.HtmlTitle1);
    text(n::HtmlTitle2, html.HtmlTitle2);
    text(n::HtmlAll1, html.HtmlAll1);
    text(n::HtmlAll2, html.HtmlAll2);
    text(n::HtmlDataTitle, html.HtmlDataTitle);
    text(n::HtmlBRTag, html.HtmlBRTag);
    text(n::HtmlHRTag, html.HtmlHRTag);
    text(n::AlwaysOpenHtml, app.AlwaysOpenHtml);
    text(n::UserSiteUrl, app.UserSiteUrl);
    text(n::LoadLog, app.FileHistory1);
    text(n::LoadLog1, app.FileHistory2);
    text(n::LoadLog2, app.FileHistory3);
    text(n::ExternalApp1, app.ExternalApp1);
    text(n::ExternalApp2, app.ExternalApp2);
    text(n::DecoPrevColor, app.DecoPrevColor);
    text(n::DecoInfo0, app.DecoInfo0);
    text(n::DecoInfo1, app.DecoInfo1);
    text(n::DecoInfo2, app.DecoInfo2);
    text(n::DecoInfo3, app.DecoInfo3);
    text(n::GraphicDir, app.GraphicDir);
    text(n::LinkFrame, app.LinkFrame);
    text(n::LinkClass, app.LinkClass);
    text(n::PositionClass, app.PositionClass);
    text(n::EditFontSize, app.EditFontSize);
    text(n::EditFontFace, app.EditFontFace);
    text(n::EditFontSizeT, app.EditFontSizeT);
    text(n::EditFontFaceT, app.EditFontFaceT);
    text(n::HtmlSetFlags, flagTextFromBytes(html.HtmlSetFlags.data(), HtmlFlagCount));
    text(n::AppSetFlags, flagTextFromBytes(app.AppSetFlags.data(), AppFlagStoredCount));
    text(n::WindowWidth, app.WindowWidth);
    text(n::WindowHeight, app.WindowHeight);
    text(n::WindowXPosition, app.WindowXPosition);
    text(n::WindowYPosition, app.WindowYPosition);
    text(n::BrowserIE, app.BrowserIE);
    text(n::BrowserNN, app.BrowserNN);
    text(n::BrowserOpera, app.BrowserOpera);
    text(n::InstallPath, executablePath);
    text(n::Version, msg::StoredVersion);
    text(n::InsertDiaryTime, QString::number(app.InsertDiaryTime));
    text(n::WriteDiaryFrequency, QString::number(app.WriteDiaryFrequency));
    integer(n::WriteDiaryTime, app.WriteDiaryTime);
    integer(n::WriteDiaryLines, app.WriteDiaryLines);
    integer(n::WriteDiaryTimeL, app.WriteDiaryTimeL);
    integer(n::WriteDiaryLinesL, app.WriteDiaryLinesL);
    integer(n::WriteLastMonth, monthStamp(today));

    if (written) {
        registry.deleteValue(n::NewProcessFlag);
        registry.deleteValue(n::FirstPageChangeFlag);
    }
    const bool stored = registry.closeKey();
    if (!written || !stored) {
        showPlain(messages, msg::RegistryWriteFailed);
        return false;
    }
    return true;
}

void SaveTempDiary(Registry& registry, MessageService& messages, const TempDiary& diary) {
    // A Temp subkey that cannot be created is reported like a failed write:
    // the kept entry's fields would otherwise be lost without a word.
    if (!registry.openKey(n::TempKey, true)) {
        showPlain(messages, msg::TempDiaryWriteFailed);
        return;
    }
    bool written = true;
    const auto text = [&](const QString& name, const QString& value) {
        if (written)
            written = registry.writeString(name, value);
    };
    text(n::TDY, diary.TDY);
    text(n::TDM, diary.TDM);
    text(n::TDD, diary.TDD);
    text(n::TDW, diary.TDW);
    text(n::TDW1, diary.TDW1);
    text(n::TDW2, diary.TDW2);
    text(n::TDW1N, QString::number(diary.TDW1N));
    text(n::TDW2N, QString::number(diary.TDW2N));
    text(n::TDT, diary.TDT);
    const bool stored = registry.closeKey();
    if (!written || !stored)
        showPlain(messages, msg::TempDiaryWriteFailed);
}

std::optional<TempDiary> LoadTempDiary(Registry& registry, MessageService& messages) {
    std::optional<TempDiary> diary;
    if (registry.openKey(n::TempKey, false)) {
        diary.emplace();
        diary->TDY = registry.readString(n::TDY);
        diary->TDM = registry.readString(n::TDM);
        diary->TDD = registry.readString(n::TDD);
        diary->TDW = registry.readString(n::TDW);
        diary->TDW1 = registry.readString(n::TDW1);
        diary->TDW2 = registry.readString(n::TDW2);
        diary->TDW1N = intOr(registry.readString(n::TDW1N), -1);
        diary->TDW2N = intOr(registry.readString(n::TDW2N), -1);
        diary->TDT = registry.readString(n::TDT);
        registry.closeKey();
    } else {
        showPlain(messages, msg::TempDiaryLoadFailed);
    }
    registry.deleteKey(n::TempKey);
    return diary;
}

void ClearSettings(Registry& registry) {
    registry.deleteKey(n::SettingsKey);
}

std::optional<SplashFigures> readSplashFigures(Registry& registry) {
    if (!registry.openKey(n::SettingsKey, false))
        return std::nullopt;
    const auto time = registry.readInteger(n::WriteDiaryTime);
    const auto lines = registry.readInteger(n::WriteDiaryLines);
    const auto timeL = registry.readInteger(n::WriteDiaryTimeL);
    const auto linesL = registry.readInteger(n::WriteDiaryLinesL);
    registry.closeKey();
    if (!time || !lines || !timeL || !linesL)
        return std::nullopt;
    return SplashFigures{*time, *lines, *timeL, *linesL};
}

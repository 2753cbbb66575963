#include "settings/SettingsFields.h"

#include "settings/Defaults.h"

#include <cstring>

using namespace Qt::StringLiterals;

namespace {

using H = SettingsField<HtmlSet>;
using A = SettingsField<AppSet>;

H htmlTemplate(QLatin1StringView name, QString HtmlSet::*member, const QString& fallback) {
    return H{.name = name, .text = member, .defaultText = &fallback};
}

A appText(QLatin1StringView name, QString AppSet::*member, LoadRule load = LoadRule::IfNonEmpty) {
    return A{.name = name, .load = load, .text = member};
}

A history(QLatin1StringView name, QString AppSet::*member) {
    return A{.name = name, .load = LoadRule::Always, .text = member, .save = SaveRule::History};
}

A statistic(QLatin1StringView name, qint32 AppSet::*member, int groupOrder, SaveRule save) {
    return A{.name = name,
             .type = StoredType::Integer,
             .load = LoadRule::IntegerGroup,
             .number = member,
             .groupOrder = groupOrder,
             .save = save};
}

} // namespace

const QList<SettingsField<HtmlSet>>& htmlSetFields() {
    namespace d = defaults;
    static const QList<H> fields = {
        htmlTemplate("HtmlDate1"_L1, &HtmlSet::HtmlDate1, d::HtmlDate1),
        htmlTemplate("HtmlDate2"_L1, &HtmlSet::HtmlDate2, d::HtmlDate2),
        htmlTemplate("HtmlTime1"_L1, &HtmlSet::HtmlTime1, d::HtmlTime1),
        htmlTemplate("HtmlTime2"_L1, &HtmlSet::HtmlTime2, d::HtmlTime2),
        htmlTemplate("HtmlSky1"_L1, &HtmlSet::HtmlSky1, d::HtmlSky1),
        htmlTemplate("HtmlSky2"_L1, &HtmlSet::HtmlSky2, d::HtmlSky2),
        htmlTemplate("HtmlSky3"_L1, &HtmlSet::HtmlSky3, d::HtmlSky3),
        htmlTemplate("HtmlSky4"_L1, &HtmlSet::HtmlSky4, d::HtmlSky4),
        htmlTemplate("HtmlSky5"_L1, &HtmlSet::HtmlSky5, d::HtmlSky5),
        htmlTemplate("HtmlSky6"_L1, &HtmlSet::HtmlSky6, d::HtmlSky6),
        htmlTemplate("HtmlSky7"_L1, &HtmlSet::HtmlSky7, d::HtmlSky7),
        htmlTemplate("HtmlMain1"_L1, &HtmlSet::HtmlMain1, d::HtmlMain1),
        htmlTemplate("HtmlMain2"_L1, &HtmlSet::HtmlMain2, d::HtmlMain2),
        htmlTemplate("HtmlTitle1"_L1, &HtmlSet::HtmlTitle1, d::HtmlTitle1),
        htmlTemplate("HtmlTitle2"_L1, &HtmlSet::HtmlTitle2, d::HtmlTitle2),
        htmlTemplate("HtmlAll1"_L1, &HtmlSet::HtmlAll1, d::HtmlAll1),
        htmlTemplate("HtmlAll2"_L1, &HtmlSet::HtmlAll2, d::HtmlAll2),
        H{.name = "HtmlDataTitle"_L1, .text = &HtmlSet::HtmlDataTitle},
        htmlTemplate("HtmlBRTag"_L1, &HtmlSet::HtmlBRTag, d::HtmlBRTag),
        htmlTemplate("HtmlHRTag"_L1, &HtmlSet::HtmlHRTag, d::HtmlHRTag),
        H{.name = "HtmlSetFlags"_L1, .load = LoadRule::FlagString},
    };
    return fields;
}

const QList<SettingsField<AppSet>>& appSetFields() {
    namespace d = defaults;
    static const QList<A> fields = {
        appText("AlwaysOpenHtml"_L1, &AppSet::AlwaysOpenHtml),
        appText("UserSiteUrl"_L1, &AppSet::UserSiteUrl),
        history("LoadLog"_L1, &AppSet::FileHistory1),
        history("LoadLog1"_L1, &AppSet::FileHistory2),
        history("LoadLog2"_L1, &AppSet::FileHistory3),
        appText("ExternalApp1"_L1, &AppSet::ExternalApp1),
        appText("ExternalApp2"_L1, &AppSet::ExternalApp2),
        appText("DecoPrevColor"_L1, &AppSet::DecoPrevColor),
        appText("DecoInfo0"_L1, &AppSet::DecoInfo0),
        appText("DecoInfo1"_L1, &AppSet::DecoInfo1),
        appText("DecoInfo2"_L1, &AppSet::DecoInfo2),
        appText("DecoInfo3"_L1, &AppSet::DecoInfo3),
        appText("GraphicDir"_L1, &AppSet::GraphicDir),
        appText("LinkFrame"_L1, &AppSet::LinkFrame),
        appText("LinkClass"_L1, &AppSet::LinkClass),
        appText("PositionClass"_L1, &AppSet::PositionClass),
        appText("UploadProtocol"_L1, &AppSet::UploadProtocol, LoadRule::Always),
        appText("UploadHost"_L1, &AppSet::UploadHost, LoadRule::Always),
        appText("UploadPort"_L1, &AppSet::UploadPort, LoadRule::Always),
        appText("UploadUser"_L1, &AppSet::UploadUser, LoadRule::Always),
        appText("UploadFolder"_L1, &AppSet::UploadFolder, LoadRule::Always),
        appText("UploadLocalFolder"_L1, &AppSet::UploadLocalFolder, LoadRule::Always),
        appText("UploadKeyFile"_L1, &AppSet::UploadKeyFile, LoadRule::Always),
        appText("UploadAgent"_L1, &AppSet::UploadAgent, LoadRule::Always),
        appText("UploadProjects"_L1, &AppSet::UploadProjects, LoadRule::Always),
        appText("UploadPins"_L1, &AppSet::UploadPins, LoadRule::Always),
        A{.name = "EditFontSize"_L1,
          .load = LoadRule::NumberText,
          .text = &AppSet::EditFontSize,
          .fallback = 10,
          .defaultText = &d::EditFontSize},
        A{.name = "EditFontFace"_L1,
          .load = LoadRule::Always,
          .text = &AppSet::EditFontFace,
          .defaultText = &d::EditFontFace},
        A{.name = "EditFontSizeT"_L1,
          .load = LoadRule::NumberText,
          .text = &AppSet::EditFontSizeT,
          .fallback = 12,
          .defaultText = &d::EditFontSizeT},
        A{.name = "EditFontFaceT"_L1,
          .load = LoadRule::Always,
          .text = &AppSet::EditFontFaceT,
          .defaultText = &d::EditFontFaceT},
        A{.name = "AppSetFlags"_L1, .load = LoadRule::FlagString},
        appText("WindowWidth"_L1, &AppSet::WindowWidth),
        appText("WindowHeight"_L1, &AppSet::WindowHeight),
        appText("WindowXPosition"_L1, &AppSet::WindowXPosition),
        appText("WindowYPosition"_L1, &AppSet::WindowYPosition),
        appText("BrowserIE"_L1, &AppSet::BrowserIE),
        appText("BrowserNN"_L1, &AppSet::BrowserNN),
        appText("BrowserOpera"_L1, &AppSet::BrowserOpera),
        A{.name = "InsertDiaryTime"_L1,
          .load = LoadRule::NumberText,
          .number = &AppSet::InsertDiaryTime,
          .save = SaveRule::Counter},
        A{.name = "WriteDiaryFrequency"_L1,
          .load = LoadRule::NumberText,
          .number = &AppSet::WriteDiaryFrequency,
          .fallback = 1},
        statistic("WriteDiaryTime"_L1, &AppSet::WriteDiaryTime, 1, SaveRule::MonthCounter),
        statistic("WriteDiaryLines"_L1, &AppSet::WriteDiaryLines, 2, SaveRule::MonthCounter),
        statistic("WriteDiaryTimeL"_L1, &AppSet::WriteDiaryTimeL, 3, SaveRule::LastMonthCounter),
        statistic("WriteDiaryLinesL"_L1, &AppSet::WriteDiaryLinesL, 4, SaveRule::LastMonthCounter),
        statistic("WriteLastMonth"_L1, &AppSet::WriteLastMonth, 0, SaveRule::MonthStampOfToday),
    };
    return fields;
}

QString storedName(qint32 AppSet::*member) {
    for (const A& field : appSetFields()) {
        if (field.number == member)
            return QString(field.name);
    }
    return {};
}

QString storedName(QString AppSet::*member) {
    for (const A& field : appSetFields()) {
        if (field.text == member)
            return QString(field.name);
    }
    return {};
}

bool FlagRule::allows(char c) const {
    return c != '\0' && std::strchr(allowed, c) != nullptr;
}

const QList<FlagRule>& htmlFlagRules() {
    static const QList<FlagRule> rules = [] {
        QList<FlagRule> list;
        for (int position = 0; position < HtmlFlagCount; ++position)
            list << FlagRule{.fallback = defaults::HtmlSetFlags[position]};
        list[DateFormFlag].allowed = "012345";
        list[WeekdayFormFlag].allowed = "0123";
        list[TimeFormFlag].allowed = "0123";
        list[InsertOrderFlag].allowed = "0ABCD";
        return list;
    }();
    return rules;
}

const QList<FlagRule>& appFlagRules() {
    static const QList<FlagRule> rules = [] {
        QList<FlagRule> list(AppFlagCount);
        list[AutoOpenFlag].allowed = "012";
        list[ReservedFlag].repair = FlagRule::Always;
        list[TagDialogMode] = FlagRule{.fallback = '\0', .repair = FlagRule::Always};
        // The settings dialog's page is that dialog's business.
        list[SettingsDialogPage].repair = FlagRule::Never;
        return list;
    }();
    return rules;
}

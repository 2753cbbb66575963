#include "settings/Defaults.h"

#include "settings/SettingsFields.h"

namespace {

template <class Record> void fillEmptyMembers(Record& record, const QList<SettingsField<Record>>& fields) {
    for (const SettingsField<Record>& field : fields) {
        if (field.defaultText && field.text && (record.*field.text).isEmpty())
            record.*field.text = *field.defaultText;
    }
}

void repairFlags(char* flags, const QList<FlagRule>& rules) {
    for (qsizetype position = 0; position < rules.size(); ++position) {
        const FlagRule& rule = rules[position];
        switch (rule.repair) {
        case FlagRule::IfNotAllowed:
            if (!rule.allows(flags[position]))
                flags[position] = rule.fallback;
            break;
        case FlagRule::Always:
            flags[position] = rule.fallback;
            break;
        case FlagRule::Never:
            break;
        }
    }
    flags[rules.size()] = '\0'; // the string's end
}

} // namespace

bool isAllowedHtmlFlag(int position, char c) {
    if (position < 0 || position >= HtmlFlagCount)
        return false;
    return htmlFlagRules()[position].allows(c);
}

char defaultHtmlFlag(int position) {
    if (position < 0 || position >= HtmlFlagCount)
        return '\0';
    return defaults::HtmlSetFlags[position];
}

HtmlSet defaultHtmlSet() {
    HtmlSet html;
    fillEmptyMembers(html, htmlSetFields());
    repairFlags(html.flagData(), htmlFlagRules());
    return html;
}

void ApplySettingDefaults(HtmlSet& html, AppSet& app, bool& settingsCleared) {
    fillEmptyMembers(html, htmlSetFields());
    repairFlags(html.flagData(), htmlFlagRules());
    repairFlags(app.flagData(), appFlagRules());
    fillEmptyMembers(app, appSetFields());
    settingsCleared = false;
}

#pragma once
// One table per settings record: every stored value of the record with its
// stored name, the member that holds it, how it is loaded and its default.
// The store's load and save and the defaults pass are driven by these tables;
// adding a stored setting means adding one row (and the member).

#include "settings/AppSet.h"
#include "settings/HtmlSet.h"

#include <QLatin1StringView>
#include <QList>
#include <QString>

// How a value read from the store reaches its member.
enum class LoadRule {
    IfNonEmpty,   // an empty or missing value leaves the member as it is
    Always,       // a missing value gives an empty member
    NumberText,   // int(value, fallback): kept as decimal text, or as the number
    FlagString,   // the record's flag string, a bounded copy of StoredFlagCount characters
    IntegerGroup, // a 32-bit integer read in groupOrder; the first missing one ends the group
};

// How the value is kept in the store.
enum class StoredType { Text, Integer };

// What is written for the value at exit. Several running copies share the
// store, so a copy writes only what it changed in its run, and counters and
// the history as a merge with what the store holds at that moment.
enum class SaveRule {
    Changed,           // the member, when this copy changed it (or the store lacks it)
    Counter,           // the stored value plus this copy's increment
    MonthCounter,      // this month's statistics: the stored value, rolled over as this
                       // copy rolled it, plus this copy's increment
    LastMonthCounter,  // the previous month's statistics: the stored value, rolled over
                       // as this copy rolled it
    MonthStampOfToday, // year × 12 + month of the day of saving
    History,           // this copy's new entries first, then the stored ones
};

template <class Record> struct SettingsField {
    QLatin1StringView name;
    StoredType type = StoredType::Text;
    LoadRule load = LoadRule::IfNonEmpty;
    QString Record::*text = nullptr;      // a text member, or
    qint32 Record::*number = nullptr;     // a number member (none for the flag string)
    int fallback = 0;                     // NumberText
    int groupOrder = -1;                  // IntegerGroup
    const QString* defaultText = nullptr; // the defaults pass fills an empty member with it
    SaveRule save = SaveRule::Changed;
};

// The values of each record, in the order they are saved.
const QList<SettingsField<HtmlSet>>& htmlSetFields();
const QList<SettingsField<AppSet>>& appSetFields();

// The stored name of a number member of AppSet (the statistics).
QString storedName(qint32 AppSet::*member);
// The stored name of a text member of AppSet (FileHistory1 is "LoadLog").
QString storedName(QString AppSet::*member);

// What the defaults pass does with one position of a flag string.
struct FlagRule {
    enum Repair {
        IfNotAllowed, // a character outside `allowed` becomes `fallback`
        Always,       // the position becomes `fallback` whatever it holds
        Never,        // the position is left alone
    };
    const char* allowed = "01";
    char fallback = '0';
    Repair repair = IfNotAllowed;

    bool allows(char c) const;
};

// One rule per flag position, 0 .. HtmlFlagCount-1 and 0 .. AppFlagCount-1.
const QList<FlagRule>& htmlFlagRules();
const QList<FlagRule>& appFlagRules();

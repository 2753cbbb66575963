#pragma once
// TTagsForm: the tag builder dialog. It builds one piece of HTML from a few
// fields; the weather mode ('W') resolves the start tags for weathers typed by
// hand while an entry is composed.

#include "platform/Platform.h"
#include "settings/AppSet.h"
#include "settings/HtmlSet.h"
#include "today/Composer.h"

#include <QDialog>

class TTagsForm : public QDialog {
    Q_OBJECT
public:
    // The mode is AppSetFlags' TagDialogMode at the moment of opening.
    TTagsForm(const Platform& platform, const HtmlSet& htmlSet, AppSet& appSet, QWidget* parent = nullptr);

    // Weather mode: the two weather fields of today's page.
    void SetWeatherFields(const WeatherField& first, const WeatherField& second);
    // Weather mode, after OK: the start tags for the first and second weather.
    QString WeatherTag1() const { return weatherTag1_; }
    QString WeatherTag2() const { return weatherTag2_; }

private:
    QString weatherTag1_, weatherTag2_;
};

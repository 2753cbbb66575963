#include "document/TagsUnit.h"

TTagsForm::TTagsForm(const Platform&, const HtmlSet&, AppSet&, QWidget* parent) : QDialog(parent) {}

void TTagsForm::SetWeatherFields(const WeatherField&, const WeatherField&) {}

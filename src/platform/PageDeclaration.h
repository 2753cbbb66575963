#pragma once
// Whether the start of a page declares it to be UTF-8: a <meta charset=…>, a
// <meta http-equiv="Content-Type" content="…; charset=…"> or an XML
// declaration's encoding naming UTF-8, outside comments; only the first
// declaration counts.

#include <QByteArrayView>

namespace pagecodec {

bool declaresUtf8(QByteArrayView head);

} // namespace pagecodec

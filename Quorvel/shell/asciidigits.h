#ifndef ASCIIDIGITS_H
#define ASCIIDIGITS_H

#include <QString>

// Persian and Arabic-Indic digits as the ASCII digits the service expects;
// every other character is kept as it is.
QString toAsciiDigits(const QString& text);

// The number the service expects for a mobile number as typed: ASCII digits,
// a leading "0" (and only that) dropped, the country code "98" in front.
QString normalizePhoneNumber(const QString& typed);

#endif // ASCIIDIGITS_H

#pragma once
// The edge between the core's Windows-1252 byte strings and Qt's QString.
#include <QString>

#include <string>
#include <string_view>

namespace harlune {

QString toQt(std::string_view cp1252);
std::string fromQt(const QString& text);
// A message text for a dialog: the program's "\n\r" line breaks become one line break.
QString messageToQt(std::string_view cp1252);

} // namespace harlune

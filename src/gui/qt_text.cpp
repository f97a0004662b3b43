#include "gui/qt_text.h"

#include "base/cp1252.h"
#include "base/text.h"

namespace harlune {

QString toQt(std::string_view cp1252) {
    return QString::fromStdString(cp1252ToUtf8(cp1252));
}

std::string fromQt(const QString& text) {
    return utf8ToCp1252(text.toStdString());
}

QString messageToQt(std::string_view cp1252) {
    return toQt(replaceAll(replaceAll(cp1252, "\n\r", "\n"), "\r", ""));
}

} // namespace harlune

#include "app/qt_text.h"

#include "text/encoding.h"

namespace gedan {

QString ToQString(TextView text) {
  const std::u16string wide = AnsiToUtf16(text);
  return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

Text FromQString(const QString& text) {
  return Utf16ToAnsi(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                         static_cast<std::size_t>(text.size())));
}

}  // namespace gedan

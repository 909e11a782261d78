#pragma once
// The program's texts (UTF-32) to and from Qt's.
#include <QString>
#include <string>
#include <string_view>

namespace lodemark::qt {

inline QString qs(std::u32string_view text) {
  return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u32string us(const QString& text) { return text.toStdU32String(); }

}  // namespace lodemark::qt

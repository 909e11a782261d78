#pragma once
#include <string>

#include "base/messages.h"

namespace lodemark {

inline constexpr char32_t kBadDriveNameMessage[] =
    U"規定値のドライブ名が正しくありません。ドライブ名は１文字のアルファベットと \":\" でなければいけません。  例 \"C:\", \"D:\"...";

// Decides whether a destination folder is a well-formed path on a present
// and ready drive, rewriting it on the way to its normal form ("C:\a\b\").
// Makes the path's drive the current drive. Only a bad drive name has a
// message of its own.
bool Check_Path(std::u32string& path, MessageBoxes& boxes);

}  // namespace lodemark

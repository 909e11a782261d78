#pragma once
// The conversion run: what the Execute button does.
#include <string>

#include "conversion/run_window.h"

namespace lodemark {

inline constexpr char32_t kNoSourceData[] = U"変換元データがありません。";
inline constexpr char32_t kConverting[] = U"只今変換中！　しばらくお待ちください。";
inline constexpr char32_t kBadPath[] = U"指定されたパスは正しくありません。";
inline constexpr char32_t kNoSourceFolder[] = U"変換元フォルダが選択されていません。";
inline constexpr char32_t kNothingSelected[] = U"変換元データが選択されていません。";
inline constexpr char32_t kCreateFolderQuestion[] = U"ディレクトリがありません。新規作成しますか？";
inline constexpr char32_t kBadLogNo[] = U"フォルダ名に使えない地質柱状図番号があります：";
inline constexpr char32_t kDone[] = U"変換が正常に終了しました。";

enum class RunOutcome {
  Converted,  // every selected borehole written
  Refused,    // a check failed or the folder question was answered No
};

// Runs the whole conversion against the window. A failure inside the run
// (a folder or file that cannot be written, a missing dictionary, a count
// that does not fit 16 bits) throws Failure; files written before it stay.
RunOutcome Command1_Click(RunWindow& window);

}  // namespace lodemark

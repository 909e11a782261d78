#pragma once
// Every text that a user of the program reads, in one place, and the kinds of
// message box that show them. The texts are the system's own: change none of
// them, not even a space.
#include <string_view>

namespace lodemark {

// Message boxes: buttons plus icon, numbered as the target system's tools
// number them.
enum class BoxStyle : int {
  OkOnly = 0,
  YesNoQuestion = 36,
  OkExclamation = 48,
  OkInformation = 64,
};
enum class BoxAnswer : int { Ok = 1, Yes = 6, No = 7 };

// Shows a box and answers the button pressed: the window, the command line
// and the tests each have one.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual BoxAnswer show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) = 0;
  // The same with a longer explanation that the window shows on request;
  // where there is no room for it, only the text shows.
  virtual BoxAnswer show_message(std::u32string_view text, std::u32string_view /*detail*/, BoxStyle style,
                                 std::u32string_view title) {
    return show_message(text, style, title);
  }
};

inline constexpr char32_t kAppTitle[] = U"Lodemark";
inline constexpr char32_t kWindowCaption[] = U"vuvarivu ―＞Kelmo変換プログラム";

// The window's labels.
inline constexpr char32_t kSourceFolderLabel[] = U"変換元フォルダ名：";
inline constexpr char32_t kDestinationFolderLabel[] = U"変換先フォルダ名：";
inline constexpr char32_t kBoreholeFrameCaption[] = U"変換元地質柱状図番号選択";
inline constexpr char32_t kDestinationFrameCaption[] = U"変換先フォルダ名選択";
inline constexpr char32_t kStatusFrameCaption[] = U"メッセージ";
inline constexpr char32_t kExecuteCaption[] = U"実  行";
inline constexpr char32_t kExitCaption[] = U"終  了";
inline constexpr char32_t kCatalogueHeading[] = U"地質柱状図番号 ボーリング孔名";

// The message boxes' buttons, the same whatever the system's language.
inline constexpr char32_t kYesButton[] = U"はい";
inline constexpr char32_t kNoButton[] = U"いいえ";
inline constexpr char32_t kOkButton[] = U"OK";
// The button that shows or hides a box's details (the Windows window).
inline constexpr char32_t kShowDetailsButton[] = U"詳細を表示...";
inline constexpr char32_t kHideDetailsButton[] = U"詳細を隠す...";

// Start-up.
inline constexpr char32_t kNoPatternDataSetting[] = U" PATDAT の設定がありません.";
// Its detail: the settings file's place, then what it must hold.
inline constexpr char32_t kSettingsFileIs[] = U"設定ファイル: ";
inline constexpr char32_t kSettingsFileLines[] =
    U"\n1 行目: 見出し (読み飛ばします)\n"
    U"2 行目: パターンデータフォルダ (ドライブ名から、末尾に \\ を付けて)\n"
    U"例:\n[ZidereV5]\nZ:\\home\\user\\kelmo\\PATDAT\\";

// The run's boxes and status texts.
inline constexpr char32_t kNoSourceData[] = U"変換元データがありません。";
inline constexpr char32_t kConverting[] = U"只今変換中！　しばらくお待ちください。";
inline constexpr char32_t kBadPath[] = U"指定されたパスは正しくありません。";
inline constexpr char32_t kBadDriveName[] =
    U"規定値のドライブ名が正しくありません。ドライブ名は１文字のアルファベットと \":\" でなければいけません。  例 \"C:\", \"D:\"...";
inline constexpr char32_t kNoSourceFolder[] = U"変換元フォルダが選択されていません。";
inline constexpr char32_t kNothingSelected[] = U"変換元データが選択されていません。";
inline constexpr char32_t kCreateFolderQuestion[] = U"ディレクトリがありません。新規作成しますか？";
inline constexpr char32_t kBadBoreholeNumber[] = U"フォルダ名に使えない地質柱状図番号があります：";
inline constexpr char32_t kDone[] = U"変換が正常に終了しました。";
inline constexpr char32_t kProgramEnds[] = U"処理を続けられないため、プログラムを終了します。";

// Failures: a lead text, then what failed.
inline constexpr char32_t kNoDrive[] = U"ドライブがありません";
inline constexpr char32_t kCannotOpenFile[] = U"ファイルを開けません";
inline constexpr char32_t kCannotReadFile[] = U"ファイルを読めません";
inline constexpr char32_t kCannotCreateFile[] = U"ファイルを作成できません";
inline constexpr char32_t kCannotWriteFile[] = U"ファイルに書き込めません";
inline constexpr char32_t kCannotCreateFolder[] = U"フォルダを作成できません";
inline constexpr char32_t kCannotRemoveFile[] = U"ファイルを削除できません";
inline constexpr char32_t kCannotRenameFile[] = U"ファイル名を変更できません";
inline constexpr char32_t kCannotLockFile[] = U"ファイルをロックできません";
inline constexpr char32_t kCannotMapDrive[] = U"ドライブを割り当てられません";
// "パターンデータフォルダは他の変換が使用中です (<n> 秒待ちました): <folder>"
inline constexpr char32_t kPatternDataBusyLead[] = U"パターンデータフォルダは他の変換が使用中です (";
inline constexpr char32_t kPatternDataBusyTail[] = U" 秒待ちました): ";
inline constexpr char32_t kCannotSwitchDrive[] = U"ドライブを切り替えられません: ";
inline constexpr char32_t kDriveNotReady[] = U"ドライブの準備ができていません: ";
inline constexpr char32_t kNoSuchDrive[] = U"ドライブがありません: ";
inline constexpr char32_t kNumberOutOfRange[] = U"数値が範囲を超えています (-32768～32767): ";
inline constexpr char32_t kLayerCountName[] = U"層数";
inline constexpr char32_t kDepthValueCountName[] = U"深度データ数";
// "<count name>を読めません (地質柱状図番号 <number>): <reason>"
inline constexpr char32_t kCannotReadCountLead[] = U"を読めません (地質柱状図番号 ";
inline constexpr char32_t kCatalogueShrank[] = U"地質柱状図の一覧が実行中に短くなりました: ";
// "土質辞書のレコードが 6 項目そろう前にファイルが終わっています (項目 <n> がありません): <path>"
inline constexpr char32_t kRecordCutShortLead[] =
    U"土質辞書のレコードが 6 項目そろう前にファイルが終わっています (項目 ";
inline constexpr char32_t kRecordCutShortTail[] = U" がありません): ";
// "土質名「<name>」は土質辞書に書き込めません: <path>"
inline constexpr char32_t kSoilNameLead[] = U"土質名「";
inline constexpr char32_t kSoilNameNotWritable[] = U"」は土質辞書に書き込めません: ";
inline constexpr char32_t kNoUserCodeLeft[] = U"」に付けるユーザーコードがありません (1000～3999 を使い切っています): ";

}  // namespace lodemark

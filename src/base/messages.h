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
// Both windows' own dialogs (the export dialog).
inline constexpr char32_t kCancelButton[] = U"キャンセル";
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
// lodemark-cli setting --set: "<this><settings file> → <setting>".
inline constexpr char32_t kSettingWritten[] = U"PATDAT の設定を書き込みました: ";
// Why the settings file is left as it was: the setting written would not be
// read. "1 行目か 2 行目が長すぎるため、設定を読めなくなります (上限 <n> バイト)"
inline constexpr char32_t kSettingsLineTooLongLead[] = U"1 行目か 2 行目が長すぎるため、設定を読めなくなります (上限 ";

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
inline constexpr char32_t kDictionaryFileMissing[] = U"パターンデータフォルダに土質辞書がありません: ";
// lodemark-cli convert --dry-run: one line per folder, file and name.
inline constexpr char32_t kPlanFolder[] = U"作成するフォルダ: ";
inline constexpr char32_t kPlanFile[] = U"書き込むファイル: ";
inline constexpr char32_t kPlanNewName[] = U"土質辞書に追加する名前: ";
inline constexpr char32_t kPlanRegisterName[] = U"XKISHITU.TXT から土質辞書に写す名前: ";
inline constexpr char32_t kPlanNothingWritten[] = U"試行のため、何も作成・変更していません。";
// lodemark-cli convert: the summary at the end of a run.
inline constexpr char32_t kSummaryDryRun[] = U"(試行) ";
inline constexpr char32_t kSummaryBoreholes[] = U"変換した柱状図: ";
inline constexpr char32_t kSummaryFiles[] = U"、書き込んだファイル: ";
inline constexpr char32_t kSummaryLayers[] = U"、層: ";
inline constexpr char32_t kSummaryValues[] = U"、深度データ: ";
inline constexpr char32_t kSummaryProblems[] = U"検査で見つかった問題: ";
inline constexpr char32_t kSummaryNoProblem[] = U"なし";
inline constexpr char32_t kSummaryMore[] = U" ほか";
inline constexpr char32_t kSummaryNamesAdded[] = U"土質辞書に追加した名前: ";
inline constexpr char32_t kSummaryFromRegister[] = U" (XKISHITU.TXT から)";
inline constexpr char32_t kSummaryCheckFailed[] = U"検査を最後まで行えませんでした: ";
// The window's check report.
inline constexpr char32_t kCheckMenuItem[] = U"選択した柱状図を検査…";
// The key named beside the item (Win32 menus show it after a tab).
inline constexpr char32_t kCheckMenuKey[] = U"F7";
inline constexpr char32_t kReportWindowTitle[] = U"検査結果";
inline constexpr char32_t kReportSaveCsv[] = U"CSV で保存…";
inline constexpr char32_t kReportClose[] = U"閉じる";
inline constexpr char32_t kReportColumnSeverity[] = U"重大度";
inline constexpr char32_t kReportColumnRule[] = U"規則";
inline constexpr char32_t kReportColumnFile[] = U"ファイル";
inline constexpr char32_t kReportColumnLine[] = U"行";
inline constexpr char32_t kReportColumnBorehole[] = U"柱状図番号";
inline constexpr char32_t kReportColumnMessage[] = U"内容";
inline constexpr char32_t kReportSeverityError[] = U"エラー";
inline constexpr char32_t kReportSeverityWarning[] = U"警告";
// "検査した柱状図: <n> 本、エラー: <e> 件、警告: <w> 件"
inline constexpr char32_t kReportBoreholes[] = U"検査した柱状図: ";
inline constexpr char32_t kReportBoreholesUnit[] = U" 本、";
inline constexpr char32_t kReportErrors[] = U"エラー: ";
inline constexpr char32_t kReportWarnings[] = U"、警告: ";
inline constexpr char32_t kReportCountUnit[] = U" 件";
inline constexpr char32_t kReportNoProblem[] = U"問題は見つかりませんでした。";
inline constexpr char32_t kReportCsvFilter[] = U"CSV ファイル (*.csv)";
inline constexpr char32_t kReportCheckFailed[] = U"検査を最後まで行えませんでした。";
// Followed by the file's path, a line break and the reason.
inline constexpr char32_t kReportSaveFailed[] = U"CSV ファイルを保存できませんでした: ";
inline constexpr char32_t kCannotWriteStandardOutput[] = U"標準出力に書き込めません。";
// lodemark-cli, after kProgramEnds and what failed: the borehole the run was converting.
inline constexpr char32_t kBoreholeAtFailure[] = U"変換中の柱状図: ";
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
inline constexpr char32_t kDriveNotReady[] = U"ドライブの準備ができていません: ";
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
// The reasons of a file the program will not read (kNotARegularFile below).
// "大きすぎます (上限 <n> バイト)"
inline constexpr char32_t kFileTooLargeLead[] = U"大きすぎます (上限 ";
inline constexpr char32_t kFileTooLargeTail[] = U" バイト)";

// The fields of a header line that the check's texts name.
inline constexpr char32_t kLatitudeMinutes[] = U"緯度の分";
inline constexpr char32_t kLatitudeSeconds[] = U"緯度の秒";
inline constexpr char32_t kLongitudeMinutes[] = U"経度の分";
inline constexpr char32_t kLongitudeSeconds[] = U"経度の秒";

// The columnar-section preview.
inline constexpr char32_t kPreviewNewCode[] = U"新規";
inline constexpr char32_t kPreviewLatitude[] = U"緯度";
inline constexpr char32_t kPreviewLongitude[] = U"経度";
inline constexpr char32_t kPreviewGridSquare[] = U"メッシュコード";
inline constexpr char32_t kPreviewDepthAxis[] = U"深度 (m)";
inline constexpr char32_t kPreviewValueAxis[] = U"深度値";
inline constexpr char32_t kPreviewNoLayers[] = U"層がありません";
inline constexpr char32_t kPreviewProblems[] = U"検査で見つかった問題";
inline constexpr char32_t kPreviewNoProblems[] = U"検査で見つかった問題はありません";
inline constexpr char32_t kPreviewing[] = U"プレビュー作成中 ";
// The sheet's heading, its columns and its notes.
inline constexpr char32_t kPreviewScale[] = U"縮尺 ";
inline constexpr char32_t kPreviewScaleColumn[] = U"標尺 (m)";
inline constexpr char32_t kPreviewThicknessColumn[] = U"層厚 (m)";
inline constexpr char32_t kPreviewSoilColumn[] = U"柱状図";
inline constexpr char32_t kPreviewNameColumn[] = U"土質名";
inline constexpr char32_t kPreviewCodeColumn[] = U"コード";
inline constexpr char32_t kPreviewReversedColumn[] = U"逆転";
inline constexpr char32_t kPreviewNameList[] = U"層名";
inline constexpr char32_t kPreviewValuesBelow[] = U"最深層より深い値";
inline constexpr char32_t kPreviewBlankValue[] = U"空欄";
inline constexpr char32_t kPreviewLegend[] = U"凡例";
inline constexpr char32_t kPreviewAlternating[] = U"互層";
// The windows' preview of one borehole.
inline constexpr char32_t kPreviewWindowTitle[] = U"プレビュー - ";
inline constexpr char32_t kPreviewSavePng[] = U"PNG で保存…";
inline constexpr char32_t kPreviewSaveSvg[] = U"SVG で保存…";
inline constexpr char32_t kPreviewSavePdf[] = U"PDF で保存…";
// The windows' choices of the sheet: its scale, and a sheet for a report.
inline constexpr char32_t kPreviewScaleChoice[] = U"縮尺:";
inline constexpr char32_t kPreviewForReport[] = U"報告用 (コード・問題なし)";
inline constexpr char32_t kPreviewPngFilter[] = U"PNG 画像 (*.png)";
inline constexpr char32_t kPreviewSvgFilter[] = U"SVG 画像 (*.svg)";
inline constexpr char32_t kPreviewPdfFilter[] = U"PDF 文書 (*.pdf)";
inline constexpr char32_t kPreviewFailed[] = U"プレビューを作成できませんでした。";
inline constexpr char32_t kPreviewSaveFailed[] = U"プレビューを保存できませんでした: ";
inline constexpr char32_t kPreviewNoPdf[] = U"Windows では PDF を作成できません。";
// Followed by the picture's size, e.g. "820 × 42036".
inline constexpr char32_t kPreviewTooLargeForPng[] =
    U"図が大きすぎて PNG にできません (一辺 32767 ピクセルまで。SVG なら作成できます): ";

// An export's borehole without a usable position, after its number; the
// check's messages on the position follow.
inline constexpr char32_t kExportNoPosition[] = U"位置 (緯度と経度の分・秒) が使えないため書き出しません。";

// The window's export: the borehole list's menu entries, the dialog, and
// what the status line and the boxes say afterwards.
inline constexpr char32_t kExportMenuItem[] = U"位置データを書き出す…";
inline constexpr char32_t kExportLayersMenuItem[] = U"層の表を書き出す…";
inline constexpr char32_t kExportDialogTitle[] = U"位置データの書き出し";
inline constexpr char32_t kExportDatumLabel[] = U"測地系：";
inline constexpr char32_t kExportTableLabel[] = U"内容：";
inline constexpr char32_t kExportFormatLabel[] = U"形式：";
// Under the datum list: why the user must choose.
inline constexpr char32_t kExportDatumHint[] =
    U"データベースには測地系の記録がありません。測量の測地系を選んでください (日本測地系と世界測地系では約 460 m "
    U"ずれます)。";
inline constexpr char32_t kExportTableBoreholes[] = U"ボーリング位置 (1 本 1 点)";
inline constexpr char32_t kExportTableLayers[] = U"層 (1 層 1 行)";
inline constexpr char32_t kExportTableValues[] = U"深度データ (1 値 1 行)";
inline constexpr char32_t kExportMapLabel[] = U"位置図";
// Followed by the file.
inline constexpr char32_t kExportDone[] = U"書き出しました: ";
inline constexpr char32_t kExportFailed[] = U"位置データを書き出せませんでした。";
// Above the messages of the boreholes left without a point.
inline constexpr char32_t kExportLeftOut[] = U"位置が使えないため書き出さなかったボーリングがあります。";
// The datum chosen could not be remembered; the export itself is done.
inline constexpr char32_t kExportDatumNotRemembered[] = U"選んだ測地系を記録できませんでした: ";

// A file or folder the user names for a report or pictures that is not
// written: kOutputRefused, the path, then one of the reasons.
inline constexpr char32_t kOutputRefused[] = U"出力先に使えません";
inline constexpr char32_t kOutputIsFolder[] = U"フォルダです";
inline constexpr char32_t kOutputNotFolder[] = U"フォルダではありません";
inline constexpr char32_t kOutputNotRegularFile[] = U"通常のファイルではありません (FIFO、デバイスなど)";
// The same reason for a file the program reads.
inline constexpr const char32_t* kNotARegularFile = kOutputNotRegularFile;
inline constexpr char32_t kOutputDanglingLink[] = U"リンク先のないシンボリックリンクです";
inline constexpr char32_t kOutputIsLink[] = U"シンボリックリンクです (リンク先は書き換えません)";
inline constexpr char32_t kOutputIsSourceFile[] = U"変換元データのファイルです";
inline constexpr char32_t kOutputInPatternData[] = U"パターンデータフォルダのファイルです";

// GDAL's vector formats: a write that fails is kGdalWriteFailed, the path,
// then the reason (GDAL's own message where it gives one).
inline constexpr char32_t kGdalWriteFailed[] = U"GDAL で書き出せません";
inline constexpr char32_t kGdalNoReason[] = U"GDAL は理由を示していません";
inline constexpr char32_t kGdalNoFolder[] = U"保存先のフォルダがありません";
inline constexpr char32_t kGdalNoSuchFormat[] = U"この拡張子の形式は GDAL で書き出せません";
inline constexpr char32_t kGdalNotInBuild[] = U"このビルドは GDAL の形式 (.gpkg、.shp、.dxf など) を書き出せません";
// Followed by the column's name.
inline constexpr char32_t kGdalTextTooWide[] = U"Shapefile の列に収まらない長さの文字列です (254 バイトまで): ";

// The location map's foot, followed by how many labels would have covered
// others and were left out.
inline constexpr char32_t kMapLabelsLeftOut[] = U"重なるため名前を省いた地点: ";

}  // namespace lodemark

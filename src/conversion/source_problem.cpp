#include "conversion/source_problem.h"

#include <array>

#include "base/text.h"

namespace lodemark {
namespace {

constexpr Severity kE = Severity::Error;
constexpr Severity kW = Severity::Warning;

// Texts that two rules share (the layer and depth-value counts and depths).
// %1: the count's name, %2: the count, %3: the data file, %4: the lines present, %5: the output file
constexpr std::u32string_view kCountLong =
    U"%1は %2 ですが、%3 にあるこの柱状図の行は %4 行です。%5 の足りない行は深さ 0.00、内容なしで書かれます。";
constexpr std::u32string_view kCountShort =
    U"%1は %2 ですが、%3 にあるこの柱状図の行は %4 行です。多い行は変換されません。";
constexpr std::u32string_view kCountZero =
    U"%1が 0 (または読めない) ですが、%3 にこの柱状図の行が %4 行あります。これらの行は変換されず、%5 は書かれません。";
// %1: the depth, %2: the depth of the line before
constexpr std::u32string_view kDepthNotIncreasing =
    U"深さ「%1」が前の行の深さ「%2」より深くありません。そのまま書かれます。";

// One row per rule: its id, its severity and what the problem's message
// says (what is wrong and what a conversion does with it). "%1", "%2", ...
// stand for the values named in the comment above the row; a rule met in
// more than one way has one text per way, in the order the comment names.
constexpr std::array kRules{
    RuleInfo{Rule::CatalogueMissing,
             "catalogue-missing",
             kE,
             {U"Rodev5.Dat がありません。一覧は空になり、変換できません。"}},
    RuleInfo{Rule::CatalogueEmpty, "catalogue-empty", kE, {U"Rodev5.Dat が空です。一覧は空になり、変換できません。"}},
    // %1: the line's length in bytes
    RuleInfo{
        Rule::CatalogueFirstLineNotRecord,
        "catalogue-first-line-not-record",
        kE,
        {U"1 行目が 24 バイトではありません (%1 バイト)。1 行目が柱状図の行でない一覧は空になり、何も変換できません。"}},
    // %1: the line's length in bytes
    RuleInfo{Rule::CatalogueLineLength,
             "catalogue-line-length",
             kE,
             {U"行が 24 バイトではありません (%1 バイト)。この行は一覧に入らず、変換されません。"}},
    RuleInfo{Rule::CatalogueBlankLine, "catalogue-blank-line", kW, {U"空の行です。一覧には入りません。"}},
    // %1: the number
    RuleInfo{Rule::FolderNameUnusable,
             "folder-name-unusable",
             kE,
             {U"番号「%1」はフォルダ名に使えません。この柱状図を選ぶと変換は始まりません。"}},
    // %1: the line of the first entry
    RuleInfo{
        Rule::NumberRepeated,
        "number-repeated",
        kE,
        {U"番号が %1 行目と同じです。この柱状図のデータは見つからず、同じフォルダの表題ファイルが座標なしで上書きされます。"}},
    // %1: the line of the first entry, %2: its number
    RuleInfo{
        Rule::NumberCaseCollision,
        "number-case-collision",
        kE,
        {U"番号が %1 行目の「%2」と大文字・小文字だけ違います。Windows では同じフォルダになり、後の柱状図のファイルが前の柱状図のファイルを上書きします。"}},
    RuleInfo{
        Rule::EncodingUtf8,
        "encoding-utf8",
        kE,
        {U"このファイルは UTF-8 で保存されているようです (コードページ 932 ではありません)。日本語は文字化けし、欄の位置もずれます。"}},
    // %1: the byte's offset from the start of the file (0 for the first), %2: the byte in hexadecimal
    RuleInfo{
        Rule::EncodingInvalidByte,
        "encoding-invalid-byte",
        kE,
        {U"ファイル先頭から %1 バイト目 (0 から数えて) のバイト 0x%2 はコードページ 932 の文字になりません。変換ではその文字が「?」になります。"}},
    // in the catalogue; in a data file
    RuleInfo{
        Rule::LineEndLfOnly,
        "line-end-lf-only",
        kE,
        {U"行末が LF だけです (CR LF ではありません)。ファイル全体が 1 行として読まれ、一覧は空になります。",
         U"行末が LF だけです (CR LF ではありません)。ファイル全体が 1 行として読まれ、このファイルの行はほとんど見つかりません。"}},
    // the header, layer or depth-value file (DataFile order); %1: the file's name
    RuleInfo{Rule::DataFileMissing,
             "data-file-missing",
             kE,
             {U"%1 がないか空です。すべての柱状図で表題ファイルが座標なしで書かれ、X1.txt と X5.txt は書かれません。",
              U"%1 がないか空です。層数のある柱状図の X1.txt はすべての層が深さ 0.00、土質なしで書かれます。",
              U"%1 がないか空です。深度データ数のある柱状図の X5.txt はすべての行が深さ 0.00、値なしで書かれます。"}},
    // %1: the file's name
    RuleInfo{Rule::DictionaryMissing,
             "dictionary-missing",
             kE,
             {U"%1 がありません。互層の層がある柱状図に来ると変換はそこで止まります。"}},
    // %1: the failure
    RuleInfo{Rule::DictionaryFailure, "dictionary-failure", kE, {U"この互層の土質名で変換が止まります: %1"}},
    // %1: the USER value; a file of the folder's own, a way out of the folder
    RuleInfo{
        Rule::UserDictionaryRefused,
        "user-dictionary-refused",
        kW,
        {U"Vaskor.ini の USER「%1」はパターンデータフォルダの土質辞書・登録簿・設定・作業ファイルのどれかを指しています。ユーザー辞書とはみなされず、変換はこのファイルを書き換えません。",
         U"Vaskor.ini の USER「%1」はパターンデータフォルダの外を指しています (「..」、ドライブ、ルート、ネットワークパス、外へのリンク)。ユーザー辞書とはみなされず、変換は書き換えません。"}},
    // %1: the USER value, %2: the record's file
    RuleInfo{
        Rule::UserDictionaryCopyDue,
        "user-dictionary-copy-due",
        kW,
        {U"前の変換がユーザー辞書「%1」への KISHITU.TXT の写しを終えていません (%2 があります)。次の変換が初めに写します。"}},
    RuleInfo{
        Rule::HeaderMissing,
        "header-missing",
        kE,
        {U"Rodev1.Dat にこの柱状図のヘッダ行がありません。表題ファイルは座標なし (メッシュコード 52394000) で書かれ、層と深度データは変換されません。"}},
    // %1: the header line that is used
    RuleInfo{Rule::HeaderLineRepeated,
             "header-line-repeated",
             kW,
             {U"同じ番号のヘッダ行が続いています。使われるのは %1 行目だけで、この行は読み飛ばされます。"}},
    // the header line; layer or depth-value lines
    RuleInfo{
        Rule::LinesOutOfOrder,
        "lines-out-of-order",
        kE,
        {U"この柱状図の行が一覧の順より前の位置にあり、前から順に探す変換では見つかりません。ヘッダ行がないものとして表題ファイルは座標なしで書かれ、層と深度データは変換されません。",
         U"この柱状図の行が一覧の順より前の位置にあり、前から順に探す変換では見つかりません。この行は使われず、ファイルの行はすべて空 (深さ 0.00) で書かれます。"}},
    RuleInfo{
        Rule::LinesNotConsecutive,
        "lines-not-consecutive",
        kE,
        {U"この柱状図の行が続いていません (同じ番号の行がほかの位置にもあります)。ここからの行は変換されません。"}},
    // %1: how many lines; then with %2, the catalogue's entry that differs only in case
    RuleInfo{
        Rule::DataLineUnknownNumber,
        "data-line-unknown-number",
        kW,
        {U"一覧にない番号の行です (%1 行)。これらの行は変換されません。",
         U"一覧にない番号の行です (%1 行)。一覧の「%2」とは大文字・小文字だけ違い、番号は大文字・小文字まで一致しないと見つかりません。これらの行は変換されません。"}},
    // %1: the count's name, %2: the text, %3: the file it leaves unwritten
    RuleInfo{Rule::CountNotANumber,
             "count-not-a-number",
             kE,
             {U"%1「%2」は数値ではありません。0 として扱われ、%3 は書かれません。"}},
    // as count-not-a-number
    RuleInfo{Rule::CountNegative, "count-negative", kE, {U"%1「%2」が負の数です。0 として扱われ、%3 は書かれません。"}},
    // %1: the count's name, %2: the text
    RuleInfo{Rule::CountOutOfRange,
             "count-out-of-range",
             kE,
             {U"%1「%2」が -32768～32767 の範囲にありません。変換はこの柱状図で止まります。"}},
    // the count is smaller; the count is 0
    RuleInfo{Rule::LayerCountShort, "layer-count-short", kE, {kCountShort, kCountZero}},
    RuleInfo{Rule::LayerCountLong, "layer-count-long", kE, {kCountLong}},
    RuleInfo{Rule::ValueCountShort, "value-count-short", kE, {kCountShort, kCountZero}},
    RuleInfo{Rule::ValueCountLong, "value-count-long", kE, {kCountLong}},
    // %1: the depth as written
    RuleInfo{Rule::LayerDepthNotANumber,
             "layer-depth-not-a-number",
             kE,
             {U"層の深さ「%1」は数値ではありません。X1.txt には 0.00 と書かれます。"}},
    RuleInfo{Rule::LayerDepthNotIncreasing, "layer-depth-not-increasing", kW, {kDepthNotIncreasing}},
    // a layer as deep as the one above, %1: the depth; the first layer at depth 0
    RuleInfo{Rule::LayerZeroThickness,
             "layer-zero-thickness",
             kW,
             {U"層の深さ「%1」が上の層の深さと同じで、厚さ 0 の層です。そのまま書かれます。",
              U"最初の層の深さが 0 で、厚さ 0 の層です。そのまま書かれます。"}},
    // %1: the soil code
    RuleInfo{Rule::SoilCodeUnknown,
             "soil-code-unknown",
             kE,
             {U"土質コード「%1」は分類表にありません。X1.txt ではコードと土質名が空になります。"}},
    // %1, %2: the two soil codes, %3: the name the layer gets
    RuleInfo{
        Rule::AlternationSoilUnknown,
        "alternation-soil-unknown",
        kE,
        {U"互層の土質コード「%1」「%2」に分類表にないコードがあります。土質名は「%3」となり、この名前で土質辞書に登録されます。"}},
    // %1: the name, %2: the code it would get
    RuleInfo{
        Rule::AlternationNameNew,
        "alternation-name-new",
        kW,
        {U"互層名「%1」は土質辞書にありません。変換でコード %2 が付けられ、KISHITU.TXT と XKISHITU.TXT に追加されます。"}},
    // %1: the depth as written
    RuleInfo{Rule::ValueDepthNotANumber,
             "value-depth-not-a-number",
             kE,
             {U"深度データの深さ「%1」は数値ではありません。X5.txt には 0.00 と書かれます。"}},
    RuleInfo{Rule::ValueDepthNotIncreasing, "value-depth-not-increasing", kW, {kDepthNotIncreasing}},
    // %1: the depth, %2: the deepest layer's depth
    RuleInfo{Rule::ValueBelowLayers,
             "value-below-layers",
             kW,
             {U"深度データの深さ「%1」が最も深い層の深さ「%2」より深く、どの層にも入りません。そのまま書かれます。"}},
    // %1: the value as written
    RuleInfo{Rule::ValueNotANumber,
             "value-not-a-number",
             kW,
             {U"深度データの値「%1」は数値ではありません。X5.txt にはそのまま書かれますが、図には描けません。"}},
    // %1: which field, %2: its text; all four fields blank
    RuleInfo{
        Rule::CoordinateNotANumber,
        "coordinate-not-a-number",
        kE,
        {U"%1「%2」は数値ではありません。0 として扱われ、メッシュコードが誤ります。",
         U"座標 (緯度と経度の分・秒) が空です。メッシュコードは 35 度 0 分 0 秒、139 度 0 分 0 秒のもの (52394000) になります。"}},
    // %1: which field, %2: its text
    RuleInfo{Rule::CoordinateOutOfRange,
             "coordinate-out-of-range",
             kE,
             {U"%1「%2」が 00～59 の範囲にありません。メッシュコードが誤ります。"}},
    // a layer's depth; a depth value's; %1: the depth as given, %2: as written
    RuleInfo{
        Rule::DepthTooWide,
        "depth-too-wide",
        kE,
        {U"層の深さ「%1」は 7 文字の欄に収まりません (10000 以上、または -1000 以下)。X1.txt には先頭の桁が落ちて「%2」と書かれます。",
         U"深度データの深さ「%1」は 7 文字の欄に収まりません (10000 以上、または -1000 以下)。X5.txt には先頭の桁が落ちて「%2」と書かれます。"}},
    // a layer's depth; a depth value's; %1: the depth
    RuleInfo{Rule::DepthNegative,
             "depth-negative",
             kE,
             {U"層の深さ「%1」が負の数です。X1.txt にはそのまま書かれ、層は地表より上になります。",
              U"深度データの深さ「%1」が負の数です。X5.txt にはそのまま書かれ、値は地表より上になります。"}},
};

// The table is indexed by the enum: each row must stand at its rule's place.
constexpr bool rows_in_enum_order() {
  for (std::size_t i = 0; i < kRules.size(); ++i)
    if (static_cast<std::size_t>(kRules[i].rule) != i) return false;
  return true;
}
static_assert(rows_in_enum_order());
static_assert(kRules.size() == kRuleCount);

}  // namespace

std::span<const RuleInfo> all_rules() { return kRules; }

const RuleInfo& rule_info(Rule rule) { return kRules[static_cast<std::size_t>(rule)]; }

std::string_view severity_name(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

std::u32string rule_text(Rule rule, std::initializer_list<std::u32string_view> values, std::size_t way) {
  return fill_in(rule_info(rule).texts.at(way), values);
}

}  // namespace lodemark

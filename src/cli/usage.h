#pragma once
// What lodemark-cli says about how it is called, in English and in Japanese
// (for a user whose language is Japanese). The run's own messages are the
// window's Japanese texts in either case.
#include <ostream>
#include <string>
#include <string_view>

#include "cli/console.h"

namespace lodemark::cli {

inline constexpr char kSynopsis[] =
    "  lodemark-cli list SOURCE_DIR\n"
    "  lodemark-cli check SOURCE_DIR [--patdat PATDAT_DIR] [--format text|csv|json] [LOGNO...]\n"
    "  lodemark-cli convert --source SOURCE_DIR --dest DEST_DIR [--patdat PATDAT_DIR] [--yes]\n"
    "                       [--dry-run] [--quiet] [--report FILE] (--all | LOGNO...)\n"
    "  lodemark-cli preview SOURCE_DIR (LOGNO -o FILE.svg|.png|.pdf | --all -o FOLDER [--format svg|png|pdf])\n"
    "                       [--patdat PATDAT_DIR] [--scale 1:50|1:100|1:200|1:500] [--paper a4|a3]\n"
    "                       [--for-report]\n"
    "  lodemark-cli export SOURCE_DIR --datum tokyo|jgd2000|jgd2011 -o FILE (--all | LOGNO...)\n"
    "                      [--table boreholes|layers|values] [--patdat PATDAT_DIR]\n"
    "  lodemark-cli setting [--set FOLDER] [--utf16]\n"
    "  lodemark-cli help | --help | --version\n"
    "\n";

inline constexpr char kUsageTextEnglish[] =
    "list      prints the borehole list of SOURCE_DIR (Rodev5.Dat), one entry per line.\n"
    "check     reads the database (and the pattern-data folder's dictionaries) and reports\n"
    "          every problem that a conversion would pass over: severity, rule, file,\n"
    "          line, borehole, message. Writes nothing. Exit status: 0 no problem,\n"
    "          1 problems found, 2 usage error, 3 a file could not be read.\n"
    "convert   converts every borehole (--all) or those whose number is given, in list\n"
    "          order, into DEST_DIR\\<number>\\ (DEST_DIR's parent must exist).\n"
    "          --patdat names the pattern-data folder; without it the setting is read\n"
    "          from ZidereV5.ini. --yes creates a missing DEST_DIR without asking.\n"
    "          --dry-run checks everything and prints the folders, files and\n"
    "          dictionary names it would create, write and add, and changes nothing.\n"
    "          A summary (counts, problems by rule, names added) goes to standard\n"
    "          error; --quiet leaves only errors. --report FILE writes one record\n"
    "          per borehole (JSON for *.json in any case, else CSV).\n"
    "preview   draws a borehole's columnar section from what convert would write:\n"
    "          layers with their depth, soil name and code (\"新規\" for a name new to the\n"
    "          dictionary), the depth values, and check's problems under the picture.\n"
    "          FILE's extension (any case) names the format: .svg, .png or .pdf (no PDF\n"
    "          on Windows). --all writes FOLDER/<number>.svg for every borehole, or\n"
    "          .png or .pdf with --format. A picture of the same name is replaced.\n"
    "          --scale draws the depth at 1:50, 1:100 (the default), 1:200 or 1:500\n"
    "          (\"200\" is 1:200). A PDF has as many pages as the depth needs, of A4\n"
    "          or, with --paper a3, A3 (--paper goes with PDF only); SVG and PNG are\n"
    "          one picture of the whole depth. --for-report leaves out the codes\n"
    "          and the problems: the sheet for a client's report.\n"
    "          Writes nothing else. Exit status as convert's (3: a picture was not\n"
    "          written).\n"
    "export    writes where the boreholes are, one point each, or a table of them:\n"
    "          FILE's extension (any case) names the format: .geojson, .kml, .csv,\n"
    "          the GIS formats of GDAL where the build has it (.gpkg, .shp, ...), or a\n"
    "          location map .svg, .png or .pdf. --datum is required: the database does\n"
    "          not say in which datum its positions were surveyed, and the Tokyo\n"
    "          Datum lies about 460 m from JGD2000/JGD2011 around Tokyo. Points are\n"
    "          written in JGD2011. A borehole whose minutes and seconds are blank or\n"
    "          out of range is left out, with its message. --table layers or values\n"
    "          writes a row per layer or depth value instead (.csv or a GIS format).\n"
    "          An earlier FILE is replaced whole. Exit status as check's: 0 all\n"
    "          written, 1 a borehole left out or problems found (the file is\n"
    "          written), 2 usage error, 3 a file could not be read or written.\n"
    "setting   prints the pattern-data setting (line 2 of ZidereV5.ini) as the\n"
    "          program reads it. Exit status: 0 it names an existing folder, 1 it\n"
    "          does not or there is none, 3 the settings file could not be read.\n"
    "          --set FOLDER makes FOLDER the setting, in the settings file the\n"
    "          program reads (on Windows an administrator's right is needed); the\n"
    "          file's other lines stay. Exit status: 0 written, 2 FOLDER is missing\n"
    "          or cannot be the setting, 3 the file could not be read or written\n"
    "          (it stays as it was). --utf16 prints everything, messages included,\n"
    "          on standard output as UTF-16LE with a byte-order mark (for installers).\n"
    "Options take their value as --name VALUE or --name=VALUE; list and check take\n"
    "SOURCE_DIR as --source SOURCE_DIR too; -- ends the options. Paths are native\n"
    "(UTF-8, no \"\\\" on Linux).\n"
    "\n"
    "Exit status of convert: 0 converted, 1 refused or answered No, 2 usage error,\n"
    "3 failure during the run or standard output not writable.\n";

inline constexpr char kUsageTextJapanese[] =
    "list      SOURCE_DIR の柱状図一覧 (Rodev5.Dat) を 1 行に 1 件ずつ表示します。\n"
    "check     データベース (とパターンデータフォルダの土質辞書) を読み、変換が黙って\n"
    "          見過ごす問題をすべて報告します: 重大度、規則、ファイル、行、柱状図、\n"
    "          メッセージ。何も書き込みません。終了コード: 0 問題なし、1 問題あり、\n"
    "          2 使い方の誤り、3 読めないファイルがあった。\n"
    "convert   すべての柱状図 (--all) または番号を指定した柱状図を、一覧の順に\n"
    "          DEST_DIR\\<番号>\\ へ変換します (DEST_DIR の親フォルダは必要です)。\n"
    "          --patdat はパターンデータフォルダです。省くと ZidereV5.ini の設定を\n"
    "          読みます。--yes は DEST_DIR がなければ尋ねずに作成します。--dry-run は\n"
    "          すべての検査をして、作成するフォルダ、書き込むファイル、土質辞書に\n"
    "          追加する名前を表示し、何も変更しません。集計 (件数、規則ごとの問題、\n"
    "          追加した名前) を標準エラーに出します。--quiet はエラーだけにします。\n"
    "          --report FILE は柱状図ごとの記録を書きます (*.json は JSON (大文字\n"
    "          小文字を問わない)、他は CSV)。\n"
    "preview   convert が書く内容から柱状図を描きます: 層 (深度、土質名、コード。\n"
    "          辞書にない名前は「新規」)、深度値、check が見つけた問題。形式は FILE の\n"
    "          拡張子 (大文字小文字を問わない) で決まります: .svg、.png、.pdf (Windows\n"
    "          では PDF なし)。--all はすべての柱状図を FOLDER/<番号>.svg に書きます\n"
    "          (--format で .png または .pdf)。同じ名前の図は置き換えます。\n"
    "          --scale は縮尺 1:50、1:100 (既定)、1:200、1:500 です (\"200\" は\n"
    "          1:200)。PDF は深さに必要なだけのページで、用紙は A4、--paper a3 で\n"
    "          A3 です (--paper は PDF のみ)。SVG と PNG は全深度を 1 枚の図に\n"
    "          します。--for-report はコードと問題を省いた報告書用の図にします。\n"
    "          ほかには何も書き込みません。終了コードは convert と同じです (3 は書けな\n"
    "          かった図がある)。\n"
    "export    柱状図の位置を 1 本 1 点で、または表として書き出します。形式は FILE の\n"
    "          拡張子 (大文字小文字を問わない) で決まります: .geojson、.kml、.csv、\n"
    "          GDAL のある環境ではその GIS 形式 (.gpkg、.shp など)、位置図の .svg、\n"
    "          .png、.pdf。--datum は必須です: データベースには測地系の記録がなく、\n"
    "          東京付近では日本測地系と JGD2000/JGD2011 の位置は約 460 m 離れます。\n"
    "          点は JGD2011 で書きます。緯度経度の分・秒が空または範囲外の柱状図は\n"
    "          メッセージを出して除きます。--table layers または values は層ごと\n"
    "          または深度値ごとの表を書きます (.csv または GIS 形式)。既存の FILE は\n"
    "          丸ごと置き換えます。終了コードは check と同じです: 0 すべて書いた、\n"
    "          1 除いた柱状図または問題がある (ファイルは書く)、2 使い方の誤り、\n"
    "          3 読めない・書けないファイルがあった。\n"
    "setting   パターンデータフォルダの設定 (ZidereV5.ini の 2 行目) をプログラムが\n"
    "          読むとおりに表示します。終了コード: 0 設定が既存のフォルダを指す、\n"
    "          1 指さないか設定がない、3 設定ファイルを読めない。--set FOLDER は\n"
    "          FOLDER を設定として、プログラムが読む設定ファイルに書きます (Windows\n"
    "          では管理者の権限が必要)。ファイルのほかの行は残します。終了コード:\n"
    "          0 書いた、2 FOLDER がないか設定にできない、3 ファイルを読めない・\n"
    "          書けない (元のまま)。--utf16 はメッセージも含めすべてを標準出力に\n"
    "          UTF-16LE (BOM 付き) で出します (インストーラ用)。\n"
    "オプションの値は --name VALUE でも --name=VALUE でも指定できます。list と check\n"
    "の SOURCE_DIR は --source SOURCE_DIR でも指定できます。-- 以降はオプションと\n"
    "みなしません。パスはシステムの形で指定します (UTF-8、Linux では \"\\\" を含まない)。\n"
    "\n"
    "convert の終了コード: 0 変換した、1 拒否されたか「いいえ」と答えた、\n"
    "2 使い方の誤り、3 実行中の失敗または標準出力に書き込めない。\n";

inline void write_usage(std::ostream& out, const Console& console) {
  out << (console.japanese ? "使い方:\n" : "Usage:\n") << kSynopsis
      << (console.japanese ? kUsageTextJapanese : kUsageTextEnglish);
}

// Exit statuses.
inline constexpr int kConverted = 0;
inline constexpr int kRefused = 1;     // a check of the run failed, or the folder question was answered No
inline constexpr int kUsage = 2;       // bad arguments, unknown LOGNO
inline constexpr int kRunFailure = 3;  // a failure during the run
// Of check: problems found (kConverted: none; kRunFailure: a file could not be read).
inline constexpr int kProblemsFound = 1;

// Every message of lodemark-cli's own goes to standard error so; gives the
// exit status.
inline int say(Console& console, std::string_view text, int status) {
  console.err << "lodemark-cli: " << text << '\n';
  return status;
}

// A call that cannot be carried out: what is wrong with it and where the
// usage is, not all of it.
inline int usage_error(Console& console, const std::string& problem) {
  say(console, problem, kUsage);
  console.err << (console.japanese ? "使い方は 'lodemark-cli --help' で表示されます。\n"
                                   : "Try 'lodemark-cli --help'.\n");
  return kUsage;
}

}  // namespace lodemark::cli

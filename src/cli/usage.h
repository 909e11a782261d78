#pragma once
// What lodemark-cli says about how it is called.
#include <ostream>
#include <string>

namespace lodemark::cli {

inline constexpr char kUsageText[] =
    "Usage:\n"
    "  lodemark-cli list SOURCE_DIR\n"
    "  lodemark-cli check SOURCE_DIR [--patdat PATDAT_DIR] [--format text|csv|json] [LOGNO...]\n"
    "  lodemark-cli convert --source SOURCE_DIR --dest DEST_DIR [--patdat PATDAT_DIR] [--yes]\n"
    "                       [--dry-run] [--quiet] [--report FILE] (--all | LOGNO...)\n"
    "  lodemark-cli help | --help | --version\n"
    "\n"
    "list      prints the borehole list of SOURCE_DIR (Rodev5.Dat), one entry per line.\n"
    "check     reads the database (and the pattern-data folder's dictionaries) and reports\n"
    "          every problem that a conversion would pass over: severity, rule, file,\n"
    "          line, borehole, message. Writes nothing. Exit status: 0 no problem,\n"
    "          1 problems found, 2 usage error, 3 a file could not be read.\n"
    "convert   converts every borehole (--all) or those whose number is given, in list\n"
    "          order, into DEST_DIR\\<number>\\. --patdat names the pattern-data folder;\n"
    "          without it the setting is read from ZidereV5.ini. --yes creates a missing\n"
    "          destination without asking. --dry-run checks everything and prints the\n"
    "          folders, files and dictionary names it would create, write and add,\n"
    "          and changes nothing. A summary (counts, problems by rule, names added)\n"
    "          goes to standard error; --quiet leaves only errors. --report FILE\n"
    "          writes one record per borehole (JSON for *.json, else CSV).\n"
    "Options take their value as --name VALUE or --name=VALUE.\n"
    "\n"
    "Exit status of convert: 0 converted, 1 refused or answered No, 2 usage error,\n"
    "3 failure during the run or standard output not writable.\n";

// Exit statuses.
inline constexpr int kConverted = 0;
inline constexpr int kRefused = 1;     // a check of the run failed, or the folder question was answered No
inline constexpr int kUsage = 2;       // bad arguments, unknown LOGNO
inline constexpr int kRunFailure = 3;  // a failure during the run
// Of check: problems found (kConverted: none; kRunFailure: a file could not be read).
inline constexpr int kProblemsFound = 1;

inline int usage_error(std::ostream& err, const std::string& problem) {
  err << "lodemark-cli: " << problem << "\n\n" << kUsageText;
  return kUsage;
}

}  // namespace lodemark::cli

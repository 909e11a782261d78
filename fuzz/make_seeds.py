#!/usr/bin/env python3
"""Writes the hand-made seeds of fuzz/corpus/<harness>/ (the sample files of
samples/ among them). The seeds are committed; run this only to change them.
Files that hold several parts separate them with SEP, as fuzz_support.h."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = os.path.join(HERE, "..", "samples")
SEP = b"\n@@\n"


def sample(*parts):
    with open(os.path.join(SAMPLES, *parts), "rb") as f:
        return f.read()


def sjis(text):
    return text.encode("cp932")


def write(harness, name, data):
    folder = os.path.join(HERE, "corpus", harness)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def record(code, name):
    return sjis(f"{code},{name},    ,    ,    ,0000\r\n")


# The catalogue: 24-byte records.
write("catalogue", "sample", sample("database", "Rodev5.Dat"))
write("catalogue", "crlf_lf_cr", b"B-1     20260401NAME-ONE\r\nB-2     20260402NAME-TWO\nB-3     20260403NAME-3  \r")
write("catalogue", "split_character", b"B-1    \x8220260401\x82\xa0\x82\xa2\x82\xa4\x82\r\n")
write("catalogue", "first_line_short", b"short\r\nB-1     20260401NAME-ONE\r\n")

# The data files: keys, then Rodev1/2/3.Dat.
keys = b"\n".join(sjis(n) for n in ["B-101   ", "B-103   ", "B-112   ", "B-999   "])
write("data_files", "sample",
      keys + SEP + sample("database", "Rodev1.Dat") + SEP + sample("database", "Rodev2.Dat") + SEP +
      sample("database", "Rodev3.Dat"))
header = b"K-1     41304210" + b" " * 19 + b"   12.50" + b"   30.00" + b"R6-0001 " + b" " * 6 + b"  3  2"
write("data_files", "counts_and_extra_lines",
      b"K-1     \nK-2     " + SEP + header + b"\r\nK-2     " + b" " * 57 + b" -1 9e9\r\n" + SEP +
      b"K-1        1.20" + b" " * 15 + b"10102\r\nK-1        2.40" + b" " * 15 + b" 03  \r\n" +
      b"K-1        3.00" + b" " * 15 + b" 04  \r\nK-1        4.00" + b" " * 15 + b" 05  \r\n" + SEP +
      b"K-1        1.00  7\r\nK-2        1.00  7\r\n")
write("data_files", "key_split_character", b"\x82\xa0K\n" + SEP + b"\x82\xa0K1" + b"9" * 70 + b"\r" + SEP +
      b"\x82\xa0K\x82" + SEP)

# The check of a database: control line (LOGNOs, "patdat"), Rodev5.Dat,
# Rodev1/2/3.Dat, KISHITU.TXT, XKISHITU.TXT; an empty part is a missing file.
database = [sample("database", name) for name in ["Rodev5.Dat", "Rodev1.Dat", "Rodev2.Dat", "Rodev3.Dat"]]
dictionaries = [sample("patdat", "KISHITU.TXT"), sample("patdat", "XKISHITU.TXT")]


def check_seed(name, control, files):
    write("source_check", name, SEP.join([control] + files))


check_seed("sample", b"", database)
check_seed("sample_with_dictionaries", b"patdat", database + dictionaries)
check_seed("sample_selection", b"patdat B-103 B-106", database + dictionaries)
check_seed("lf_only_and_utf8", b"patdat",
           [database[0].replace(b"\r\n", b"\n"), database[1], "B-101   粘土".encode("utf-8") + b"\r\n",
            database[3]] + dictionaries)
catalogue = b"Number  unused  Name    \r\nB-1     20260401NAME-ONE\r\nb-1     20260402NAME-TWO\r\nB-1     " \
            b"20260403NAME-3  \r\n\r\nCON     20260404SHORT\r\n"
headers = b"B-1     41304275" + b" " * 19 + b"   12.50" + b"   30.00" + b"R6-0001 " + b" " * 6 + b"  3 9e9\r\n" + \
          b"B-1     " + b" " * 57 + b" -1  x\r\nZ-9     unknown\r\n"
layers = b"B-1        2.40" + b" " * 15 + b" 99  \r\nB-1        1.20" + b" " * 15 + b"10102\r\nB-1        x   " + \
         b" " * 15 + b"1 77\r\n"
check_seed("defects", b"patdat", [catalogue, headers, layers, b"B-1        1.00  7\r\nB-1        0.50  7\r\n",
                                  b"1000,A,    ,    ,    ,0000\r\n", b"4000,B,,\r\n"])
check_seed("missing_files", b"", [database[0], b"", b"", b""])

# The dictionary: names (one a line), KISHITU.TXT, XKISHITU.TXT.
kishitu = sample("patdat", "KISHITU.TXT")
xkishitu = sample("patdat", "XKISHITU.TXT")
write("soil_dictionary", "sample_new_name", sjis("砂と礫の互層") + SEP + kishitu + SEP + xkishitu)
write("soil_dictionary", "sample_in_dictionary", sjis("ローム") + SEP + kishitu + SEP + xkishitu)
write("soil_dictionary", "sample_in_register", sjis("粘土と砂の互層") + SEP + kishitu + SEP + xkishitu)
write("soil_dictionary", "quoted_and_blank_fields",
      b"B" + SEP + b' 4000 , "A,1" ,,,,0000\r\n\r\n' + SEP + record(1000, "Q") + b'"1001","B",,,,\r\n' +
      record(4000, "A"))
write("soil_dictionary", "register_without_line_end",
      b"C" + SEP + record(4000, "A") + b"4001,B,,,,0000" + SEP + record(1000, "X") + b"4000,A,,,,0000")
write("soil_dictionary", "full_user_range", b"N" + SEP + SEP + record(3999, "Z") + record(4000, "A"))
write("soil_dictionary", "record_cut_short", b"N" + SEP + b"4000,A,,\r\n" + SEP + record(4000, "A"))
write("soil_dictionary", "not_writable_name", b"A,B" + SEP + SEP)
# A run's alternating layers, one name a line: the dictionary's last line is
# ended by a lone CR, and a register line ended by LF alone leaves an LF before
# the code 1500, which no new name may get.
write("soil_dictionary", "lf_before_register_code",
      sjis("粘土と砂の互層\n礫と粘土の互層\n砂と礫の互層") + SEP + record(4503, "粘土") + record(4505, "砂") +
      sjis("1000,A,    ,    ,    ,0000\r") + SEP + record(1499, "B") + b"\n" + record(1500, "粘土と砂の互層"))

# ZidereV5.ini: the setting is the first field of the second line.
write("pattern_data_setting", "plain", b"[Zidere]\r\nZ:\\tmp\\,x\r\n")
write("pattern_data_setting", "quoted", b'first\r\n  "Z:\\a, b\\" ,rest\r\n')
write("pattern_data_setting", "one_line", b"Z:\\tmp\\")
write("pattern_data_setting", "shift_jis", b"1\r" + sjis("Z:\\データ\\") + b"\r\n")

# Vaskor.ini: a byte of buffer size, then section, key and file.
write("companion_settings", "sample", b"\xff" + b"USER" + SEP + b"user" + SEP + sample("patdat", "Vaskor.ini"))
write("companion_settings", "quoted_cut",
      b"\x05" + b"S" + SEP + b"k" + SEP + b"; c\r\n[s]\r\nK = 'value'\r\n[S]\r\nk=other\r\n")
write("companion_settings", "shift_jis_cut", b"\x04" + b"USER" + SEP + b"USER" + SEP + b"[USER]\nUSER=" +
      sjis("辞書ア.TXT") + b"   \n")
write("companion_settings", "cr_only", b"\x80" + b"USER" + SEP + b"USER" + SEP + b"[USER]\rUSER=V.TXT\r")

# Decimal numbers: a width byte, then the text.
for name, data in [("depth", b"\x08   12.35"), ("negative_exponent", b"\x0a-1.5e-3"), ("count", b"\x03  3"),
                   ("big", b"\x06 4e38"), ("half_to_even", b"\xfe32767.5"), ("not_a_number", b"\x05 1.2.3"),
                   ("fullwidth", b"\x05" + sjis("１２"))]:
    write("decimal", name, data)

# Code page 932: bytes to decode, UTF-16LE-like units to encode.
write("cp932_decode", "sample_dictionary", kishitu[:200])
write("cp932_decode", "bad_bytes", b"A\x80\xa0\xfd\xfe\xff\x81\r\x81\x39\xef\x40,\x82")
write("cp932_decode", "nec_ibm_rows", b"\x87\x40\x87\x90\xed\x40\xee\xef\xfa\x40\xfa\x55\xfc\x4b")
write("cp932_encode", "japanese", "新宿一号と砂の互層".encode("utf-16-le"))
write("cp932_encode", "unmappable", "é€\ufffd\u2170\u00a5\U0001F600".encode("utf-16-le") + b"\x00\xd8\x07")
write("remembered_datums", "sample", b"/home/u/db" + SEP + b"tokyo\t/home/u/db\njgd2011\t/home/u/other\n")
write("remembered_datums", "crlf_duplicate",
      b"Z:\\db\\" + SEP + b"junk\x00\xff\r\njgd2000\tZ:\\db\\\r\ntokyo\tZ:\\db\\\r\nTOKYO\t\r")

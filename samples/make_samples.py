#!/usr/bin/env python3
"""Writes the demo database (samples/database) and the demo pattern-data
folder (samples/patdat). The files are committed; run this only to change
them, then refresh the golden output of the sample conversion."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# number, catalogue middle field, name, lat min/sec, lon min/sec, fields 4-6
BOREHOLES = [
    ("B-101   ", "20260401", "新宿一号", "41", "30", "42", "10", "   38.20", "   25.00", "R6-0401 "),
    ("B-102   ", "20260402", "新宿二号", "41", "45", "41", "55", "   37.85", "   20.00", "R6-0402 "),
    ("B-103   ", "20260405", "渋谷駅前", "39", "30", "41", "15", "   15.40", "   30.00", "R6-0405 "),
    ("B-104   ", "20260410", "品川埠頭", "37", "05", "44", "40", "    2.10", "   35.00", "R6-0410 "),
    ("B-105   ", "20260411", "上野公園", "42", "50", "46", "20", "   18.60", "   15.00", "R6-0411 "),
    ("B-106   ", "20260415", "浅草寺  ", "42", "55", "47", "50", "    3.30", "   22.00", "R6-0415 "),
    ("B-107   ", "20260418", "池袋東口", "43", "45", "42", "55", "   33.00", "   18.00", "R6-0418 "),
    ("B-108   ", "20260420", "有明北  ", "38", "20", "47", "35", "    4.50", "   40.00", "R6-0420 "),
    ("B-109   ", "20260422", "東京駅  ", "40", "52", "46", "04", "    3.80", "   45.00", "R6-0422 "),
    ("B-110   ", "20260425", "丸の内  ", "40", "50", "45", "50", "    4.20", "   42.00", "R6-0425 "),
    ("B-111   ", "20260428", "赤坂見附", "40", "40", "44", "15", "   21.70", "   24.00", "R6-0428 "),
    ("B-112   ", "20260430", "表参道  ", "39", "55", "42", "45", "   29.90", "   26.00", "R6-0430 "),
]

# per borehole: layers (depth, flag, code, code2)
LAYERS = {
    "B-101   ": [("1.2", " ", "01", "  "), ("3.5", " ", "03", "  "), ("6.8", "1", "04", "08"),
                 ("12.35", " ", "08", "  "), ("25.0", " ", "09", "  ")],
    "B-102   ": [("0.8", " ", "01", "  "), ("4.0", " ", "03", "  "), ("9.5", "1", "05", "06"),
                 ("20.0", " ", "07", "  ")],
    "B-103   ": [("2.0", " ", "02", "  "), ("7.25", "1", "04", "09"), ("15.5", " ", "06", "  "),
                 ("30.0", " ", "20", "  ")],
    "B-104   ": [("3.0", " ", "10", "  "), ("8.0", " ", "04", "  "), ("14.0", "1", "08", "05"),
                 ("22.0", " ", "11", "  "), ("35.0", " ", "21", "  ")],
    "B-105   ": [("1.0", " ", "01", "  "), ("6.0", " ", "03", "  "), ("15.0", " ", "09", "  ")],
    "B-106   ": [("2.5", " ", "02", "  "), ("5.0", "1", "04", "08"), ("11.0", "1", "04", "99"),
                 ("22.0", " ", "30", "  ")],
    "B-107   ": [("1.5", " ", "01", "  "), ("5.5", " ", "03", "  "), ("18.0", " ", "05", "  ")],
    "B-108   ": [("4.0", " ", "10", "  "), ("12.0", " ", "04", "  "), ("18.5", "1", "06", "40"),
                 ("28.0", " ", "08", "  "), ("40.0", " ", "09", "  ")],
    "B-109   ": [("2.0", " ", "01", "  "), ("9.0", " ", "04", "  "), ("21.0", "1", "04", "08"),
                 ("45.0", " ", "20", "  ")],
    "B-110   ": [("1.8", " ", "01", "  "), ("10.5", " ", "05", "  "), ("42.0", " ", "09", "  ")],
    "B-111   ": [("0.5", " ", "01", "  "), ("3.0", " ", "03", "  "), ("11.0", "1", "05", "06"),
                 ("24.0", " ", "08", "  ")],
    "B-112   ": [("1.1", " ", "01", "  "), ("6.6", " ", "03", "  "), ("13.2", "1", "09", "04"),
                 ("26.0", " ", "07", "  ")],
}

# B-105 has a depth-value count but no lines: its rows stay empty.
MISSING_X5 = {"B-105   "}


def x5_rows(index, depth_total):
    rows = []
    n = 3 + index % 4
    for k in range(n):
        depth = (k + 1) * depth_total / (n + 1)
        rows.append((f"{depth:.2f}", f"{(index * 7 + k * 5) % 50 + 1:2d}"))
    return rows


def sjis(text):
    return text.encode("cp932")


def write(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        for line in lines:
            f.write(sjis(line) + b"\r\n")


def main():
    cat, heads, lays, vals = [], [], [], []
    for i, (no, mid, name, la_m, la_s, lo_m, lo_s, f4, f5, f6) in enumerate(BOREHOLES):
        assert len(sjis(no + mid + name)) == 24, no
        cat.append(no + mid + name)
        layers = LAYERS[no]
        depth_total = float(layers[-1][0])
        rows = x5_rows(i, depth_total)
        head = (no + la_m + la_s + lo_m + lo_s + " " * 19 + f4 + f5 + f6 + " " * 6
                + f"{len(layers):3d}" + f"{len(rows):3d}")
        assert len(head) == 71, no
        heads.append(head)
        for depth, flag, c1, c2 in layers:
            lays.append(no + "   " + f"{depth:>8}" + " " * 11 + flag + c1 + c2)
        if no not in MISSING_X5:
            for depth, value in rows:
                vals.append(no + "   " + f"{depth:>8}" + value)
    db = os.path.join(HERE, "database")
    write(os.path.join(db, "Rodev5.Dat"), cat)
    write(os.path.join(db, "Rodev1.Dat"), heads)
    write(os.path.join(db, "Rodev2.Dat"), lays)
    write(os.path.join(db, "Rodev3.Dat"), vals)

    blank = "    "
    def rec(code, name):
        return f"{code},{name},{blank},{blank},{blank},0000"
    standard = [rec("4000", "盛土"), rec("4001", "埋土"), rec("4501", "腐植土"), rec("4502", "ローム"),
                rec("4503", "粘土"), rec("4504", "シルト"), rec("4505", "砂"), rec("4506", "礫"),
                rec("4507", "ヘドロ"), rec("4508", "土丹"), rec("4509", "岩盤"), rec("4510", "凝灰岩"),
                rec("4511", "浮石"), rec("5006", "中・荒砂"), rec("5025", "貝殻"), rec("5221", "細砂")]
    user = [rec("1000", "ロームと粘土の互層"), rec("1001", "粘土と砂の互層"), rec("1002", "シルトと細砂の互層")]
    pat = os.path.join(HERE, "patdat")
    # The dictionary knows 1000 and 1001; 1002 is only in the register.
    write(os.path.join(pat, "KISHITU.TXT"), standard + user[:2])
    write(os.path.join(pat, "XKISHITU.TXT"), user + standard)
    write(os.path.join(pat, "Vaskor.ini"), ["; companion application settings", "[USER]", "USER=VASUSER.TXT"])
    write(os.path.join(pat, "VASUSER.TXT"), standard + user[:1])


if __name__ == "__main__":
    main()

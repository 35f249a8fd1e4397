#!/usr/bin/env python3
"""Writes addresses for the resolver's whole-process benchmark: COUNT
addresses taken at even steps through every prefecture file of a prepared
data folder (so all 47 prefectures are in), one in ten without its
prefecture, each with a number that suits its record's note; with --repeat
N the list is written N times, as a long list of real addresses repeats
its places. With --list the addresses are written as an address list for
yubin-cli labels (郵便番号,住所,氏名), four rows in five with the record's
postal code."""
import argparse
import pathlib
import re

parser = argparse.ArgumentParser()
parser.add_argument("data")
parser.add_argument("count", type=int)
parser.add_argument("out")
parser.add_argument("--repeat", type=int, default=1)
parser.add_argument("--list", action="store_true")
args = parser.parse_args()

records = []
for path in sorted(pathlib.Path(args.data).glob("[0-4][0-9]*.CSV")):
    for line in path.read_bytes().decode("cp932", "replace").splitlines():
        f = [x.strip('"') for x in line.split(",")]
        if len(f) >= 9 and f[8] != "以下に掲載がない場合":
            records.append(f)
step = max(1, len(records) // args.count)
digits = str.maketrans("０１２３４５６７８９", "0123456789")
lines = []
for n, f in enumerate(records[::step][: args.count]):
    town, _, note = f[8].partition("（")
    note = note.rstrip("）").translate(digits)
    chome = re.match(r"(\d+)[～、]?.*丁目$", note)
    number = f"{n % 9 + 1}-{n % 27 + 1}-{n % 11 + 1}"
    if chome:
        number = f"{chome.group(1)}丁目{n % 27 + 1}-{n % 11 + 1}"
    elif note.endswith("階"):
        number = f"{n % 9 + 1}-{n % 5 + 1} {note}"
    prefecture = "" if n % 10 == 9 else f[6]
    address = prefecture + f[7] + town + number
    if args.list:
        code = f[2] if n % 5 != 4 else ""
        lines.append(f"{code},{address},山田 太郎{n}\n")
    else:
        lines.append(address + "\n")
with open(args.out, "w", encoding="utf-8") as out:
    if args.list:
        out.write("郵便番号,住所,氏名\n")
    for _ in range(args.repeat):
        out.writelines(lines)

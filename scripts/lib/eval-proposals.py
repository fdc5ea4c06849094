#!/usr/bin/env python3
"""The measures of scripts/eval-proposals: prepares each case's listinfo.txt, name list and queries,
runs the command-line proposal program on them, and scores its answers against the real lists."""
import argparse
import bisect
import collections
import os
import random
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

SJIS_VERSIONS = ["0102u1", "0107", "0117", "0128u3"]
UTF8_LIST = "retrofire_mame32j_utf8_3field.lst"
BATCH = 500
SEED = 15


def read_list(path):
    """ZIP name -> (title, reading) of a name list, first line of a ZIP name winning, and its codec."""
    raw = open(path, "rb").read()
    codec = "utf-8" if raw.startswith(b"\xef\xbb\xbf") else "cp932"
    text = raw[3:] if codec == "utf-8" else raw
    games = {}
    for line in text.split(b"\n"):
        line = line.rstrip(b"\r")
        fields = line.split(b"\t")
        if len(fields) >= 3 and fields[0] not in games:
            games[fields[0]] = (fields[1], fields[2])
    return games, codec


def read_machines(listxml, cache):
    """name -> (cloneof, description) of the runnable machines of a -listxml, cached as TSV."""
    if not os.path.exists(cache) or os.path.getmtime(cache) < os.path.getmtime(listxml):
        with open(cache + ".part", "w", encoding="utf-8") as out:
            for _, element in ET.iterparse(listxml):
                if element.tag != "machine":
                    continue
                if "yes" not in (element.get("isbios"), element.get("isdevice")) and element.get("runnable") != "no":
                    description = (element.findtext("description") or "").replace("\t", " ").replace("\n", " ")
                    out.write("\t".join([element.get("name"), element.get("cloneof") or "", description]) + "\n")
                element.clear()
        os.replace(cache + ".part", cache)
    machines = {}
    for line in open(cache, encoding="utf-8"):
        name, cloneof, description = line.rstrip("\n").split("\t")
        machines[name] = (cloneof, description)
    return machines


def run_propose(propose, listinfo, namelist, queries, work, tag):
    query_file = os.path.join(work, tag + ".queries")
    with open(query_file, "wb") as out:
        out.write(b"".join(q + b"\n" for q in queries))
    result = subprocess.run([propose, listinfo, namelist, query_file], capture_output=True)
    if result.returncode != 0:
        sys.exit("kanaroll_propose failed on %s: %s" % (tag, result.stderr.decode(errors="replace")))
    answers = {}
    lines = result.stdout.split(b"\n")
    if lines and lines[-1] == b"":
        lines.pop()
    if len(lines) != len(queries):
        sys.exit("kanaroll_propose gave %d lines for %d queries" % (len(lines), len(queries)))
    for line in lines:
        zip_name, title, reading = line.split(b"\t")
        answers[zip_name] = (title, reading)
    return answers


class Measure:
    def __init__(self, name, codec):
        self.name, self.codec = name, codec
        self.total = self.proposed = self.right = 0
        self.kinds = collections.Counter()
        self.examples = []

    def add(self, zip_name, expected, proposed, kind_of_error, reason=None):
        self.total += 1
        if proposed:
            self.proposed += 1
            if proposed == expected:
                self.right += 1
                return
        kind = reason or (kind_of_error(expected, proposed) if proposed else "no proposal")
        self.kinds[kind] += 1
        if proposed:
            self.examples.append((zip_name, expected, proposed, kind))

    def report(self, examples):
        def share(a, b):
            return "%5.1f %%" % (100.0 * a / b) if b else "    - "
        print("  %-44s right %s   proposed %s   precision %s   (%d games, %d proposed, %d right)" % (
            self.name, share(self.right, self.total), share(self.proposed, self.total),
            share(self.right, self.proposed), self.total, self.proposed, self.right))
        wrong = self.total - self.right
        for kind, count in self.kinds.most_common(8):
            print("      %-40s %5d  (%s of the misses)" % (kind, count, share(count, wrong).strip()))
        random.Random(SEED).shuffle(self.examples)
        for zip_name, expected, proposed, kind in self.examples[:examples]:
            d = lambda b: b.decode(self.codec, errors="replace")
            print("        %-12s %-28s want %s  got %s" % (d(zip_name), "[" + kind + "]", d(expected), d(proposed)))


def code_split(reading):
    """Stem and code of a reading: the code is the printable ASCII at its end."""
    end = len(reading)
    while end > 0 and 0x20 < reading[end - 1] < 0x7F:
        end -= 1
    return reading[:end], reading[end:]


def reading_error(expected, proposed):
    e_stem, e_code = code_split(expected)
    p_stem, p_code = code_split(proposed)
    if e_stem == p_stem:
        return "code differs" if e_code and p_code else ("code missing" if e_code else "code extra")
    if e_code == p_code:
        return "stem differs"
    return "stem and code differ"


def title_error(expected, proposed):
    e_head, _, e_rest = expected.partition(b" (")
    p_head, _, p_rest = proposed.partition(b" (")
    if e_head == p_head:
        return "qualifier differs"
    if e_rest == p_rest:
        return "head differs"
    return "head and qualifier differ"


def write_listinfo(path, names, families, manufacturers, descriptions=None):
    """A -listinfo catalogue of the given games, clones naming their masters, with the descriptions
    given."""
    with open(path, "wb") as out:
        for name in names:
            out.write(b"game (\n\tname " + name + b"\n")
            if descriptions and name in descriptions:
                out.write(b'\tdescription "' + descriptions[name] + b'"\n')
            if name in families:
                out.write(b"\tcloneof " + families[name] + b"\n")
            out.write(b'\tmanufacturer "' + manufacturers.get(name, b"").replace(b'"', b"'") + b'"\n)\n\n')


ROMAN = {"II": 2, "III": 3, "IV": 4, "V": 5, "VI": 6, "VII": 7, "VIII": 8, "IX": 9, "X": 10,
         "Ⅱ": 2, "Ⅲ": 3, "Ⅳ": 4, "Ⅴ": 5, "Ⅵ": 6, "Ⅶ": 7, "Ⅷ": 8, "Ⅸ": 9, "Ⅹ": 10}


def unseen_series_numbers(added, new_games, codec):
    """The added games whose reading holds a series number ("_4" of "てっけん_4...") that neither
    the rest of the list (as the start of one of its readings) nor the game's title shows."""
    kept = sorted(new_games[z][1] for z in new_games if z not in added)
    def shown(prefix):
        i = bisect.bisect_left(kept, prefix)
        return i < len(kept) and kept[i].startswith(prefix)
    unseen = set()
    for z in added:
        title = new_games[z][0].decode(codec, errors="replace")
        reading = new_games[z][1]
        numbers = set(re.findall(r"[0-9]+", title)) | {str(int(n)) for n in re.findall(r"[0-9]+", title)}
        numbers |= {str(v) for k, v in ROMAN.items() if k in title}
        for m in re.finditer(rb"_([0-9]+)", reading):
            digits = m.group(1).decode()
            if not shown(reading[:m.end()]) and digits not in numbers and str(int(digits)) not in numbers:
                unseen.add(z)
                break
    return unseen


def sjis_upgrades(args, machines):
    print("Shift-JIS upgrades: the games a new list adds, reading proposed from the new list's title")
    print("  first with a catalogue of ZIP names only, then (catalogue) with MAME 0.251's descriptions and"
          " families for the games it knows")
    lists = {v: os.path.join(args.real, "namelists", "mameplus_jplist%s_mame32jp.lst" % v) for v in SJIS_VERSIONS}
    summary = []
    for old, new in zip(SJIS_VERSIONS, SJIS_VERSIONS[1:]):
        old_games, _ = read_list(lists[old])
        new_games, codec = read_list(lists[new])
        added = [z for z in new_games if z not in old_games]
        manufacturers = {}
        for line in open(lists[new], "rb").read().split(b"\n"):
            fields = line.rstrip(b"\r").split(b"\t")
            if len(fields) >= 4:
                manufacturers.setdefault(fields[0], fields[3])
        # Families as MAME knows them today, for the games of the new list whose master it holds too.
        families = {}
        descriptions = {}
        for z in new_games:
            machine = machines.get(z.decode("ascii", "replace"))
            if machine and machine[1]:
                descriptions[z] = machine[1].replace('"', "'").encode("ascii", "replace")
            cloneof = machines.get(z.decode("ascii", "replace"), ("", ""))[0].encode()
            if cloneof and cloneof in new_games:
                families[z] = cloneof
        unseen = unseen_series_numbers(set(added), new_games, codec)
        for with_families in (False, True):
            tag = "sjis-%s-%s%s" % (old, new, "-families" if with_families else "")
            listinfo = os.path.join(args.work, tag + ".listinfo.txt")
            write_listinfo(listinfo, list(new_games), families if with_families else {}, manufacturers,
                           descriptions if with_families else None)
            queries = [z + b"\t" + new_games[z][0] for z in added]
            answers = run_propose(args.propose, listinfo, lists[new], queries, args.work, tag)
            label = "%s -> %s readings%s" % (old, new, " (catalogue)" if with_families else "")
            measure = Measure(label, codec)
            for z in added:
                measure.add(z, new_games[z][1], answers[z][1], reading_error,
                            "series number never shown" if z in unseen else None)
            measure.report(args.examples if with_families else 0)
            if with_families:
                right = sum(1 for z in unseen if answers[z][1] == new_games[z][1])
                print("      (%d of the %d games hold a series number that neither the rest of the list nor the"
                      " title shows; %d of those proposed right)" % (len(unseen), len(added), right))
            summary.append(measure)
    return summary


def utf8_clones(args, machines):
    print("UTF-8 list, leave-out over the clones of MAME 0.251 in batches of %d (seed %d)" % (BATCH, SEED))
    namelist = os.path.join(args.real, "namelists", UTF8_LIST)
    games, codec = read_list(namelist)
    clones = sorted(n.encode() for n, (cloneof, _) in machines.items() if cloneof and n.encode() in games)
    random.Random(SEED).shuffle(clones)
    batches = [clones[i:i + BATCH] for i in range(0, len(clones), BATCH)]
    if args.batches:
        batches = batches[:args.batches]
    titles = Measure("clone titles", codec)
    readings = Measure("clone readings", codec)
    for number, batch in enumerate(batches):
        answers = run_propose(args.propose, args.listxml, namelist, batch, args.work, "utf8-batch")
        for z in batch:
            titles.add(z, games[z][0], answers[z][0], title_error)
            readings.add(z, games[z][1], answers[z][1], reading_error)
        print("    batch %d of %d done" % (number + 1, len(batches)), file=sys.stderr)
    print("  (%d clones in %d batches)" % (sum(map(len, batches)), len(batches)))
    titles.report(args.examples)
    readings.report(args.examples)
    return [titles, readings]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--propose", required=True)
    parser.add_argument("--real", required=True)
    parser.add_argument("--listxml", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--batches", type=int, default=0)
    parser.add_argument("--examples", type=int, default=12)
    parser.add_argument("--only", choices=["sjis", "utf8"], default=None)
    args = parser.parse_args()
    machines = read_machines(args.listxml, os.path.join(args.work, "mame0251-machines.tsv"))
    measures = []
    if args.only in (None, "sjis"):
        measures += sjis_upgrades(args, machines)
        print()
    if args.only in (None, "utf8"):
        measures += utf8_clones(args, machines)
        print()
    print("Summary (targets: Shift-JIS readings >= 85 %, UTF-8 clone titles >= 90 %, readings >= 70 %)")
    for m in measures:
        print("  %-44s right %5.1f %%  proposed %5.1f %%  precision %5.1f %%" % (
            m.name, 100.0 * m.right / m.total, 100.0 * m.proposed / m.total,
            100.0 * m.right / m.proposed if m.proposed else 0.0))


if __name__ == "__main__":
    main()

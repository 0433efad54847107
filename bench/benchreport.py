# SPDX-License-Identifier: MIT
"""What the side-by-side latency runners (run_ibus_bench.py, run_fcitx5_bench.py) share: the CIN
table they convert for the peer engine, the memory of a process as private and proportional
(PSS) memory without its mapped fonts, and the table of figures over the rounds."""

import statistics


class CinTable:
    """What the benchmark needs of a CIN table: its properties, key names and codes."""

    def __init__(self, path):
        self.properties = {}
        self.keynames = {}
        self.chardef = {}
        section = None
        with open(path, encoding="utf-8") as f:
            for raw in f:
                line = raw.strip("\r\n").lstrip("\ufeff")
                key, _, value = line.replace("\t", " ").partition(" ")
                value = value.strip(" ")
                if key in ("%keyname", "%chardef") and value in ("begin", "end"):
                    section = key if value == "begin" else None
                elif section == "%keyname" and key and value:
                    self.keynames[key.lower()] = value
                elif section == "%chardef" and key and value:
                    self.chardef.setdefault(key.lower(), []).append(value)
                elif section is None and key.startswith("%") and not line.startswith("#"):
                    self.properties[key[1:].lower()] = value


# -- memory ---------------------------------------------------------------------------------------
FONT_SUFFIXES = (".ttf", ".otf", ".ttc", ".otc", ".pcf", ".pcf.gz", ".woff", ".woff2")


def is_font_file(path):
    """Font files and fontconfig's caches of them: mapped alike by every program that draws
    text."""
    return (path.lower().endswith(FONT_SUFFIXES) or path.startswith("/usr/share/fonts/")
            or path.startswith("/var/cache/fontconfig/")
            or ("/fontconfig/" in path and ".cache-" in path))


def smaps_kib(lines):
    """Sums the kB fields of smaps lines by name."""
    sums = {}
    for line in lines:
        field, _, rest = line.partition(":")
        words = rest.split()
        if len(words) == 2 and words[1] == "kB":
            sums[field] = sums.get(field, 0) + int(words[0])
    return sums


def memory_mib(pid):
    """Private and proportional memory of a process from /proc/PID/smaps_rollup, without its
    mapped font files, whose share is given apart (from /proc/PID/smaps). Pages of a mapped
    library count as private only while no other process maps it, so these move with what else
    runs; anonymous memory (the heap) does not."""
    with open("/proc/%d/smaps_rollup" % pid, encoding="utf-8") as f:
        total = smaps_kib(f.read().splitlines()[1:])
    fonts = {}
    with open("/proc/%d/smaps" % pid, encoding="utf-8") as f:
        mapping = []
        font = False
        for line in f.read().splitlines() + ["0-0 end"]:
            head = line.split()
            if head and "-" in head[0] and ":" not in head[0]:
                if font:
                    for field, kib in smaps_kib(mapping).items():
                        fonts[field] = fonts.get(field, 0) + kib
                font = len(head) >= 6 and is_font_file(" ".join(head[5:]))
                mapping = []
            else:
                mapping.append(line)

    def private(sums):
        return sums.get("Private_Clean", 0) + sums.get("Private_Dirty", 0)

    return {"private_MiB": (private(total) - private(fonts)) / 1024.0,
            "pss_MiB": (total.get("Pss", 0) - fonts.get("Pss", 0)) / 1024.0,
            "fonts_pss_MiB": fonts.get("Pss", 0) / 1024.0,
            "anonymous_MiB": total.get("Anonymous", 0) / 1024.0,
            "rss_MiB": total.get("Rss", 0) / 1024.0}


# -- the side-by-side table -----------------------------------------------------------------------
# A ratio to the floor: (benchmark, counter) over the pass-through key's median of the same run.
FLOOR = ("BM_PassThrough", "median_ms")


def counter_of_report(report, benchmark, name):
    """A figure of one round's report. `benchmark` is a Google Benchmark name, "context" (the
    run's context), "floor" (`name` is a (benchmark, counter) read against the floor), a tuple
    of sections whose `name` figures add up, or a section the runner added to the report."""
    if benchmark == "context":
        return report.get("context", {}).get(name, [None])[0]
    if benchmark == "floor":
        value = counter_of_report(report, *name)
        floor = counter_of_report(report, *FLOOR)
        return None if value is None or not floor else value / floor
    if isinstance(benchmark, tuple):
        parts = [counter_of_report(report, part, name) for part in benchmark]
        return None if None in parts else sum(parts)
    if isinstance(report.get(benchmark), dict):
        return report[benchmark].get(name)
    for entry in report.get("benchmarks", []):
        if entry.get("name", "").split("/")[0] == benchmark:
            if entry.get("error_occurred"):
                return None
            return entry.get(name)
    return None


def counter(reports, benchmark, name):
    """The median of a counter over the rounds of one engine."""
    values = [counter_of_report(report, benchmark, name) for report in reports]
    return None if None in values else statistics.median(values)


def summarise(reports, labels, rows, targets):
    """Prints the figures side by side (medians over the rounds) with the ratio of the first
    engine to the second. `reports` holds one list of round reports per engine; `rows` holds
    (title, benchmark, counter, target name) and `targets` the limits by target name."""
    header = "%-44s" % "" + "".join("%14s" % label for label in labels) + "%10s  %s" % (
        "ratio", "target")
    print("\n" + header + "\n" + "-" * len(header))
    summary = {}
    for title, benchmark, name, target in rows:
        values = [counter(report, benchmark, name) for report in reports]
        cells = "".join("%14s" % ("—" if v is None else "%.3f" % v) for v in values)
        ratio = (values[0] / values[1]
                 if len(values) == 2 and None not in values and values[1] else None)
        limit = targets.get(target) if target else None
        verdict = ""
        if limit is not None and values[0] is not None:
            verdict = "≤ %g %s" % (limit, "met" if values[0] <= limit else "MISSED")
        print("%-44s%s%10s  %s" % (title, cells, "" if ratio is None else "%.3f" % ratio,
                                   verdict))
        rounds = {label: [counter_of_report(r, benchmark, name) for r in engine_reports]
                  for label, engine_reports in zip(labels, reports)}
        summary[title] = {"values": dict(zip(labels, values)), "rounds": rounds,
                          "ratio": ratio, "target": limit}
    return summary

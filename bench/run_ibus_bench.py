# SPDX-License-Identifier: MIT
"""Key latency, start-up time and memory of the input method through a real IBus daemon, side by
side with ibus-table loaded with the same table. Each engine gets a fresh private desktop (Xvfb,
session bus, ibus-daemon and the IBus panel) in each round, so start-up is measured from a cold
engine; the engines take turns, and the table shows the medians over the rounds.

Latencies are also read against the floor measured in the same run: the same client's round trip
for a key the engine passes through, which is what the daemon and the bus cost any key. Memory
is private and proportional (PSS) memory of the engine and of the IBus panel (which draws
ibus-table's candidates); mapped font files are shared with every program that draws CJK text and
are shown apart, not counted as the engine's.

    /usr/bin/python3 bench/run_ibus_bench.py --build build-bench [--keys 1000] [--rounds 3]

Needs the built bundle and bench/ibus_latency_bench (target ibus_latency_bench); installs
ibus-table with apt-get when it is missing."""

import argparse
import contextlib
import json
import multiprocessing
import os
import random
import shlex
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

from kvdesktop import PrivateDesktop, install_component, pump  # noqa: E402

sys.path.insert(0, HERE)
from benchreport import CinTable, memory_mib, summarise  # noqa: E402

TABLE_ENGINE = "/usr/libexec/ibus-engine-table"
TABLE_CREATEDB = "/usr/bin/ibus-table-createdb"
IBUS_PANEL = "/usr/libexec/ibus-ui-gtk3"
# The engine's own name, and the name ibus-table gives the converted table.
KV_ENGINE = "cqinputkv"
TABLE_NAME = "cqinputkv"

TARGETS = {"median_ms": 1.0, "p99_ms": 4.0, "start_to_ready_ms": 250.0, "rss_mib": 40.0}


# -- the table, written in ibus-table's source format --------------------------------------------
def write_table_source(table, path):
    """Writes `table` as an ibus-table source: the candidates of a code in file order (falling
    frequencies), the same selection keys, nothing learnt from typing, so both engines list the
    same candidates first for the same code. ibus-table's own default stays on: it lists the
    longer codes that begin with the typed keys after those of the code itself (without it, a
    code whose first keys are no code of their own finds nothing)."""
    selkeys = table.properties.get("selkey", "1234567890")
    longest = max(len(code) for code in table.chardef)
    lines = [
        "SCIM_Generic_Table_Phrase_Library_TEXT",
        "VERSION_1_0",
        "BEGIN_DEFINITION",
        "NAME = " + table.properties.get("ename", TABLE_NAME),
        "NAME.zh_tw = " + table.properties.get("cname", TABLE_NAME),
        "DESCRIPTION = The input method's shipped table, for comparison",
        "LANGUAGES = zh_TW",
        "LAYOUT = us",
        "SERIAL_NUMBER = 1",
        "VALID_INPUT_CHARS = " + "".join(sorted(table.keynames)),
        "MAX_KEY_LENGTH = %d" % longest,
        "SELECT_KEYS = " + ",".join(selkeys),
        "COMMIT_KEYS = space",
        "LANGUAGE_FILTER = cm4",
        "USER_CAN_DEFINE_PHRASE = FALSE",
        "PINYIN_MODE = FALSE",
        "SUGGESTION_MODE = FALSE",
        "DYNAMIC_ADJUST = FALSE",
        "AUTO_SELECT = FALSE",
        "AUTO_COMMIT = FALSE",
        "AUTO_WILDCARD = TRUE",
        "DEF_FULL_WIDTH_PUNCT = FALSE",
        "DEF_FULL_WIDTH_LETTER = FALSE",
        "ALWAYS_SHOW_LOOKUP = TRUE",
        "BEGIN_CHAR_PROMPTS_DEFINITION",
    ]
    lines += ["%s %s" % (key, label) for key, label in sorted(table.keynames.items())]
    lines += ["END_CHAR_PROMPTS_DEFINITION", "END_DEFINITION", "BEGIN_TABLE"]
    for code in sorted(table.chardef):
        candidates = table.chardef[code]
        lines += ["%s\t%s\t%d" % (code, phrase, 1000 - i) for i, phrase in enumerate(candidates)]
    lines.append("END_TABLE")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def build_table_db(source, db):
    subprocess.run([TABLE_CREATEDB, "-n", db, "-s", source], check=True,
                   stdout=subprocess.DEVNULL)


def table_candidates(connection, code):
    """The candidates ibus-table lists for `code`, in its order (frequency, then file order)."""
    rows = connection.execute(
        "SELECT phrase FROM phrases WHERE tabkeys = ? ORDER BY freq DESC, id", (code,))
    return [row[0] for row in rows]


def pick_codes(table, db, count, select_index, seed=20261207):
    """`count` codes (fixed seed) whose list holds at least two distinct candidates and that both
    engines list alike, with the candidate the selection key commits; so both engines get the
    same keys and commit the same text."""
    usable = sorted(code for code, candidates in table.chardef.items()
                    if len(candidates) > select_index and len(set(candidates)) == len(candidates))
    chosen = []
    with contextlib.closing(sqlite3.connect(db)) as connection:
        for code in random.Random(seed).sample(usable, len(usable)):
            if table_candidates(connection, code) == table.chardef[code]:
                chosen.append((code, table.chardef[code][select_index]))
            if len(chosen) == count:
                break
    return chosen


# -- ibus-table on the private daemon ------------------------------------------------------------
def ensure_ibus_table():
    if os.path.exists(TABLE_ENGINE) and os.path.exists(TABLE_CREATEDB):
        return
    if os.geteuid() != 0:
        sys.exit("ibus-table is missing: apt-get install ibus-table (as root)")
    print("ibus-table is missing: installing it with apt-get", flush=True)
    subprocess.run(["apt-get", "install", "-y", "--no-install-recommends", "ibus-table"],
                   check=True)


def write_table_component(folder, db):
    """A component that runs ibus-table's engine on `db`. ibus-table's engine claims the bus name
    of its system component, so the private component path leaves the system folder out (the
    system component would otherwise be a second component of that name)."""
    component = ET.Element("component")
    for tag, text in (("name", "org.freedesktop.IBus.Table"),
                      ("description", "ibus-table on the input method's table"),
                      ("exec", "%s --ibus --table %s" % (TABLE_ENGINE, shlex.quote(db))),
                      ("version", "1"), ("author", "ibus-table"), ("license", "LGPL"),
                      ("textdomain", "ibus-table")):
        ET.SubElement(component, tag).text = text
    engine = ET.SubElement(ET.SubElement(component, "engines"), "engine")
    for tag, text in (("name", "table:" + TABLE_NAME), ("longname", "ibus-table " + TABLE_NAME),
                      ("language", "zh_TW"), ("license", "LGPL"), ("author", "ibus-table"),
                      ("layout", "us"), ("rank", "0")):
        ET.SubElement(engine, tag).text = text
    ET.ElementTree(component).write(os.path.join(folder, "ibus-table-bench.xml"),
                                    encoding="utf-8", xml_declaration=True)


def component_folder(work, bundle, db):
    """Both engines, and the keyboard layouts the IBus panel starts with."""
    folder = os.path.join(work, "components")
    os.makedirs(folder)
    install_component(bundle, folder)
    write_table_component(folder, db)
    os.symlink("/usr/share/ibus/component/simple.xml", os.path.join(folder, "simple.xml"))
    return folder


# -- one engine on a fresh desktop ---------------------------------------------------------------
class Engine:
    def __init__(self, label, name, process, show_candidates_key):
        self.label = label
        self.name = name
        self.process = process
        self.show_candidates_key = show_candidates_key


def start_panel(desktop, log):
    """The IBus panel draws ibus-table's candidates; it selects its first keyboard layout when it
    starts, which must be over before an engine is timed. Returns its process id."""
    panel = desktop.spawn([IBUS_PANEL], stdout=log, stderr=subprocess.STDOUT)
    bus = desktop.bus()

    def settled():
        engine = bus.get_global_engine()
        return bus.name_has_owner("org.freedesktop.IBus.Panel") and engine is not None

    if not pump(settled, timeout=15):
        raise RuntimeError("the IBus panel did not start")
    pump(timeout=0.5)
    return panel.pid


def find_process(fragment):
    """The process id of the process whose command line holds `fragment`, other than this."""
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open("/proc/%s/cmdline" % entry, "rb") as f:
                command = f.read().replace(b"\0", b" ").decode("utf-8", "replace")
        except OSError:
            continue
        if fragment in command and "ibus_latency_bench" not in command:
            return int(entry)
    return None


def add_memory(result_file, engine_pid, panel_pid):
    with open(result_file, encoding="utf-8") as f:
        report = json.load(f)
    report["engine_memory"] = memory_mib(engine_pid) if engine_pid else {}
    report["ibus_panel"] = memory_mib(panel_pid)
    with open(result_file, "w", encoding="utf-8") as f:
        json.dump(report, f, indent=2)


def visible_named_windows():
    """Names and sizes of the mapped windows that have a name (the root window has none)."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."],
                           capture_output=True, text=True, check=False)
    windows = []
    for window in found.stdout.split():
        name = subprocess.run(["xdotool", "getwindowname", window], capture_output=True,
                              text=True, check=False).stdout.strip()
        size = subprocess.run(["xdotool", "getwindowgeometry", window], capture_output=True,
                              text=True, check=False).stdout.split()[-1:]
        windows.append("%s %s" % (name, "".join(size)))
    return windows


def check_panel(desktop, engine, code, out):
    """Types one code up to its candidate list on a second client and takes a picture: evidence
    that the candidates were on screen in this desktop. Returns the windows shown and the path."""
    client = desktop.client()
    client.focus_in()
    client.cursor_at(200, 300)
    client.type(code + ("{space}" if engine.show_candidates_key == "space" else ""), settle=0.5)
    shown = visible_named_windows()
    picture = desktop.screenshot(os.path.join(out, engine.label + "-panel.png"))
    client.type("{Escape}")
    client.destroy()
    return shown, picture


def result_path(out, engine, round_number):
    return os.path.join(out, "%s-%d.json" % (engine.label, round_number))


def run_engine(engine, round_number, args, components, codes_file, codes, out):
    """Runs the benchmark program for `engine` on a fresh desktop; its JSON goes to
    result_path()."""
    result_file = result_path(out, engine, round_number)
    command = [args.binary, "--codes=" + codes_file, "--engine=" + engine.name,
               "--engine_process=" + engine.process,
               "--show_candidates_key=" + engine.show_candidates_key,
               "--select_key=" + args.select_key, "--keys=%d" % args.keys,
               "--benchmark_out=" + result_file, "--benchmark_out_format=json"]
    with PrivateDesktop(environment={"IBUS_COMPONENT_PATH": components}) as desktop, \
            open(os.path.join(out, engine.label + "-ibus-panel.log"), "wb") as panel_log:
        panel = start_panel(desktop, panel_log)
        print("\n$ IBUS_ADDRESS=%s %s" % (os.environ["IBUS_ADDRESS"], shlex.join(command)),
              flush=True)
        subprocess.run(command, check=True)
        add_memory(result_file, find_process(engine.process), panel)
        shown, picture = check_panel(desktop, engine, codes[0][0], out)
    print("%s: candidates of %s shown in %s; %s" % (engine.label, codes[0][0],
                                                    ", ".join(shown) or "no window", picture))


def run_engine_apart(*arguments):
    """run_engine in a process of its own: libibus keeps one bus object per process, which does
    not follow a second or third private daemon."""
    child = multiprocessing.get_context("spawn").Process(target=run_engine, args=arguments)
    child.start()
    child.join()
    if child.exitcode != 0:
        sys.exit("the run of %s failed" % arguments[0].label)
    engine, round_number, _args, _components, _codes_file, _codes, out = arguments
    with open(result_path(out, engine, round_number), encoding="utf-8") as f:
        return json.load(f)


# -- the side-by-side table ----------------------------------------------------------------------
ROWS = (
    ("floor: key passed through, median (ms)", "BM_PassThrough", "median_ms", None),
    ("floor: key passed through, p99 (ms)", "BM_PassThrough", "p99_ms", None),
    ("key → preedit, median (ms)", "BM_KeyToPreedit", "median_ms", "median_ms"),
    ("key → preedit, p90 (ms)", "BM_KeyToPreedit", "p90_ms", None),
    ("key → preedit, p99 (ms)", "BM_KeyToPreedit", "p99_ms", "p99_ms"),
    ("key → preedit, median ÷ floor", "floor", ("BM_KeyToPreedit", "median_ms"), None),
    ("key → commit, median (ms)", "BM_KeyToCommit", "median_ms", "median_ms"),
    ("key → commit, p90 (ms)", "BM_KeyToCommit", "p90_ms", None),
    ("key → commit, p99 (ms)", "BM_KeyToCommit", "p99_ms", "p99_ms"),
    ("key → commit, median ÷ floor", "floor", ("BM_KeyToCommit", "median_ms"), None),
    ("start to ready (ms)", "BM_StartToReady", "start_to_ready_ms", "start_to_ready_ms"),
    ("  of which set_global_engine (ms)", "BM_StartToReady", "select_ms", None),
    ("engine, private memory (MiB)", "engine_memory", "private_MiB", None),
    ("engine, PSS (MiB)", "engine_memory", "pss_MiB", None),
    ("  mapped fonts, PSS, not counted (MiB)", "engine_memory", "fonts_pss_MiB", None),
    ("IBus panel, private memory (MiB)", "ibus_panel", "private_MiB", None),
    ("IBus panel, PSS (MiB)", "ibus_panel", "pss_MiB", None),
    ("engine + panel, PSS (MiB)", ("engine_memory", "ibus_panel"), "pss_MiB", None),
    ("engine resident, fonts too (MiB)", "BM_EngineMemory", "rss_MiB", "rss_mib"),
    ("engine peak resident (MiB)", "BM_EngineMemory", "peak_rss_MiB", None),
    ("wrong commits", "BM_KeyToCommit", "wrong_commits", None),
    ("load average when the run began", "context", "load_avg", None),
)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build-bench", help="the build folder")
    parser.add_argument("--out", help="where the JSON and pictures go (default BUILD/ibus-bench)")
    parser.add_argument("--keys", type=int, default=1000, help="timed keys per measurement")
    parser.add_argument("--rounds", type=int, default=3,
                        help="fresh desktops per engine, taken in turns; the table shows medians")
    parser.add_argument("--select-key", default="2", help="the selection key that commits")
    parser.add_argument("--table", default=os.path.join(ROOT, "resources", "CQInput-KV.cin"))
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    bundle = os.path.join(build, "CQInputKV.app")
    args.binary = os.path.join(build, "bench", "ibus_latency_bench")
    out = os.path.abspath(args.out or os.path.join(build, "ibus-bench"))
    for needed in (bundle, args.binary):
        if not os.path.exists(needed):
            sys.exit("missing %s: cmake --build %s --target kv_bundle ibus_latency_bench"
                     % (needed, args.build))
    if not args.select_key.isdigit() or len(args.select_key) != 1:
        sys.exit("the selection key is one digit")
    if args.rounds < 1 or args.keys < 1:
        sys.exit("at least one round and one key")
    ensure_ibus_table()
    os.makedirs(out, exist_ok=True)

    work = tempfile.mkdtemp(prefix="kv-ibus-bench-")
    try:
        table = CinTable(args.table)
        source = os.path.join(work, TABLE_NAME + ".txt")
        db = os.path.join(work, TABLE_NAME + ".db")
        write_table_source(table, source)
        started = time.monotonic()
        build_table_db(source, db)
        print("ibus-table-createdb: %d codes in %.1f s" % (len(table.chardef),
                                                          time.monotonic() - started))
        select_index = (int(args.select_key) + 9) % 10
        codes = pick_codes(table, db, args.keys, select_index)
        codes_file = os.path.join(work, "codes.txt")
        with open(codes_file, "w", encoding="utf-8") as f:
            f.writelines("%s\t%s\n" % pair for pair in codes)
        components = component_folder(work, bundle, db)
        engines = (
            Engine("CQInputKV", KV_ENGINE, os.path.join(bundle, "Contents", "MacOS", "CQInputKV"),
                   "space"),
            Engine("ibus-table", "table:" + TABLE_NAME, db, "none"),
        )
        # In turns, so that the load of a shared machine weighs on both engines alike.
        reports = [[] for _ in engines]
        for round_number in range(1, args.rounds + 1):
            for engine, engine_reports in zip(engines, reports):
                engine_reports.append(run_engine_apart(engine, round_number, args, components,
                                                       codes_file, codes, out))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    summary = summarise(reports, [engine.label for engine in engines], ROWS, TARGETS)
    with open(os.path.join(out, "summary.json"), "w", encoding="utf-8") as f:
        json.dump(summary, f, ensure_ascii=False, indent=2)
    print("\nJSON: %s/{CQInputKV-N,ibus-table-N,summary}.json (N: round)" % out)


if __name__ == "__main__":
    main()

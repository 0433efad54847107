# SPDX-License-Identifier: MIT
"""Key latency, start-up time and memory of the input method on a real fcitx5, side by side with
fcitx5-table loaded with the same table. Each input method gets a fresh private fcitx5 (Xvfb, a
session bus, a temporary home and profile with keyboard-us and that input method) in each round,
so start-up is measured from an addon not yet loaded; the input methods take turns, and the
table shows the medians over the rounds.

Latencies are also read against the floor measured in the same run: the same client's round trip
for a key passed through by keyboard-us, which is what fcitx5 and the bus cost any key. Addons
live inside fcitx5, so an input method's memory is what fcitx5's private and proportional (PSS)
memory gained from keyboard-us alone to the input method loaded and used (the candidate list
fcitx5 draws for it included); mapped font files are shared with every program that draws CJK
text and are shown apart, not counted. A library's pages count as private only while no other
process maps it, so private and PSS move with what else runs (other fcitx5s on the machine);
the heap (anonymous memory) is the steady part. Processes started beside fcitx5 are counted
too.

    /usr/bin/python3 bench/run_fcitx5_bench.py --build build-bench [--keys 1000] [--rounds 3]

Needs bench/fcitx5_latency_bench (target fcitx5_latency_bench) and, for the input method's own
column, the bundle with its fcitx5 addon (targets kv_bundle and the addon); installs
fcitx5-table and libime-bin (for libime_tabledict) with apt-get when they are missing."""

import argparse
import json
import multiprocessing
import os
import random
import shlex
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, HERE)

from benchreport import CinTable, memory_mib, summarise  # noqa: E402
from kvfcitx import (CAP_FORMATTED_PREEDIT, CAP_PREEDIT, PrivateFcitx,  # noqa: E402
                     install_addon)

TABLE_ADDON = "/usr/lib/x86_64-linux-gnu/fcitx5/libtable.so"
TABLEDICT = "/usr/bin/libime_tabledict"
# The input method's own name, and the name of fcitx5-table's input method on the converted
# table.
KV_IM = "cqinputkv"
TABLE_IM = "cqinputkv-table"
KV_LIBRARY = "cqinputkv-fcitx5"

TARGETS = {"median_ms": 1.0, "p99_ms": 4.0, "start_to_ready_ms": 250.0}


# -- the table, converted for fcitx5-table ------------------------------------------------------
def write_table_source(table, path):
    """Writes `table` as libime's table source: the candidates of a code together, in file
    order, so both input methods list the same candidates first for the same code."""
    lines = ["KeyCode=" + "".join(sorted(table.keynames)),
             "Length=%d" % max(len(code) for code in table.chardef), "[Data]"]
    for code in sorted(table.chardef):
        lines += ["%s %s" % (code, phrase) for phrase in table.chardef[code]]
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def build_table_dict(source, dictionary):
    subprocess.run([TABLEDICT, source, dictionary], check=True, stdout=subprocess.DEVNULL)


def table_description(dictionary, page_size):
    """fcitx5-table's input method on `dictionary`, set as the input method behaves: a page of
    `page_size` candidates in the table's order, nothing learnt or reordered from typing or a
    language model, nothing committed without a selection. fcitx5-table's own default stays on:
    it lists the longer codes that begin with the typed keys after those of the code itself."""
    return "\n".join([
        "[InputMethod]", "Name=CQInput-KV (fcitx5-table)", "LangCode=zh_TW", "Addon=table",
        "Label=倉", "", "[Table]", "File=" + dictionary, "PageSize=%d" % page_size,
        "OrderPolicy=No", "Learning=False", "UseSystemLanguageModel=False",
        "UseContextRelatedOrder=False", "AutoSelect=False", "AutoSelectLength=0",
        "NoMatchAutoSelectLength=0", "CommitAfterSelect=True", "UseFullWidth=False",
        "Hint=False", "ExactMatch=False", ""])


def pick_codes(table, count, select_index, seed=20261207):
    """`count` codes (fixed seed) whose list holds at least two distinct candidates, with the
    candidate the selection key commits; so both input methods get the same keys and commit the
    same text. libime keeps one of two equal candidates of a code, hence distinct ones only."""
    usable = sorted(code for code, candidates in table.chardef.items()
                    if len(candidates) > select_index and len(set(candidates)) == len(candidates))
    chosen = random.Random(seed).sample(usable, min(count, len(usable)))
    return [(code, table.chardef[code][select_index]) for code in chosen]


def ensure_packages():
    if os.path.exists(TABLE_ADDON) and os.path.exists(TABLEDICT):
        return
    if os.geteuid() != 0:
        sys.exit("fcitx5-table or libime-bin is missing: apt-get install fcitx5-table libime-bin"
                 " (as root)")
    print("fcitx5-table or libime-bin is missing: installing them with apt-get", flush=True)
    subprocess.run(["apt-get", "install", "-y", "--no-install-recommends", "fcitx5-table",
                    "libime-bin"], check=True)


# -- one input method on a fresh fcitx5 -----------------------------------------------------------
class Engine:
    """An input method: the bundle whose addon holds it, or the description of a table."""

    def __init__(self, label, name, library, show_candidates_key, bundle=None,
                 description=None):
        self.label = label
        self.name = name
        self.library = library
        self.show_candidates_key = show_candidates_key
        self.bundle = bundle
        self.description = description

    def install(self):
        """Writes the input method's descriptions into $XDG_DATA_HOME/fcitx5, before fcitx5
        starts."""
        if self.bundle:
            install_addon(self.bundle)
        if self.description:
            write_description("inputmethod", self.name, self.description)


def write_description(kind, name, text):
    folder = os.path.join(os.environ["XDG_DATA_HOME"], "fcitx5", kind)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name + ".conf"), "w", encoding="utf-8") as f:
        f.write(text)


def warm_up(desktop):
    """A text field typed into with keyboard-us alone, so that fcitx5's memory before the input
    method already holds what any typing costs (its frontend, a context, the key path)."""
    client = desktop.client(capabilities=CAP_PREEDIT | CAP_FORMATTED_PREEDIT)
    client.focus_in()
    client.cursor_at(200, 300)
    client.type("hello")
    client.destroy()


def settled_memory(pid, timeout=5.0):
    """The process's memory once its heap stopped moving (fcitx5 finishes some of its start-up
    after it owns its name), or after `timeout`."""
    deadline = time.monotonic() + timeout
    memory = memory_mib(pid)
    while time.monotonic() < deadline:
        time.sleep(0.25)
        previous, memory = memory, memory_mib(pid)
        if memory["anonymous_MiB"] == previous["anonymous_MiB"]:
            break
    return memory


def processes_beside(fcitx_pid, bundle):
    """Processes fcitx5 started, or run from a program in the bundle (a companion the addon
    asked the session bus to start): (pid, command line) pairs."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry, encoding="utf-8") as f:
                parent = int(f.read().rpartition(")")[2].split()[1])
            with open("/proc/%s/cmdline" % entry, "rb") as f:
                arguments = f.read().decode("utf-8", "replace").split("\0")
        except (OSError, ValueError, IndexError):
            continue
        if parent == fcitx_pid or arguments[0].startswith(bundle + os.sep):
            found.append((int(entry), " ".join(arguments).strip()))
    return found


def add_memory(result_file, before, after, beside):
    with open(result_file, encoding="utf-8") as f:
        report = json.load(f)
    report["fcitx5_keyboard_only"] = before
    report["fcitx5_with_input_method"] = after
    report["input_method_share"] = {name: after[name] - before[name] for name in after}
    memories = [memory_mib(pid) for pid, _command in beside]
    report["beside"] = {"processes": len(beside), "commands": [c for _pid, c in beside],
                        "pss_MiB": sum(m["pss_MiB"] for m in memories),
                        "private_MiB": sum(m["private_MiB"] for m in memories)}
    with open(result_file, "w", encoding="utf-8") as f:
        json.dump(report, f, indent=2)


def check_panel(desktop, engine, code, out):
    """Types one code up to its candidate list on a second context and takes a picture: evidence
    that fcitx5 drew the candidates in this desktop. Returns the picture's path."""
    client = desktop.client(capabilities=CAP_PREEDIT | CAP_FORMATTED_PREEDIT)
    client.focus_in()
    client.cursor_at(200, 300)
    desktop.select_input_method(engine.name)
    client.type(list(code) + (["space"] if engine.show_candidates_key == "space" else []),
                settle=0.5)
    picture = desktop.screenshot(os.path.join(out, engine.label + "-panel.png"))
    client.type(["Escape"])
    client.destroy()
    return picture


def result_path(out, engine, round_number):
    return os.path.join(out, "%s-%d.json" % (engine.label, round_number))


def run_engine(engine, round_number, args, codes_file, codes, out):
    """Runs the benchmark program for `engine` on a fresh fcitx5; its JSON goes to
    result_path()."""
    result_file = result_path(out, engine, round_number)
    command = [args.binary, "--codes=" + codes_file, "--engine=" + engine.name,
               "--engine_library=" + engine.library, "--floor_engine=keyboard-us",
               "--show_candidates_key=" + engine.show_candidates_key,
               "--select_key=" + args.select_key, "--keys=%d" % args.keys,
               "--benchmark_out=" + result_file, "--benchmark_out_format=json"]
    with PrivateFcitx(input_methods=("keyboard-us", engine.name),
                      before_start=lambda _desktop: engine.install()) as desktop:
        fcitx = desktop.fcitx.pid
        warm_up(desktop)
        before = settled_memory(fcitx)
        print("\n$ DBUS_SESSION_BUS_ADDRESS=%s %s" % (os.environ["DBUS_SESSION_BUS_ADDRESS"],
                                                      shlex.join(command)), flush=True)
        subprocess.run(command, check=True)
        add_memory(result_file, before, settled_memory(fcitx),
                   processes_beside(fcitx, args.bundle))
        picture = check_panel(desktop, engine, codes[0][0], out)
        shutil.copy(os.path.join(desktop.folder, "fcitx5.log"),
                    os.path.join(out, "%s-%d-fcitx5.log" % (engine.label, round_number)))
    print("%s: candidates of %s on screen in %s" % (engine.label, codes[0][0], picture))


def run_engine_apart(*arguments):
    """run_engine in a process of its own: GLib keeps one session bus connection per process,
    which does not follow a second private bus."""
    child = multiprocessing.get_context("spawn").Process(target=run_engine, args=arguments)
    child.start()
    child.join()
    if child.exitcode != 0:
        sys.exit("the run of %s failed" % arguments[0].label)
    engine, round_number, _args, _codes_file, _codes, out = arguments
    with open(result_path(out, engine, round_number), encoding="utf-8") as f:
        return json.load(f)


# -- the side-by-side table ----------------------------------------------------------------------
ROWS = (
    ("floor: key through keyboard-us, median (ms)", "BM_PassThrough", "median_ms", None),
    ("floor: key through keyboard-us, p99 (ms)", "BM_PassThrough", "p99_ms", None),
    ("key → preedit, median (ms)", "BM_KeyToPreedit", "median_ms", "median_ms"),
    ("key → preedit, p90 (ms)", "BM_KeyToPreedit", "p90_ms", None),
    ("key → preedit, p99 (ms)", "BM_KeyToPreedit", "p99_ms", "p99_ms"),
    ("key → preedit, median ÷ floor", "floor", ("BM_KeyToPreedit", "median_ms"), None),
    ("  fcitx5's reply to the key, median (ms)", "BM_KeyToPreedit", "reply_median_ms", None),
    ("key → commit, median (ms)", "BM_KeyToCommit", "median_ms", "median_ms"),
    ("key → commit, p90 (ms)", "BM_KeyToCommit", "p90_ms", None),
    ("key → commit, p99 (ms)", "BM_KeyToCommit", "p99_ms", "p99_ms"),
    ("key → commit, median ÷ floor", "floor", ("BM_KeyToCommit", "median_ms"), None),
    ("  fcitx5's reply to the key, median (ms)", "BM_KeyToCommit", "reply_median_ms", None),
    ("start to ready (ms)", "BM_StartToReady", "start_to_ready_ms", "start_to_ready_ms"),
    ("  of which SetCurrentIM (ms)", "BM_StartToReady", "select_ms", None),
    ("fcitx5, keyboard-us only, private (MiB)", "fcitx5_keyboard_only", "private_MiB", None),
    ("fcitx5, keyboard-us only, PSS (MiB)", "fcitx5_keyboard_only", "pss_MiB", None),
    ("fcitx5, input method used, private (MiB)", "fcitx5_with_input_method", "private_MiB",
     None),
    ("fcitx5, input method used, PSS (MiB)", "fcitx5_with_input_method", "pss_MiB", None),
    ("input method's share, private (MiB)", "input_method_share", "private_MiB", None),
    ("input method's share, PSS (MiB)", "input_method_share", "pss_MiB", None),
    ("input method's share, heap (anonymous, MiB)", "input_method_share", "anonymous_MiB",
     None),
    ("  mapped fonts, PSS, not counted (MiB)", "fcitx5_with_input_method", "fonts_pss_MiB",
     None),
    ("processes started beside fcitx5", "beside", "processes", None),
    ("  their PSS (MiB)", "beside", "pss_MiB", None),
    ("fcitx5 resident, fonts too (MiB)", "BM_EngineMemory", "rss_MiB", None),
    ("fcitx5 peak resident (MiB)", "BM_EngineMemory", "peak_rss_MiB", None),
    ("wrong commits", "BM_KeyToCommit", "wrong_commits", None),
    ("load average when the run began", "context", "load_avg", None),
)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build-bench", help="the build folder")
    parser.add_argument("--out", help="where the JSON and pictures go (default BUILD/fcitx5-bench)")
    parser.add_argument("--keys", type=int, default=1000, help="timed keys per measurement")
    parser.add_argument("--rounds", type=int, default=3,
                        help="fresh fcitx5s per input method, taken in turns; the table shows "
                             "medians")
    parser.add_argument("--select-key", default="2", help="the selection key that commits")
    parser.add_argument("--table", default=os.path.join(ROOT, "resources", "CQInput-KV.cin"))
    parser.add_argument("--bundle", help="the bundle whose addon is measured (default "
                        "BUILD/CQInputKV.app)")
    parser.add_argument("--table-only", action="store_true",
                        help="measure fcitx5-table alone (the bundle's addon is not built)")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    args.bundle = os.path.abspath(args.bundle or os.path.join(build, "CQInputKV.app"))
    args.binary = os.path.join(build, "bench", "fcitx5_latency_bench")
    addon = os.path.join(args.bundle, "Contents", "PlugIns", KV_LIBRARY + ".so")
    out = os.path.abspath(args.out or os.path.join(build, "fcitx5-bench"))
    needed = [args.binary] + ([] if args.table_only else [addon])
    for path in needed:
        if not os.path.exists(path):
            sys.exit("missing %s: cmake --build %s --target kv_bundle fcitx5_latency_bench "
                     "(the addon needs fcitx5's development packages), or --table-only"
                     % (path, args.build))
    if not args.select_key.isdigit() or len(args.select_key) != 1:
        sys.exit("the selection key is one digit")
    if args.rounds < 1 or args.keys < 1:
        sys.exit("at least one round and one key")
    ensure_packages()
    os.makedirs(out, exist_ok=True)

    work = tempfile.mkdtemp(prefix="kv-fcitx5-bench-")
    try:
        table = CinTable(args.table)
        source = os.path.join(work, TABLE_IM + ".txt")
        dictionary = os.path.join(work, TABLE_IM + ".main.dict")
        write_table_source(table, source)
        started = time.monotonic()
        build_table_dict(source, dictionary)
        print("libime_tabledict: %d codes in %.1f s" % (len(table.chardef),
                                                       time.monotonic() - started))
        selkeys = table.properties.get("selkey", "1234567890")
        select_index = (int(args.select_key) + 9) % 10
        codes = pick_codes(table, args.keys, select_index)
        codes_file = os.path.join(work, "codes.txt")
        with open(codes_file, "w", encoding="utf-8") as f:
            f.writelines("%s\t%s\n" % pair for pair in codes)
        table_text = table_description(dictionary, len(selkeys))
        engines = [] if args.table_only else [
            Engine("CQInputKV", KV_IM, KV_LIBRARY, "space", bundle=args.bundle),
        ]
        engines.append(Engine("fcitx5-table", TABLE_IM, "libtable.so", "none",
                              description=table_text))
        # In turns, so that the load of a shared machine weighs on both input methods alike.
        reports = [[] for _ in engines]
        for round_number in range(1, args.rounds + 1):
            for engine, engine_reports in zip(engines, reports):
                engine_reports.append(run_engine_apart(engine, round_number, args, codes_file,
                                                       codes, out))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    summary = summarise(reports, [engine.label for engine in engines], ROWS, TARGETS)
    with open(os.path.join(out, "summary.json"), "w", encoding="utf-8") as f:
        json.dump(summary, f, ensure_ascii=False, indent=2)
    print("\nJSON: %s/{%s,summary}.json (N: round)"
          % (out, ",".join(engine.label + "-N" for engine in engines)))


if __name__ == "__main__":
    main()

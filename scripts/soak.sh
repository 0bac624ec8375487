#!/usr/bin/env bash
# A real soak of Morrowick.exe under Wine: the program runs for ten minutes (or the
# given number of seconds) with a task due in every minute, and its window count and
# committed private memory are printed at the start and once a minute, with a closing
# line saying whether they stayed flat. Exit code 0 when flat, 1 when they grew
# (or the program ended or reported an error), 2 when the build failed.
#
#   scripts/soak.sh [seconds]        default 600
#
# Every minute has a task: on even minutes a reminder, whose prompt the soak closes as a
# user would; on odd minutes a "关闭程序" of a program that is not running. So each minute
# the tick dispatches, pauses for its minute and comes back.
#
# Uses the win32 build in $MORROWICK_WIN32_BUILD (default build/win32; built first) and
# its own Wine prefix in $MORROWICK_WINE_ROOT (default build/wine-soak). Under Wine 8
# GetGuiResources reads 0, so the USER/GDI counts are printed as the system gives them
# and the window count of the process stands in for them; memory is the committed
# private memory summed with VirtualQueryEx (tools/mwhelper resources).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
export MORROWICK_WINE_ROOT=${MORROWICK_WINE_ROOT:-$top/build/wine-soak}
mkdir -p "$MORROWICK_WINE_ROOT"
if ! "$top/scripts/build.sh" win32 >"$MORROWICK_WINE_ROOT/build.log" 2>&1; then
  tail -n 30 "$MORROWICK_WINE_ROOT/build.log" >&2
  echo "soak.sh: the win32 build failed" >&2
  exit 2
fi
exec python3 - "$top" "$seconds" <<'EOF'
import os
import sys
import time

top, seconds = sys.argv[1], int(sys.argv[2])
sys.path.insert(0, os.path.join(top, "scripts"))
import winenv  # noqa: E402

KEY = winenv.PROGRAM_KEY


def resources(session, pid):
    out = {}
    for line in session.helper("resources", pid, check=False):
        name, _, value = line.partition("\t")
        if value.strip().lstrip("-").isdigit():
            out[name] = int(value)
    return out


def close_prompts(session, seen):
    """Reads and closes every visible prompt, as a user pressing its OK button."""
    for w in session.windows("TForm6"):
        if not w["visible"]:
            continue
        for line in session.helper("children", w["hwnd"], check=False):
            f = line.split("\t")
            if len(f) > 3 and f[1] == "Static":
                seen.append(f[3])
        session.helper("click", w["hwnd"], "确定", check=False)


def main():
    minutes = seconds // 60
    session = winenv.WineSession().start()
    try:
        # One task in each minute from the one of the first tick on.
        first = time.time() + 11
        if time.localtime(first).tm_sec >= 50:
            time.sleep(61 - time.localtime(first).tm_sec)
            first = time.time() + 11
        tasks = []
        for n in range(minutes + 2):
            t = time.localtime(first + 60 * n)
            schedule = "每天%d时%d分" % (t.tm_hour, t.tm_min)
            if t.tm_min % 2 == 0:
                tasks.append((schedule, "提醒", "soak %d" % n))
            else:
                tasks.append((schedule, "关闭程序", "C:\\nosuch\\nosuch-soak.exe"))
        session.seed({}, tasks)
        app = session.start_app()
        pid = session.windows("TForm1")[0]["pid"]
        start = time.time()
        seen = []
        rows = []

        def sample(label):
            r = resources(session, pid)
            rows.append(r)
            print("%-8s windows=%-4s privatecommit=%-8s KiB user=%s gdi=%s  reminders shown so far: %d"
                  % (label, r.get("windows"), r.get("privatecommit", 0) // 1024 if "privatecommit" in r else "?",
                     r.get("user"), r.get("gdi"), len(seen)), flush=True)

        sample("start")
        for m in range(1, minutes + 1):
            while time.time() < start + 60 * m:
                close_prompts(session, seen)
                time.sleep(2)
                if not app.running():
                    print("soak: the program ended", flush=True)
                    return 1
            sample("%d min" % m)
        errors = session.windows("#32770")
        app.stop()

        base, last = rows[1] if len(rows) > 2 else rows[0], rows[-1]
        windows_flat = base.get("windows") == last.get("windows")
        grown = last.get("privatecommit", 0) - base.get("privatecommit", 0)
        memory_flat = grown <= max(256 * 1024, base.get("privatecommit", 0) // 50)
        expected = (minutes + 1) // 2
        print("soak: %d reminders shown (about %d expected), %d error reports" % (len(seen), expected, len(errors)))
        print("soak: from minute 1 to minute %d the window count went %s -> %s (%s) and committed private "
              "memory %d -> %d KiB (%s)" % (minutes, base.get("windows"), last.get("windows"),
                                             "flat" if windows_flat else "GREW", base.get("privatecommit", 0) // 1024,
                                             last.get("privatecommit", 0) // 1024, "flat" if memory_flat else "GREW"))
        return 0 if windows_flat and memory_flat and not errors else 1
    finally:
        session.stop()


sys.exit(main())
EOF

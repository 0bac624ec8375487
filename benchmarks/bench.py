"""./bench: measures Morrowick and prints one table, also written to docs/benchmarks.md.

Every figure with a baseline is a ratio measured side by side in the same run."""

import os
import platform
import re
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "scripts"))
import winenv  # noqa: E402

TOP = winenv.TOP
ROWS = []


def row(what, figure, baseline="", ratio="", note=""):
    ROWS.append((what, figure, baseline, ratio, note))
    print("%-58s %-16s %-16s %-8s" % (what, figure, baseline, ratio), flush=True)


def host_tick():
    out = subprocess.run([os.path.join(TOP, "build", "bench", "tick_bench")], capture_output=True,
                         check=True).stdout.decode()
    for line in out.splitlines():
        # tick_bench prints: N due-case ns-per-slot-tick ns-per-slot-bare
        n, case, tick, bare = line.split()
        row("tick, in-memory registry, N=%s, %s (ns/slot)" % (n, case), "%.1f" % float(tick),
            "%.1f" % float(bare), "%.2f" % (float(tick) / float(bare)))


def wine_tick(session):
    out = session.run([winenv.exe("tickbench.exe")], timeout=1200)
    for line in out.splitlines():
        f = line.split()
        if len(f) != 4:
            continue
        n, case, tick, bare = f
        row("tick, Wine registry, N=%s, %s (us/tick)" % (n, case), "%.0f" % (float(tick) / 1000),
            "%.0f" % (float(bare) / 1000), "%.2f" % (float(tick) / float(bare)))


def start_to_tray(session, program, runs=5):
    session.reg_text(r"HKCU\Software\Wine\Debug", "RelayInclude", "shell32.Shell_NotifyIconA")
    times = []
    for i in range(runs + 1):
        log = os.path.join(session.root, "start.log")
        env = dict(session.env, WINEDEBUG="+timestamp,+loaddll,+relay")
        p = subprocess.Popen(["wine", program], env=env, stdout=open(log, "wb"), stderr=subprocess.STDOUT)
        t0 = time.time()
        text = ""
        while time.time() - t0 < 60 and "Call shell32.Shell_NotifyIconA" not in text:
            time.sleep(0.05)
            text = open(log, "rb").read().decode("utf-8", "replace")
        stamps = [float(m.group(1)) for m in re.finditer(r"^(\d+\.\d+):", text, re.M)]
        add = re.search(r"^(\d+\.\d+):.*Call shell32\.Shell_NotifyIconA", text, re.M)
        if i > 0 and stamps and add:  # the first start only warms the caches
            times.append(float(add.group(1)) - stamps[0])
        p.kill()
        p.wait()
        session.helper("close", "TForm1", check=False)
        session.wait_for(lambda: not session.windows("TForm1"), 10)
    return statistics.median(times)


def cpu_idle(session, seconds=60):
    session.seed({}, [("每天25时0分", "提醒", "never")])  # a task that is never due
    app = session.start_app()
    pid = app.proc.pid
    def cpu():
        with open("/proc/%d/stat" % pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    time.sleep(5)
    c0, t0 = cpu(), time.time()
    time.sleep(seconds)
    used, wall = cpu() - c0, time.time() - t0
    app.stop()
    return used, wall


def churn(session, count):
    out = session.run([winenv.exe("soakdemo.exe"), str(count)], timeout=1800)
    return dict(line.split("\t", 1) for line in out.splitlines() if "\t" in line)


def main():
    subprocess.run([os.path.join(TOP, "scripts", "setup.sh")], check=True)
    subprocess.run([os.path.join(TOP, "scripts", "build.sh"), "win32"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "-S", TOP, "-B", os.path.join(TOP, "build", "bench"), "-DCMAKE_BUILD_TYPE=Release"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", os.path.join(TOP, "build", "bench"), "-j2", "--target", "tick_bench"],
                   check=True, stdout=subprocess.DEVNULL)
    print("%-58s %-16s %-16s %-8s" % ("measure", "Morrowick", "baseline", "ratio"))
    host_tick()
    session = winenv.WineSession(root=os.path.join(TOP, "build", "wine-bench")).start()
    try:
        wine_tick(session)
        m = start_to_tray(session, winenv.exe("Morrowick.exe"))
        b = start_to_tray(session, winenv.exe("traymin.exe"))
        row("start-up to the tray icon (ms, median of 5)", "%.0f" % (m * 1000), "%.0f" % (b * 1000),
            "%.2f" % (m / b), "baseline: a minimal program adding one tray icon")
        used, wall = cpu_idle(session)
        row("CPU time over %.0f s with no task due (ms)" % wall, "%.0f" % (used * 1000), "", "",
            "user + system time of the process")
        figures = churn(session, 1000)
        for key in ("windows", "privatecommit", "user", "gdi"):
            if "start_" + key in figures:
                row("%s at start / after 1000 reminders and countdowns" % key,
                    "%s / %s" % (figures["start_" + key], figures["end_" + key]))
    finally:
        session.stop()
    size = os.path.getsize(winenv.exe("Morrowick.exe"))
    row("size of the release exe (bytes)", str(size))
    write_markdown()


def write_markdown():
    cpu = "unknown"
    try:
        with open("/proc/cpuinfo") as f:
            cpu = re.search(r"model name\s*:\s*(.*)", f.read()).group(1)
    except (OSError, AttributeError):
        pass
    wine = subprocess.run(["wine", "--version"], capture_output=True).stdout.decode().strip()
    lines = ["# Benchmarks", "",
             "Measured by `./bench` on %s (%d cores), %s, %s, on %s." % (
                 cpu, os.cpu_count(), platform.platform(), wine, time.strftime("%Y-%m-%d")), "",
             "| measure | Morrowick | baseline | ratio |", "|---|---|---|---|"]
    for what, fig, base, ratio, _ in ROWS:
        lines.append("| %s | %s | %s | %s |" % (what, fig, base, ratio))
    lines.append("")
    path = os.path.join(TOP, "docs", "benchmarks.md")
    existing = ""
    if os.path.exists(path):
        existing = open(path, encoding="utf-8").read()
    notes = existing.split("<!-- notes -->", 1)[1] if "<!-- notes -->" in existing else "\n"
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n<!-- notes -->" + notes)
    print("written to %s" % path)


if __name__ == "__main__":
    main()

"""Runs every test of the project and ends with one line: N passed, N failed.

Stages: build (host, sanitizers, win32), host unit tests, the same under ASan/UBSan,
the logic's tests built for Windows under Wine, short fuzz runs, and the Wine tests of
the real program. Pass stage names to run only those (e.g. `./test wine`); pass
`-k PATTERN` to pick Wine tests by name."""

import argparse
import os
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import winenv  # noqa: E402

TOP = winenv.TOP
OUT = os.path.join(TOP, "build", "test-results")
STAGES = ["build", "host", "asan", "win32", "fuzz", "wine"]


class Tally:
    def __init__(self):
        self.passed = 0
        self.failed = 0
        self.failures = []

    def add(self, stage, passed, failed, names=()):
        self.passed += passed
        self.failed += failed
        self.failures += ["%s: %s" % (stage, n) for n in names]


def gtest_counts(xml_path):
    tree = ET.parse(xml_path)
    passed, failed, names = 0, 0, []
    for case in tree.iter("testcase"):
        if case.get("status") == "notrun" or case.get("result") == "skipped":
            continue
        if case.find("failure") is not None:
            failed += 1
            names.append("%s.%s" % (case.get("classname"), case.get("name")))
        else:
            passed += 1
    return passed, failed, names


def banner(text):
    print("\n==== %s ====" % text, flush=True)


def run_gtest(tally, stage, cmd, xml_path, cwd=None, env=None, timeout=900):
    if os.path.exists(xml_path):
        os.remove(xml_path)
    t0 = time.time()
    # Output through a file, not a pipe: a Wine service started on demand by the test
    # program would inherit the pipe, keep it open and make the read hang.
    with tempfile.TemporaryFile() as log:
        p = subprocess.run(cmd, cwd=cwd, env=env, stdout=log, stderr=subprocess.STDOUT,
                           stdin=subprocess.DEVNULL, timeout=timeout)
        log.seek(0)
        out = log.read().decode("utf-8", "replace")
    if not os.path.exists(xml_path):
        print(out[-4000:])
        tally.add(stage, 0, 1, ["did not run (exit %d)" % p.returncode])
        return
    passed, failed, names = gtest_counts(xml_path)
    if failed or p.returncode != 0:
        print(out[-8000:])
        if not failed:
            failed, names = 1, ["exit code %d" % p.returncode]
    tally.add(stage, passed, failed, names)
    print("%s: %d passed, %d failed (%.1f s)" % (stage, passed, failed, time.time() - t0), flush=True)


def stage_build(tally, only):
    parts = [s for s in ("host", "asan", "win32") if s in only or (s == "win32" and "wine" in only)]
    for part in parts:
        banner("build " + part)
        p = subprocess.run([os.path.join(TOP, "scripts", "build.sh"), part], capture_output=True)
        if p.returncode != 0:
            print((p.stdout + p.stderr).decode("utf-8", "replace")[-6000:])
            tally.add("build", 0, 1, [part])
            return False
        tally.add("build", 1, 0)
        print("build %s: ok" % part, flush=True)
    return True


class WineResult(unittest.TextTestResult):
    pass


def stage_wine(tally, session, pattern):
    banner("Wine tests of Morrowick.exe")
    sys.path.insert(0, os.path.join(TOP, "tests", "wine"))
    import wine_case  # noqa: E402
    wine_case.SESSION = session
    loader = unittest.TestLoader()
    if pattern:
        loader.testNamePatterns = ["*%s*" % pattern]
    suite = loader.discover(os.path.join(TOP, "tests", "wine"), pattern="test_*.py",
                            top_level_dir=os.path.join(TOP, "tests", "wine"))
    t0 = time.time()
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout, resultclass=WineResult).run(suite)
    bad = [str(t) for t, _ in result.failures + result.errors]
    ran = result.testsRun - len(result.skipped)
    tally.add("wine", ran - len(bad), len(bad), bad)
    print("wine: %d passed, %d failed (%.1f s)" % (ran - len(bad), len(bad), time.time() - t0), flush=True)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("stages", nargs="*", default=STAGES)
    ap.add_argument("-k", dest="pattern", default=None)
    args = ap.parse_args()
    only = set(args.stages)
    os.makedirs(OUT, exist_ok=True)
    tally = Tally()
    t_start = time.time()

    ok = stage_build(tally, only | ({"host", "asan", "win32"} if "build" in only else set()))
    if ok:
        if "host" in only:
            banner("host unit tests")
            run_gtest(tally, "host", [os.path.join(TOP, "build", "host", "unit_tests"),
                                      "--gtest_output=xml:" + os.path.join(OUT, "host.xml")],
                      os.path.join(OUT, "host.xml"))
        if "asan" in only:
            banner("host unit tests under ASan and UBSan")
            env = dict(os.environ, ASAN_OPTIONS="detect_leaks=1:abort_on_error=0",
                       UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1")
            run_gtest(tally, "asan", [os.path.join(TOP, "build", "asan", "unit_tests"),
                                      "--gtest_output=xml:" + os.path.join(OUT, "asan.xml")],
                      os.path.join(OUT, "asan.xml"), env=env)
        if "fuzz" in only and os.path.exists(os.path.join(TOP, "scripts", "fuzz.sh")):
            banner("fuzz targets, short run")
            p = subprocess.run([os.path.join(TOP, "scripts", "fuzz.sh"), "short"])
            tally.add("fuzz", 1 if p.returncode == 0 else 0, 0 if p.returncode == 0 else 1,
                      [] if p.returncode == 0 else ["fuzz.sh short"])
        session = None
        try:
            if "win32" in only or "wine" in only:
                banner("Wine session")
                t0 = time.time()
                session = winenv.WineSession().start()
                print("prefix ready in %.1f s" % (time.time() - t0), flush=True)
            if "win32" in only:
                banner("logic and adapter tests built for Windows, under Wine")
                run_gtest(tally, "win32", ["wine", winenv.exe("win32_tests.exe"),
                                           "--gtest_output=xml:win32.xml"],
                          os.path.join(OUT, "win32.xml"), cwd=OUT, env=session.env)
            if "wine" in only:
                stage_wine(tally, session, args.pattern)
        except Exception as e:  # a broken Wine set-up is a failure, not a crash of the runner
            print("Wine stage failed: %r" % e)
            tally.add("wine", 0, 1, ["session: %r" % e])
        finally:
            if session is not None:
                session.stop()

    print("\nfailures:" if tally.failures else "", *tally.failures, sep="\n  ")
    print("took %.0f s" % (time.time() - t_start))
    print("%d passed, %d failed" % (tally.passed, tally.failed))
    return 0 if tally.failed == 0 and tally.passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())

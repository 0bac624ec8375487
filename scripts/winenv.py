"""A Wine session for running and driving Morrowick: one throwaway 32-bit prefix, one
Xvfb display (unless told to use the current one), one shell desktop with a taskbar.

Used by ./run, the Wine tests and the benchmarks."""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Another build or Wine folder can be named, so that several people can test side by side.
WIN32_BUILD = os.environ.get("MORROWICK_WIN32_BUILD") or os.path.join(TOP, "build", "win32")
PROGRAM_KEY = r"HKLM\Software\Quorvane\Morrowick"
RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
DESKTOP = "1000x700"


def exe(name):
    return os.path.join(WIN32_BUILD, name)


class App:
    """One started Morrowick process."""

    def __init__(self, session, proc, log_path):
        self.session = session
        self.proc = proc
        self.log_path = log_path

    def running(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout=15):
        try:
            self.proc.wait(timeout=timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    def log(self):
        with open(self.log_path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def calls(self, name=None):
        """Relay-traced calls as (function, [args]) in order, e.g. ('user32.ExitWindowsEx', ['0000000c', '00000000'])."""
        out = []
        for m in re.finditer(r"Call ([\w]+\.[\w]+)\(([^)]*)\)", self.log()):
            fn = m.group(1)
            if name is None or fn == name or fn.endswith("." + name):
                out.append((fn, [a.strip() for a in m.group(2).split(",")] if m.group(2) else []))
        return out

    def stop(self):
        if self.running():
            self.session.helper("close", "TForm1", check=False)
            if not self.wait_exit(8):
                self.proc.kill()
                self.proc.wait()


class WineSession:
    def __init__(self, root=None, display=None):
        self.root = root or os.environ.get("MORROWICK_WINE_ROOT") or os.path.join(TOP, "build", "wine")
        self.prefix = os.path.join(self.root, "prefix")
        self.display = display
        self.xvfb = None
        self.desktop = None
        self.env = None

    # ---- set-up ----
    def start(self, fresh=True):
        os.makedirs(self.root, exist_ok=True)
        if fresh and os.path.isdir(self.prefix):
            shutil.rmtree(self.prefix)
        if self.display is None:
            self.display = self._start_xvfb()
        env = dict(os.environ)
        env.update(WINEARCH="win32", WINEPREFIX=self.prefix, WINEDEBUG="-all",
                   LANG="zh_CN.UTF-8", LC_ALL="zh_CN.UTF-8", DISPLAY=self.display,
                   WINEDLLOVERRIDES="mscoree,mshtml=")
        self.env = env
        if not os.path.exists(os.path.join(self.prefix, "system.reg")):
            subprocess.run(["wineboot", "-i"], env=env, check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
        # One wineserver for the whole session, however long no Wine program runs.
        subprocess.run(["wineserver", "-p"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Every program of the prefix runs in one desktop with a taskbar and tray.
        self.reg_text(r"HKCU\Software\Wine\Explorer", "Desktop", "shell")
        self.reg_text(r"HKCU\Software\Wine\Explorer\Desktops", "shell", DESKTOP)
        self.ensure_desktop()
        return self

    def ensure_desktop(self):
        """Starts the shell desktop with its taskbar, and waits until it stays (its process
        keeps its id across two looks: a desktop started on demand may come and go)."""
        if self.desktop is None or self.desktop.poll() is not None:
            self.desktop = subprocess.Popen(["wine", "explorer", "/desktop=shell," + DESKTOP],
                                            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def steady():
            first = self.windows("Shell_TrayWnd")
            second = self.windows("Shell_TrayWnd")
            return first and second and first[0]["pid"] == second[0]["pid"]
        if not self.wait_for(steady, 60):
            raise RuntimeError("the shell desktop did not come up")

    def restart(self):
        """After a power action: Wine carries ExitWindowsEx out by ending the processes of
        the prefix, the desktop among them, while the end of the session is still under
        way. The wine server is stopped and the session brought up afresh."""
        for args in (["wineserver", "-k"], ["wineserver", "-w"]):
            subprocess.run(args, env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        if self.desktop is not None:
            self.desktop.wait(timeout=30)
            self.desktop = None
        subprocess.run(["wineserver", "-p"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.ensure_desktop()

    def _start_xvfb(self):
        # Xvfb picks a free display itself and writes its number to the pipe: two
        # sessions started together cannot end up on the same display.
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                                      "-nolisten", "tcp"], pass_fds=(write_end,),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        if not number.strip():
            raise RuntimeError("Xvfb did not start")
        return ":" + number.decode().strip()

    def stop(self):
        if self.env is not None:
            subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
            subprocess.run(["wineserver", "-w"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=60)
        if self.xvfb is not None:
            self.xvfb.send_signal(signal.SIGTERM)
            self.xvfb.wait()
            self.xvfb = None

    # ---- running things ----
    def run(self, args, timeout=60, check=True, extra_env=None, cwd=None):
        env = dict(self.env)
        if extra_env:
            env.update(extra_env)
        # Output goes through files, not pipes: a Wine service started by this process
        # would inherit a pipe and keep it open, and reading it would then hang.
        with tempfile.TemporaryFile() as out_f, tempfile.TemporaryFile() as err_f:
            p = subprocess.run(["wine"] + list(args), env=env, stdout=out_f, stderr=err_f,
                               stdin=subprocess.DEVNULL, timeout=timeout, cwd=cwd)
            out_f.seek(0)
            err_f.seek(0)
            out = out_f.read().decode("utf-8", "replace").replace("\r", "")
            err = err_f.read().decode("utf-8", "replace")
        if check and p.returncode != 0:
            raise RuntimeError("%s failed (%d): %s %s" % (args, p.returncode, out, err))
        return out

    def helper(self, *args, check=True, timeout=60):
        """Runs tools/mwhelper and returns its stdout lines."""
        out = self.run([exe("mwhelper.exe")] + list(args), check=check, timeout=timeout)
        return [line for line in out.split("\n") if line]

    def wait_for(self, fn, timeout=20, interval=0.3):
        end = time.time() + timeout
        while True:
            value = fn()
            if value:
                return value
            if time.time() > end:
                return value
            time.sleep(interval)

    def start_app(self, program=None, relay=None, cwd=None, args=(), wait_tray=True, extra_env=None,
                  exe_path=None):
        """Starts Morrowick (or another program); with relay, the listed dll.Function calls are traced."""
        env = dict(self.env)
        if extra_env:
            env.update(extra_env)
        if relay:
            self.reg_text(r"HKCU\Software\Wine\Debug", "RelayInclude", ";".join(relay))
            env["WINEDEBUG"] = "+relay"
        os.makedirs(os.path.join(self.root, "logs"), exist_ok=True)
        log_path = os.path.join(self.root, "logs", "app-%d.log" % int(time.time() * 1000))
        log = open(log_path, "wb")
        proc = subprocess.Popen(["wine", program or exe_path or exe("Morrowick.exe")] + list(args), env=env,
                                stdout=log, stderr=log, cwd=cwd)
        app = App(self, proc, log_path)
        if wait_tray and program is None:
            self.wait_for(lambda: self.windows("TForm1"), 30)
        return app

    # ---- windows ----
    def windows(self, cls=None):
        """Top-level windows as dicts (see tools/mwhelper/README.md)."""
        lines = self.helper(*(["list"] + ([cls] if cls else [])), check=False)
        out = []
        for line in lines:
            f = line.split("\t")
            if len(f) < 12:
                continue
            out.append(dict(hwnd=f[0], cls=f[1], title=f[2], visible=f[3] == "1", pid=f[4],
                            rect=tuple(int(x) for x in f[5:9]), style=f[9], exstyle=f[10],
                            owner=f[11], raw=f))
        return out

    def screenshot(self, path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        subprocess.run(["import", "-display", self.display, "-window", "root", path], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path

    # ---- registry, byte for byte through tools/mwreg ----
    def reg_dump(self, key=PROGRAM_KEY):
        out = {}
        for line in self.run([exe("mwreg.exe"), "dump", key], check=False).split("\n"):
            f = line.split("\t")
            if len(f) >= 5:
                out[f[0]] = dict(type=int(f[1]), size=int(f[2]), hex=f[3], text=f[4])
        return out

    def reg_text(self, key, name, text):
        self.run([exe("mwreg.exe"), "settext", key, name, text])

    def reg_dword(self, key, name, value):
        self.run([exe("mwreg.exe"), "setdword", key, name, str(value)])

    def reg_raw(self, key, name, type_, hexdata):
        self.run([exe("mwreg.exe"), "set", key, name, str(type_), hexdata])

    def reg_delete(self, key, name):
        self.run([exe("mwreg.exe"), "delete", key, name], check=False)

    def reg_delete_key(self, key):
        self.run([exe("mwreg.exe"), "deletekey", key], check=False)

    def seed(self, settings=None, tasks=()):
        """A clean program key holding the given settings and task slots."""
        self.reg_delete_key(r"HKLM\Software\Quorvane")
        values = dict(shutapp=0, soundpath="", tishi=60, TaskNum=len(tasks))
        values.update(settings or {})
        for name, v in values.items():
            if isinstance(v, int):
                self.reg_dword(PROGRAM_KEY, name, v)
            else:
                self.reg_text(PROGRAM_KEY, name, v)
        for n, (a, b, c) in enumerate(tasks, 1):
            self.reg_text(PROGRAM_KEY, "A%d" % n, a)
            self.reg_text(PROGRAM_KEY, "B%d" % n, b)
            self.reg_text(PROGRAM_KEY, "C%d" % n, c)

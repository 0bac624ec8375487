"""An elevated resident program must not load DLLs planted beside it."""

import os
import shutil
import tempfile
import time

from wine_case import WineCase, daily_text_for_first_tick, winenv


class PlantedDllTest(WineCase):
    def plant_folder(self):
        folder = tempfile.mkdtemp(prefix="plant-", dir=self.s.root)
        shutil.copy(winenv.exe("Morrowick.exe"), folder)
        shutil.copy(winenv.exe("rasimport.exe"), folder)
        for name in ("rasapi32.dll", "wininet.dll", "winmm.dll", "comdlg32.dll"):
            shutil.copy(os.path.join(winenv.WIN32_BUILD, "planted", "rasapi32.dll"), os.path.join(folder, name))
        return folder

    def test_planted_dial_up_dll_is_never_loaded_while_the_hang_up_still_runs(self):
        folder = self.plant_folder()
        marker = os.path.join(folder, "marker.txt")
        win_marker = "Z:" + marker.replace("/", "\\")
        # Wine prefers its built-in DLLs, which would let this test pass whatever the program
        # does: make it prefer native ones for the planted names.
        env = {"MORROWICK_PLANT_MARKER": win_marker,
               "WINEDLLOVERRIDES": "mscoree,mshtml=;rasapi32,wininet,winmm,comdlg32=n,b"}

        # The test can fail: a program importing rasapi32 the ordinary way loads the planted one.
        out = self.s.run([os.path.join(folder, "rasimport.exe")], extra_env=env, cwd=folder)
        self.assertIn("RasEnumConnectionsA 0 0", out)
        self.assertTrue(os.path.exists(marker), "the ordinary import did not load the planted DLL")
        os.remove(marker)

        self.s.seed({"tishi": 2}, [(daily_text_for_first_tick(), "断开拨号", "")])
        app = self.start(program=None, extra_env=env, cwd=folder,
                         relay=["rasapi32.RasEnumConnectionsA"],
                         exe_path=os.path.join(folder, "Morrowick.exe"))
        prompts = self.wait_windows("TForm6", 1, 40)  # after the two-second countdown
        texts = "\n".join(self.s.helper("children", prompts[0]["hwnd"]))
        self.assertIn("没有可用的拨号连接", texts)
        self.assertTrue(app.calls("RasEnumConnectionsA"), "the hang-up did not run")
        self.assertFalse(os.path.exists(marker), "a planted DLL was loaded: %s" %
                         (open(marker).read() if os.path.exists(marker) else ""))
        self.assertTrue(app.running())

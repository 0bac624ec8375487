"""The release zip as a user downloads it: built by the `release` target, unpacked into a
fresh folder, and its Morrowick.exe started from there, finding its own help file."""

import os
import re
import shutil
import subprocess
import zipfile

from wine_case import WineCase, winenv
from test_tray_menu import MenuDriver, debugstr, string_arg

FILES = ["Morrowick.exe", "Morrowick.CHM", "README.txt"]


class ReleaseTest(MenuDriver, WineCase):
    def test_release_zip_unpacks_into_one_folder_and_its_program_runs_there(self):
        # The zip is named after the version block of the program's resources.
        with open(os.path.join(winenv.TOP, "res", "morrowick.rc"), encoding="utf-8") as f:
            version = re.search(r'VALUE "ProductVersion",\s*"([0-9.]+)"', f.read()).group(1)
        folder = "Morrowick-%s" % version
        path = os.path.join(winenv.WIN32_BUILD, folder + ".zip")
        subprocess.run(["cmake", "--build", winenv.WIN32_BUILD, "--target", "release"], check=True,
                       stdout=subprocess.DEVNULL)
        with zipfile.ZipFile(path) as z:
            self.assertEqual(sorted(z.namelist()), sorted("%s/%s" % (folder, f) for f in FILES))
            readme = z.read(folder + "/README.txt")
            for name in ("Morrowick.exe", "Morrowick.CHM"):
                with open(winenv.exe(name), "rb") as built:
                    self.assertEqual(z.read(folder + "/" + name), built.read(), name)
            unpack = os.path.join(self.s.prefix, "drive_c", "users", "Public", "下载")
            shutil.rmtree(unpack, ignore_errors=True)
            self.addCleanup(shutil.rmtree, unpack, True)
            z.extractall(unpack)

        # Notepad reads it right on any Windows: UTF-8 with a byte order mark, CRLF only.
        self.assertTrue(readme.startswith(b"\xef\xbb\xbf"))
        self.assertNotIn(b"\n", readme.replace(b"\r\n", b""))
        text = readme[3:].decode("utf-8")
        self.assertIn("Morrowick " + version, text)
        self.assertIn("HKEY_LOCAL_MACHINE\\Software\\Quorvane\\Morrowick", text)
        self.assertIn("【中文】", text)
        self.assertIn("[English]", text)

        exe = os.path.join(unpack, folder, "Morrowick.exe")
        app = self.start(program=exe, relay=["shell32.ShellExecuteA"], cwd=os.path.join(self.s.prefix, "drive_c"))
        self.resident()
        self.choose("帮助(&H)")
        calls = self.wait_until(lambda: app.calls("ShellExecuteA"), 20, "no ShellExecuteA")
        self.assertEqual(string_arg(calls[0][1][2]),
                         debugstr("C:\\users\\Public\\下载\\%s\\Morrowick.CHM" % folder))
        viewer = self.wait_windows("HH Parent", 1, 30)
        self.assertEqual(viewer[0]["title"], "Morrowick 帮助")
        for w in self.s.windows("HH Parent"):
            self.s.helper("close", w["hwnd"], check=False)
        self.s.wait_for(lambda: not self.s.windows("HH Parent"), 10)

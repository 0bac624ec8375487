"""Packs the release a Windows user downloads: one zip holding a folder
Morrowick-<version>/ with Morrowick.exe, Morrowick.CHM and README.txt.

The read-me is written as Windows Notepad reads it in any language: UTF-8 with a
byte order mark and CRLF line ends.

    make_release.py <zip> <version> <Morrowick.exe> <Morrowick.CHM> <README.txt>"""

import os
import sys
import zipfile


def readme_bytes(path, version):
    with open(path, encoding="utf-8") as f:
        text = f.read().replace("@VERSION@", version)
    lines = text.replace("\r\n", "\n").split("\n")
    return b"\xef\xbb\xbf" + "\r\n".join(lines).encode("utf-8")


def main(argv):
    if len(argv) != 6:
        sys.exit(__doc__)
    zip_path, version, exe, chm, readme = argv[1:]
    folder = "Morrowick-%s/" % version
    tmp = zip_path + ".part"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as z:
        for path in (exe, chm):
            z.write(path, folder + os.path.basename(path))
        info = zipfile.ZipInfo(folder + "README.txt",
                               date_time=zipfile.ZipInfo.from_file(readme).date_time)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.external_attr = 0o100644 << 16  # a plain file, rw-r--r--
        z.writestr(info, readme_bytes(readme, version))
    os.replace(tmp, zip_path)
    print("release: %s" % zip_path)


if __name__ == "__main__":
    main(sys.argv)

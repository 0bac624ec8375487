#include "system/program_name.h"

#include <gtest/gtest.h>

#include <string>

namespace morrowick {
namespace {

TEST(UpperCaseAsciiTest, ChangesOnlyLowerCaseLettersByteByByte) {
  EXPECT_EQ(UpperCaseAscii("notepad.exe"), "NOTEPAD.EXE");
  EXPECT_EQ(UpperCaseAscii("a-z_{`}~@[0]"), "A-Z_{`}~@[0]");
  // The second byte of a double-byte character is upper-cased as well: 0x81 0x61 -> 0x81 0x41.
  EXPECT_EQ(UpperCaseAscii("\x81" "a" "\xB1\xED"), "\x81" "A" "\xB1\xED");
  // Bytes outside a..z are left alone, including the high half and 0xE0..0xFE.
  EXPECT_EQ(UpperCaseAscii("\xE1\xFA\x7B\x60"), "\xE1\xFA\x7B\x60");
}

struct FileNameCase {
  const char* path;
  const char* part;
};

TEST(FileNamePartTest, TakesWhatFollowsTheLastSeparatorOutsideDoubleByteCharacters) {
  const FileNameCase cases[] = {
      {"notepad.exe", "notepad.exe"},
      {"C:\\WINDOWS\\NOTEPAD.EXE", "NOTEPAD.EXE"},
      {"C:notepad.exe", "notepad.exe"},
      {"\\\\server\\share\\a.exe", "a.exe"},
      {"C:\\dir\\", ""},
      {"", ""},
      // 0x95 0x5C is one GBK character whose second byte is "\": not a separator.
      {"C:\\tools\\\x95\\.exe", "\x95\\.exe"},
      {"C:\\tools\\a\x95\\b.exe", "a\x95\\b.exe"},
      {"\x95\\", "\x95\\"},
      // A separator right after a complete double-byte character still counts.
      {"\xB1\xED\\x.exe", "x.exe"},
      // A lead byte closing the text has no second byte; the "\" before it counts.
      {"dir\\\x95", "\x95"},
      // 0x95 0x3A: the ":" is the second byte of the character.
      {"\x95:x.exe", "\x95:x.exe"},
  };
  for (const FileNameCase& c : cases) {
    EXPECT_EQ(std::string(FileNamePart(c.path)), c.part) << "path: " << c.path;
  }
}

struct MatchCase {
  const char* exeName;
  const char* name;
  bool matches;
};

TEST(ProgramNameMatchesTest, MatchesByFileNameOrWholeNameIgnoringCaseOfLatinLetters) {
  const MatchCase cases[] = {
      {"NOTEPAD.EXE", "notepad.exe", true},
      {"Notepad.exe", "notepad.exe", true},
      {"notepad.exe", "notepad.exe", true},
      {"C:\\WINDOWS\\NOTEPAD.EXE", "notepad.exe", true},
      {"notepad.exe.bak", "notepad.exe", false},
      {"notepad", "notepad.exe", false},
      {"C:\\WINDOWS\\NOTEPAD.EXE.BAK", "notepad.exe", false},
      {"xnotepad.exe", "notepad.exe", false},
      // The whole listed path equals the whole name given.
      {"C:\\WINDOWS\\NOTEPAD.EXE", "c:\\windows\\notepad.exe", true},
      // A name with a directory does not match a listed bare file name.
      {"NOTEPAD.EXE", "C:\\WINDOWS\\notepad.exe", false},
      // Two GBK names whose second bytes differ only by 0x20 (0x41 and 0x61) compare
      // equal: upper-casing does not look at character boundaries.
      {"\x81\x41.exe", "\x81\x61.exe", true},
      {"\x81\x61.exe", "\x81\x41.exe", true},
      // ... but a difference in a byte outside a..z/A..Z still tells them apart.
      {"\xB1\xED.exe", "\xB1\xCD.exe", false},
      // A GBK second byte equal to "\" is part of the file name.
      {"D:\\\xB9\xA4\\\x95\\.exe", "\x95\\.exe", true},
      {"D:\\\xB9\xA4\\\x95\\.exe", ".exe", false},
      // An empty name matches nothing, not even an empty or a directory-only entry.
      {"", "", false},
      {"C:\\dir\\", "", false},
      {"notepad.exe", "", false},
  };
  for (const MatchCase& c : cases) {
    EXPECT_EQ(ProgramNameMatches(c.exeName, c.name), c.matches)
        << "listed: " << c.exeName << " name: " << c.name;
  }
}

}  // namespace
}  // namespace morrowick

// How a running program is recognised by its file name: the rules "关闭程序" tasks use.
#pragma once

#include <string>
#include <string_view>

namespace morrowick {

// Upper-cases byte by byte: only 0x61..0x7A change (to 0x20 lower), wherever they
// stand, also as the second byte of a double-byte character.
std::string UpperCaseAscii(std::string_view text);

// What follows the last "\" or ":" of a path that is not the second byte of a GBK
// double-byte character; a path without separator is its own file-name part.
std::string_view FileNamePart(std::string_view path);

// True when a process whose executable is listed as `exeName` is one of the programs
// named `name`: the file-name part of exeName, or the whole of it, equals name after
// upper-casing both. An empty name matches nothing.
bool ProgramNameMatches(std::string_view exeName, std::string_view name);

}  // namespace morrowick

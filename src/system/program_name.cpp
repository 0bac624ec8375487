#include "system/program_name.h"

#include "system/gbk.h"

namespace morrowick {

std::string UpperCaseAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
  }
  return upper;
}

std::string_view FileNamePart(std::string_view path) {
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    const auto byte = static_cast<unsigned char>(path[i]);
    if (IsGbkLeadByte(byte) && i + 1 < path.size()) {
      ++i;  // the second byte of the character is never a separator
    } else if (byte == '\\' || byte == ':') {
      start = i + 1;
    }
  }
  return path.substr(start);
}

bool ProgramNameMatches(std::string_view exeName, std::string_view name) {
  if (name.empty()) return false;
  const std::string wanted = UpperCaseAscii(name);
  return UpperCaseAscii(FileNamePart(exeName)) == wanted || UpperCaseAscii(exeName) == wanted;
}

}  // namespace morrowick

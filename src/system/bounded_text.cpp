#include "system/bounded_text.h"

#include <algorithm>
#include <cstring>

#include "system/gbk.h"

namespace morrowick {

size_t GbkPrefixLength(std::string_view text, size_t capacity) {
  const size_t end = std::min(text.find('\0'), text.size());
  size_t i = 0;
  while (i < end) {
    const bool pair = IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < end;
    const size_t width = pair ? 2 : 1;
    if (i + width > capacity) break;
    i += width;
  }
  return i;
}

size_t CopyBounded(char* dest, size_t size, std::string_view text) {
  if (size == 0) return 0;
  const size_t length = GbkPrefixLength(text, size - 1);
  std::memcpy(dest, text.data(), length);
  std::memset(dest + length, 0, size - length);
  return length;
}

std::string TextOfField(const char* field, size_t size) {
  const void* zero = std::memchr(field, 0, size);
  const size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - field) : size;
  return std::string(field, length);
}

}  // namespace morrowick

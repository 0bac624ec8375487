// Texts in fixed-size char buffers: every copy is bounded by the buffer, never by the
// data, and every read stops at the buffer's end even without a terminating zero.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace morrowick {

// Bytes of `text` that fit in `capacity` bytes without splitting a GBK double-byte
// character. The text ends at its first zero byte.
size_t GbkPrefixLength(std::string_view text, size_t capacity);

// Copies `text` into dest[0 .. size): as much as fits before the terminating zero,
// cut at a character boundary, and zero-fills the rest. Returns the bytes copied
// (before the zero). A size of 0 writes nothing.
size_t CopyBounded(char* dest, size_t size, std::string_view text);

template <size_t N>
size_t CopyBounded(char (&dest)[N], std::string_view text) {
  return CopyBounded(dest, N, text);
}

// The text held in a fixed field: up to its first zero byte, or the whole field when
// it has none.
std::string TextOfField(const char* field, size_t size);

template <size_t N>
std::string TextOfField(const char (&field)[N]) {
  return TextOfField(field, N);
}

}  // namespace morrowick

// The one rule for where a GBK (code page 936) double-byte character begins: a byte
// from 0x81 to 0xFE is a lead byte, and the byte after it belongs to the same character
// whatever its value, so a "\" (0x5C) or an "a" in that place is not a character of
// its own.
#pragma once

namespace morrowick {

constexpr bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

}  // namespace morrowick

#include "system/bounded_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace morrowick {
namespace {

// A 64-byte buffer like the tray tip, with guard bytes on both sides.
struct GuardedTip {
  char before[8];
  char tip[64];
  char after[8];
};

GuardedTip FilledWith(char c) {
  GuardedTip g;
  std::memset(&g, c, sizeof g);
  return g;
}

void ExpectGuardsUntouched(const GuardedTip& g) {
  for (char c : g.before) EXPECT_EQ(c, '#');
  for (char c : g.after) EXPECT_EQ(c, '#');
}

TEST(CopyBoundedTest, LatinTextsOf63_64And65BytesInA64ByteBuffer) {
  struct Case {
    size_t length;
    size_t copied;
  };
  for (const Case c : {Case{63, 63}, Case{64, 63}, Case{65, 63}, Case{0, 0}, Case{10, 10}}) {
    GuardedTip g = FilledWith('#');
    const std::string text(c.length, 'x');
    EXPECT_EQ(CopyBounded(g.tip, text), c.copied) << c.length;
    EXPECT_EQ(std::string(g.tip), std::string(c.copied, 'x')) << c.length;
    for (size_t i = c.copied; i < sizeof g.tip; ++i) EXPECT_EQ(g.tip[i], '\0') << i;
    ExpectGuardsUntouched(g);
  }
}

TEST(CopyBoundedTest, ADoubleByteCharacterAcrossTheLimitIsLeftOutWhole) {
  // 62 Latin bytes, then "关" (B9 D8): its second byte would take the place of the zero.
  {
    GuardedTip g = FilledWith('#');
    const std::string text = std::string(62, 'a') + "关";
    EXPECT_EQ(CopyBounded(g.tip, text), 62u);
    EXPECT_EQ(std::string(g.tip), std::string(62, 'a'));
    EXPECT_EQ(g.tip[62], '\0');
    EXPECT_EQ(g.tip[63], '\0');
    ExpectGuardsUntouched(g);
  }
  // 61 Latin bytes, then "关": it ends exactly at byte 63 and fits.
  {
    GuardedTip g = FilledWith('#');
    const std::string text = std::string(61, 'a') + "关机";
    EXPECT_EQ(CopyBounded(g.tip, text), 63u);
    EXPECT_EQ(std::string(g.tip), std::string(61, 'a') + "关");
    EXPECT_EQ(g.tip[63], '\0');
    ExpectGuardsUntouched(g);
  }
  // All Chinese: 31 characters fit in 63 bytes, the 32nd is left out.
  {
    GuardedTip g = FilledWith('#');
    std::string text;
    for (int i = 0; i < 40; ++i) text += "监";
    EXPECT_EQ(CopyBounded(g.tip, text), 62u);
    EXPECT_EQ(std::strlen(g.tip), 62u);
    ExpectGuardsUntouched(g);
  }
}

TEST(CopyBoundedTest, BoundaryFollowsLeadBytesNotByteValues) {
  // "a" + 0x95 0x5C + ...: the pair is one character, so at a limit of 2 only "a" fits
  // while at 3 the whole pair does.
  char three[3];
  EXPECT_EQ(CopyBounded(three, "a\x95\\zz"), 1u);
  EXPECT_EQ(std::string(three), "a");
  char four[4];
  EXPECT_EQ(CopyBounded(four, "a\x95\\zz"), 3u);
  EXPECT_EQ(std::string(four), "a\x95\\");
  // A lead byte that closes the text has no partner; it is copied as a byte.
  EXPECT_EQ(CopyBounded(four, "ab\x95"), 3u);
  EXPECT_EQ(std::string(four), "ab\x95");
}

TEST(CopyBoundedTest, StopsAtAZeroByteInTheTextAndHandlesTinyBuffers) {
  char buf[8];
  std::memset(buf, '#', sizeof buf);
  EXPECT_EQ(CopyBounded(buf, std::string("ab\0cd", 5)), 2u);
  for (size_t i = 2; i < sizeof buf; ++i) EXPECT_EQ(buf[i], '\0');

  char one[1] = {'#'};
  EXPECT_EQ(CopyBounded(one, "abc"), 0u);
  EXPECT_EQ(one[0], '\0');

  char untouched = '#';
  EXPECT_EQ(CopyBounded(&untouched, 0, "abc"), 0u);
  EXPECT_EQ(untouched, '#');
}

TEST(TextOfFieldTest, ReadsUpToTheFirstZeroOrTheWholeField) {
  const char terminated[8] = {'a', 'b', 0, 'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(TextOfField(terminated), "ab");
  const char full[4] = {'w', 'x', 'y', 'z'};  // no zero anywhere
  EXPECT_EQ(TextOfField(full), "wxyz");
  const char empty[4] = {};
  EXPECT_EQ(TextOfField(empty), "");
}

}  // namespace
}  // namespace morrowick

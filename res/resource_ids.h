#pragma once

// Names of the resources in morrowick.rc, for LoadIconA / LoadBitmapA.

// Icons: the application icon, monitoring on (green button), monitoring off (red).
constexpr const char kMainIcon[] = "MAINICON";
constexpr const char kEnabledIcon[] = "ENASHUT";
constexpr const char kDisabledIcon[] = "DISSHUT";

// Button glyphs, 16 colours: two 18x18 images side by side, the second the
// greyed one for a disabled button. The colour of the bottom-left pixel is
// the transparent colour (fuchsia).
constexpr const char kOkGlyph[] = "OKGLYPH";
constexpr const char kCancelGlyph[] = "CANCELGLYPH";
constexpr int kGlyphSize = 18;
constexpr int kGlyphCount = 2;

#include "system/sound_win32.h"

namespace morrowick {
namespace {

using PlaySoundPointer = BOOL(WINAPI*)(LPCSTR sound, HMODULE module, DWORD flags);

}  // namespace

void SoundWin32::PlaySound(const std::string& path, uint32_t flags) {
  auto play = winmm_.Function<PlaySoundPointer>("PlaySoundA");
  if (play == nullptr) return;  // no multimedia on this system: the countdown runs silent
  if (flags == kSoundEnd) {
    // Ending the loop: PlaySoundA given no sound stops the one playing. Given the path
    // with flags 0 it would play the file once more, synchronously, and hold the window
    // for its whole length (or play the default sound when the path is empty).
    play(nullptr, nullptr, 0);
    return;
  }
  // The window handle stands where a resource module would; with SND_FILENAME the
  // system does not look at it.
  play(path.c_str(), reinterpret_cast<HMODULE>(window_), flags);
}

}  // namespace morrowick

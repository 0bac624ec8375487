// The warning sound through winmm's PlaySoundA. winmm is not one of the DLLs every
// process already has, so it is loaded from the system directory only, once.
#pragma once

#include <windows.h>

#include "system/countdown.h"
#include "system/system_library_win32.h"

namespace morrowick {

class SoundWin32 final : public SoundPort {
 public:
  // `window`: the resident window, whose handle goes with every call.
  explicit SoundWin32(HWND window) : window_(window) {}
  // The result is ignored: a missing or unplayable file passes unnoticed.
  void PlaySound(const std::string& path, uint32_t flags) override;

 private:
  HWND window_;
  SystemLibrary winmm_{"winmm.dll"};
};

}  // namespace morrowick

// "打开文件": the shell's "open" verb on a document, program or web address.
#pragma once

#include "scheduler/ports.h"

namespace morrowick {

class ShellOpenerWin32 final : public ShellOpener {
 public:
  // No owner window, no parameters, no working directory, SW_SHOWNORMAL; the result is
  // ignored and nothing is reported.
  void Open(const std::string& target) override;
};

}  // namespace morrowick

// Narrow operations the logic calls on the windows and the shell. Abstract so the
// logic runs and is tested without a window system; the resident window implements them.
#pragma once

#include <string>

namespace morrowick {

// Shows a text in a new stay-on-top prompt window and returns at once.
class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual void ShowPrompt(const std::string& text) = 0;
};

enum class TrayPicture { Enabled, Disabled };  // ENASHUT (green) / DISSHUT (red)

// The one tray icon record: changes its picture and tip and sends it (NIM_MODIFY).
class TrayIcon {
 public:
  virtual ~TrayIcon() = default;
  virtual void Modify(TrayPicture picture, const std::string& tip) = 0;
};

// Hands a document, program or web address to the system's default opener.
class ShellOpener {
 public:
  virtual ~ShellOpener() = default;
  virtual void Open(const std::string& target) = 0;
};

}  // namespace morrowick

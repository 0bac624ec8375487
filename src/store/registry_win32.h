// The registry accessor over the Win32 ...A registry calls.
#pragma once

#include <windows.h>

#include "store/registry.h"

namespace morrowick {

class Win32Registry : public RegistryAccessor {
 public:
  Win32Registry() = default;
  ~Win32Registry() override { CloseKey(); }
  Win32Registry(const Win32Registry&) = delete;
  Win32Registry& operator=(const Win32Registry&) = delete;

  void SetRootKey(RootKey root) override { root_ = root; }
  RootKey GetRootKey() const override { return root_; }
  bool OpenKey(const std::string& path, bool create) override;
  void CloseKey() override;
  bool ValueExists(const std::string& name) override;
  std::string ReadString(const std::string& name) override;
  int32_t ReadInteger(const std::string& name) override;
  void WriteString(const std::string& name, const std::string& text) override;
  void WriteInteger(const std::string& name, int32_t value) override;
  void DeleteValue(const std::string& name) override;

 private:
  HKEY RootHandle() const;
  RootKey root_ = RootKey::CurrentUser;
  HKEY current_ = nullptr;
};

}  // namespace morrowick

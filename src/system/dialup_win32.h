// The dial-up layer through rasapi32 and wininet, both loaded from the system
// directory on first use. Without them (a system with no dial-up support) the
// connection list cannot be read, which the hang-up treats as a failed enumeration,
// and dialling does nothing.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>

#include "system/dialup.h"
#include "system/system_library_win32.h"

namespace morrowick {

// The connection record in its 412-byte form, the size every dial-up layer accepts.
struct RasConnRecord412 {
  DWORD dwSize;
  HANDLE hrasconn;
  char szEntryName[257];
  char szDeviceType[17];
  char szDeviceName[129];
  // one byte of padding to the DWORD boundary
};
static_assert(sizeof(RasConnRecord412) == 412);
static_assert(offsetof(RasConnRecord412, hrasconn) == 4);
static_assert(offsetof(RasConnRecord412, szEntryName) == 8);
static_assert(offsetof(RasConnRecord412, szDeviceType) == 265);
static_assert(offsetof(RasConnRecord412, szDeviceName) == 282);

constexpr size_t kConnectionRecords = 10;

class DialupWin32 final : public DialupPort {
 public:
  // `parent`: the resident window, the dialler's parent.
  explicit DialupWin32(HWND parent) : parent_(parent) {}

  DialupConnections EnumerateConnections() override;
  uint32_t HangUp(DialupHandle connection) override;
  void Autodial() override;

 private:
  const SystemLibrary& Rasapi32();
  const SystemLibrary& Wininet();

  HWND parent_;
  std::unique_ptr<SystemLibrary> rasapi32_;
  std::unique_ptr<SystemLibrary> wininet_;
};

}  // namespace morrowick

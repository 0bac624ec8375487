#include "system/dialup_win32.h"

namespace morrowick {
namespace {

using RasEnumConnectionsPointer = DWORD(WINAPI*)(RasConnRecord412* list, DWORD* bytes,
                                                 DWORD* connections);
using RasHangUpPointer = DWORD(WINAPI*)(HANDLE connection);
using InternetAutodialPointer = BOOL(WINAPI*)(DWORD flags, HWND parent);

constexpr DWORD kAutodialForceUnattended = 2;  // INTERNET_AUTODIAL_FORCE_UNATTENDED

}  // namespace

const SystemLibrary& DialupWin32::Rasapi32() {
  if (!rasapi32_) rasapi32_ = std::make_unique<SystemLibrary>("rasapi32.dll");
  return *rasapi32_;
}

const SystemLibrary& DialupWin32::Wininet() {
  if (!wininet_) wininet_ = std::make_unique<SystemLibrary>("wininet.dll");
  return *wininet_;
}

DialupConnections DialupWin32::EnumerateConnections() {
  DialupConnections result;
  auto enumerate = Rasapi32().Function<RasEnumConnectionsPointer>("RasEnumConnectionsA");
  if (enumerate == nullptr) {
    result.status = ERROR_PROC_NOT_FOUND;
    return result;
  }
  RasConnRecord412 list[kConnectionRecords] = {};
  static_assert(sizeof list == 4120);
  list[0].dwSize = sizeof(RasConnRecord412);
  DWORD bytes = sizeof list;  // the call may write this many bytes and no more
  DWORD connections = 0;
  result.status = enumerate(list, &bytes, &connections);
  result.count = connections;
  result.first = reinterpret_cast<DialupHandle>(list[0].hrasconn);
  return result;
}

uint32_t DialupWin32::HangUp(DialupHandle connection) {
  auto hangUp = Rasapi32().Function<RasHangUpPointer>("RasHangUpA");
  if (hangUp == nullptr) return ERROR_PROC_NOT_FOUND;
  return hangUp(reinterpret_cast<HANDLE>(connection));
}

void DialupWin32::Autodial() {
  if (auto autodial = Wininet().Function<InternetAutodialPointer>("InternetAutodial")) {
    autodial(kAutodialForceUnattended, parent_);
  }
}

}  // namespace morrowick

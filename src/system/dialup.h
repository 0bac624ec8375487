// Hanging up and dialling the dial-up connection ("断开拨号", "拨号连接").
#pragma once

#include <cstdint>

namespace morrowick {

class Prompter;

using DialupHandle = std::uintptr_t;

// What the enumeration of active connections hands back.
struct DialupConnections {
  uint32_t status = 0;       // 0 on success; anything else: the list could not be read
  uint32_t count = 0;        // active connections listed
  DialupHandle first = 0;    // handle of the first listed connection (when count > 0)
};

// The system's dial-up layer; abstract so the decisions can be tested without one.
class DialupPort {
 public:
  virtual ~DialupPort() = default;
  // Lists the active connections into room for ten records.
  virtual DialupConnections EnumerateConnections() = 0;
  // Hangs up one connection; 0 on success.
  virtual uint32_t HangUp(DialupHandle connection) = 0;
  // Dials the default Internet connection without user interaction, the resident
  // window as parent; the outcome is not reported.
  virtual void Autodial() = 0;
};

// Hangs up the first active connection and tells the user the outcome; shows nothing
// when the connections cannot be listed.
void HangUpDialup(DialupPort& dialup, Prompter& prompter);

// Dials the default connection; nothing is shown.
void DialDefaultConnection(DialupPort& dialup);

}  // namespace morrowick

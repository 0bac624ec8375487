#include "system/dialup.h"

#include "scheduler/ports.h"

namespace morrowick {

void HangUpDialup(DialupPort& dialup, Prompter& prompter) {
  const DialupConnections connections = dialup.EnumerateConnections();
  if (connections.status != 0) return;
  if (connections.count == 0) {
    prompter.ShowPrompt("没有可用的拨号连接");
    return;
  }
  // Only the first listed connection; any others stay up.
  if (dialup.HangUp(connections.first) == 0) {
    prompter.ShowPrompt("断开成功");
  } else {
    prompter.ShowPrompt("断开失败");
  }
}

void DialDefaultConnection(DialupPort& dialup) { dialup.Autodial(); }

}  // namespace morrowick

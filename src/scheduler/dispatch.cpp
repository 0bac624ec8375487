#include "scheduler/dispatch.h"

#include "store/registry.h"
#include "store/store.h"
#include "system/countdown.h"
#include "system/dialup.h"
#include "system/processes.h"
#include "system/program_name.h"

namespace morrowick {

namespace {

struct CountdownType {
  const char* type;
  const char* word;
};

constexpr CountdownType kCountdownTypes[] = {
    {"断开拨号", "断开拨号"}, {"注销计算机", "注销"}, {"待机计算机", "待机"},
    {"休眠计算机", "休眠"},   {"重启计算机", "重启"}, {"关闭计算机", "关机"},
    {"快速重启", "快速重启"}, {"快速关机", "快速关机"},
};

}  // namespace

const char* CountdownWordOf(const std::string& type) {
  for (const CountdownType& row : kCountdownTypes) {
    if (type == row.type) return row.word;
  }
  return nullptr;
}

void TaskDispatcher::Pause() {
  state_.PendingAction.clear();
  p_.timer1.SetEnabled(false);
  p_.timer3.SetEnabled(true);  // already on: its minute goes on unchanged
}

void TaskDispatcher::DispatchTask(int32_t slot) {
  RegistryAccessor& reg = *state_.registry;
  const std::string type = reg.ReadString(SlotValueName('B', slot));
  if (type == "提醒") {
    p_.prompter.ShowPrompt(reg.ReadString(SlotValueName('C', slot)));
    Pause();
  } else if (type == "打开文件") {
    p_.shell.Open(reg.ReadString(SlotValueName('C', slot)));
    Pause();
  } else if (type == "关闭程序") {
    const std::string argument = reg.ReadString(SlotValueName('C', slot));
    TerminateProgramByName(p_.processes, FileNamePart(argument));
    Pause();
  } else if (type == "拨号连接") {
    DialDefaultConnection(p_.dialup);
    Pause();
  } else if (const char* word = CountdownWordOf(type)) {
    state_.PendingAction = word;
    p_.countdown.StartCountdown();
  }
  // Any other text is of no type: nothing at all happens.
}

}  // namespace morrowick

// The running processes through the tool-help snapshot.
#pragma once

#include "system/processes.h"

namespace morrowick {

class ProcessListWin32 final : public ProcessList {
 public:
  std::vector<ProcessEntry> Snapshot() override;
  int32_t Terminate(uint32_t processId) override;
};

}  // namespace morrowick

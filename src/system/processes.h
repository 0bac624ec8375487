// Ending running programs by the file name of their executable ("关闭程序").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morrowick {

struct ProcessEntry {
  uint32_t id = 0;
  std::string exeName;  // as the system lists it: a file name, or a full path
};

// The running processes and a way to end one; abstract so the matching can be tested
// without a system.
class ProcessList {
 public:
  virtual ~ProcessList() = default;
  // The processes running at this moment, in the system's order.
  virtual std::vector<ProcessEntry> Snapshot() = 0;
  // Ends the process with exit code 0. Non-zero on success, 0 when it could not be
  // opened or ended.
  virtual int32_t Terminate(uint32_t processId) = 0;
};

// Ends every listed process whose executable matches `name` (ProgramNameMatches) and
// returns the outcome of the last attempt, or 0 when nothing matched. No process is
// exempt, and a failed attempt does not stop the walk.
int32_t TerminateProgramByName(ProcessList& processes, std::string_view name);

}  // namespace morrowick

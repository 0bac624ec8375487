#include "system/processes.h"

#include "system/program_name.h"

namespace morrowick {

int32_t TerminateProgramByName(ProcessList& processes, std::string_view name) {
  int32_t outcome = 0;
  for (const ProcessEntry& entry : processes.Snapshot()) {
    if (ProgramNameMatches(entry.exeName, name)) outcome = processes.Terminate(entry.id);
  }
  return outcome;
}

}  // namespace morrowick

// Stays running for a while and does nothing: a program for tests to find and end.
// Argument: seconds to stay (default 60). Exits with code 3 when the time is up, so a
// process ended from outside (exit code 0) is told apart from one that ran out.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  const long seconds = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 60;
  Sleep(static_cast<DWORD>(seconds > 0 ? seconds : 60) * 1000);
  return 3;
}

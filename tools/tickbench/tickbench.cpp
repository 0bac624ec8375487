// The tick on the real registry (under Wine) against a bare loop of RegQueryValueExA over
// the same A n values. Prints per line: N case tick-ns bare-ns (one whole tick / loop).
#include <windows.h>

#include <cstdio>
#include <vector>

#include "benchmarks/tick_bench_core.h"
#include "store/registry_win32.h"

using namespace morrowick;

static uint64_t NowNs() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<uint64_t>(c.QuadPart * 1000000000.0 / static_cast<double>(freq.QuadPart));
}

int main() {
  for (int n : {10, 1000, 10000}) {
    for (bool some_due : {false, true}) {
      Win32Registry reg;
      AppState state;
      state.registry = &reg;
      bench::FixedClock clock;
      bench::SeedSlots(reg, state, n, some_due, clock.now);
      auto bare = [&](int count) {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Quorvane\\Morrowick", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr);
        std::vector<char> buf(256);
        for (int i = 1; i <= count; ++i) {
          char name[16];
          std::snprintf(name, sizeof(name), "A%d", i);
          DWORD type = 0, size = 0;
          RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
          DWORD got = static_cast<DWORD>(buf.size());
          RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got);
        }
        RegCloseKey(key);
      };
      const int rounds = n >= 10000 ? 5 : (n >= 1000 ? 20 : 200);
      bench::TickFigures f = bench::MeasureTick(state, clock, n, rounds, NowNs, bare);
      std::printf("%d %s %.0f %.0f\n", n, some_due ? "1%-due" : "none-due", f.tick_ns, f.bare_ns);
      std::fflush(stdout);
      // Remove the slots again so the next size starts from an empty key.
      reg.SetRootKey(RootKey::LocalMachine);
      reg.OpenKey(kProgramKeyPath, true);
      for (int i = 1; i <= n; ++i) {
        for (char letter : {'A', 'B', 'C'}) reg.DeleteValue(SlotValueName(letter, i));
      }
    }
  }
  return 0;
}

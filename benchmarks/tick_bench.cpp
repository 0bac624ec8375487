// Host benchmark of the tick on the in-memory registry. Prints per line:
// N case tick-ns-per-slot bare-read-ns-per-slot
#include <time.h>

#include <cstdio>

#include "benchmarks/tick_bench_core.h"
#include "store/memory_registry.h"

using namespace morrowick;

static uint64_t NowNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000000000u + static_cast<uint64_t>(ts.tv_nsec);
}

int main() {
  for (int n : {10, 1000, 10000}) {
    for (bool some_due : {false, true}) {
      MemoryRegistry reg;
      AppState state;
      state.registry = &reg;
      bench::FixedClock clock;
      bench::SeedSlots(reg, state, n, some_due, clock.now);
      volatile size_t sink = 0;
      auto bare = [&](int count) {
        OpenProgramKey(reg);
        for (int i = 1; i <= count; ++i) sink = sink + reg.ReadString(SlotValueName('A', i)).size();
        reg.CloseKey();
      };
      const int rounds = n >= 10000 ? 30 : 300;
      bench::TickFigures f = bench::MeasureTick(state, clock, n, rounds, NowNs, bare);
      std::printf("%d %s %.2f %.2f\n", n, some_due ? "1%-due" : "none-due", f.tick_ns / n, f.bare_ns / n);
    }
  }
  return 0;
}

// Random sequences of append, rewrite and delete (stale slot numbers and empty slots
// included) against a plain list that models the slots; checked after every step.
#include <gtest/gtest.h>

#include <random>

#include "store/memory_registry.h"
#include "store/store.h"

namespace morrowick {
namespace {

const std::string kKey = MemoryRegistry::KeyName(RootKey::LocalMachine, kProgramKeyPath);

std::string TextAt(const MemoryRegistry& reg, const std::string& name, bool& present) {
  auto v = reg.Get(kKey, name);
  present = v.has_value();
  if (!v) return "";
  std::string s(v->data.begin(), v->data.end());
  if (!s.empty() && s.back() == '\0') s.pop_back();
  return s;
}

void CheckAgainstModel(const MemoryRegistry& reg, const Settings& settings,
                       const std::vector<TaskTexts>& model, const std::string& where) {
  ASSERT_GE(settings.TaskNum, 0) << where;
  ASSERT_EQ(settings.TaskNum, static_cast<int32_t>(model.size())) << where;
  auto stored = reg.Get(kKey, "TaskNum");
  ASSERT_TRUE(stored && stored->type == kRegDword) << where;
  uint32_t n = 0;
  memcpy(&n, stored->data.data(), 4);
  ASSERT_EQ(n, model.size()) << where;
  for (size_t i = 0; i < model.size(); ++i) {
    const int32_t slot = static_cast<int32_t>(i + 1);
    bool present = false;
    EXPECT_EQ(TextAt(reg, SlotValueName('A', slot), present), model[i].schedule) << where << " A" << slot;
    EXPECT_EQ(TextAt(reg, SlotValueName('B', slot), present), model[i].type) << where << " B" << slot;
    EXPECT_EQ(TextAt(reg, SlotValueName('C', slot), present), model[i].argument) << where << " C" << slot;
  }
  // Nothing beyond the last slot: the slots stay contiguous.
  for (int32_t slot = static_cast<int32_t>(model.size()) + 1; slot <= static_cast<int32_t>(model.size()) + 3; ++slot) {
    for (char letter : {'A', 'B', 'C'}) {
      bool present = true;
      TextAt(reg, SlotValueName(letter, slot), present);
      EXPECT_FALSE(present) << where << " " << letter << slot;
    }
  }
}

TEST(StoreProperty, RandomEditsKeepSlotsContiguousAndLoseNothing) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    MemoryRegistry reg;
    Settings settings;
    LoadSettings(reg, settings);
    std::vector<TaskTexts> model;
    int serial = 0;
    auto fresh = [&] {
      ++serial;
      // Now and then a task whose schedule is empty, as outside edits can leave.
      std::string a = rng() % 8 == 0 ? "" : "每天" + std::to_string(serial % 24) + "时0分";
      return TaskTexts{a, "提醒", "task " + std::to_string(serial)};
    };
    for (int step = 0; step < 200; ++step) {
      const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step);
      const int op = static_cast<int>(rng() % 10);
      if (op < 4) {
        TaskTexts t = fresh();
        const int32_t slot = AppendTask(reg, settings, t);
        model.push_back(t);
        ASSERT_EQ(slot, static_cast<int32_t>(model.size())) << where;
      } else if (op < 6) {
        if (model.empty()) continue;
        const size_t i = rng() % model.size();
        TaskTexts t = fresh();
        OpenProgramKey(reg);
        RewriteTask(reg, static_cast<int32_t>(i + 1), t);
        model[i] = t;
      } else {
        // Slot numbers from a stale list: some are out of range, some are fine.
        const int32_t k = static_cast<int32_t>(rng() % (model.size() + 4)) - 1;
        const bool removed = DeleteTask(reg, settings, k);
        const bool valid = k >= 1 && k <= static_cast<int32_t>(model.size());
        ASSERT_EQ(removed, valid) << where << " k=" << k;
        if (valid) model.erase(model.begin() + (k - 1));
        OpenProgramKey(reg);
      }
      CheckAgainstModel(reg, settings, model, where);
      if (HasFatalFailure()) return;
    }
  }
}

}  // namespace
}  // namespace morrowick

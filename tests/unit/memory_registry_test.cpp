#include <functional>

#include "registry_contract.h"

namespace morrowick {
namespace {

class MemoryBackend : public RegistryBackend {
 public:
  std::string ScratchPath() const override { return "\\Software\\MorrowickContract"; }
  RegistryAccessor& Accessor() override { return reg; }
  std::string Key() const { return MemoryRegistry::KeyName(RootKey::CurrentUser, ScratchPath()); }
  void PutRaw(const std::string& name, uint32_t type, const std::vector<uint8_t>& data) override {
    reg.Put(Key(), name, RawValue{type, data});
  }
  std::optional<RawValue> GetRaw(const std::string& name) override { return reg.Get(Key(), name); }
  bool KeyExists(const std::string& path) override {
    return reg.KeyExists(MemoryRegistry::KeyName(RootKey::CurrentUser, path));
  }
  MemoryRegistry reg;
};

std::unique_ptr<RegistryBackend> MakeMemory() { return std::make_unique<MemoryBackend>(); }

INSTANTIATE_TEST_SUITE_P(Memory, RegistryContract, ::testing::Values(&MakeMemory));

TEST(MemoryRegistry, CanBeToldToFailWrites) {
  MemoryRegistry reg;
  reg.OpenKey("\\K", true);
  reg.fail_write_names = {"B1"};
  reg.WriteString("A1", "x");
  EXPECT_THROW(reg.WriteString("B1", "x"), RegistryError);
  reg.fail_writes = true;
  try {
    reg.WriteInteger("TaskNum", 1);
    FAIL();
  } catch (const RegistryError& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'TaskNum'");
  }
  EXPECT_EQ(reg.log, (std::vector<std::string>{"write A1"}));
}

TEST(MemoryRegistry, NamesIgnoreAsciiCaseLikeTheWindowsRegistry) {
  MemoryRegistry reg;
  reg.OpenKey("\\Software\\Quorvane", true);
  reg.WriteString("TaskNum", "x");
  EXPECT_TRUE(reg.ValueExists("tasknum"));
  EXPECT_TRUE(reg.OpenKey("\\SOFTWARE\\quorvane", false));
  EXPECT_EQ(reg.ReadString("TASKNUM"), "x");
}

}  // namespace
}  // namespace morrowick

// The accessor's contract against Wine's (or Windows') real registry, through the Win32
// back end, on a scratch key of the current user that each test starts empty.
#include <functional>

#include "registry_contract.h"
#include "store/registry_win32.h"

namespace morrowick {
namespace {

constexpr char kScratch[] = "Software\\MorrowickContract";

void DeleteTree(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  char child[256];
  DWORD length = sizeof(child);
  while (RegEnumKeyExA(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
    DeleteTree(root, path + "\\" + child);
    length = sizeof(child);
  }
  RegCloseKey(key);
  RegDeleteKeyA(root, path.c_str());
}

class Win32Backend : public RegistryBackend {
 public:
  Win32Backend() { DeleteTree(HKEY_CURRENT_USER, kScratch); }
  ~Win32Backend() override {
    reg.CloseKey();
    DeleteTree(HKEY_CURRENT_USER, kScratch);
  }
  std::string ScratchPath() const override { return std::string("\\") + kScratch; }
  RegistryAccessor& Accessor() override { return reg; }
  void PutRaw(const std::string& name, uint32_t type, const std::vector<uint8_t>& data) override {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
  }
  std::optional<RawValue> GetRaw(const std::string& name) override {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kScratch, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0, size = 0;
    std::optional<RawValue> out;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
      RawValue v{type, std::vector<uint8_t>(size)};
      RegQueryValueExA(key, name.c_str(), nullptr, &type, v.data.data(), &size);
      v.data.resize(size);
      out = v;
    }
    RegCloseKey(key);
    return out;
  }
  bool KeyExists(const std::string& path) override {
    HKEY key;
    const std::string sub = path.empty() || path[0] != '\\' ? path : path.substr(1);
    if (RegOpenKeyExA(HKEY_CURRENT_USER, sub.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  Win32Registry reg;
};

std::unique_ptr<RegistryBackend> MakeWin32() { return std::make_unique<Win32Backend>(); }

INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract, ::testing::Values(&MakeWin32));

}  // namespace
}  // namespace morrowick

// An in-memory registry with the accessor's semantics: value types are kept apart
// (REG_SZ, REG_EXPAND_SZ, REG_DWORD and any other type as raw bytes), writes can be
// made to fail, and every write is recorded so tests can see what start-up wrote.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "store/registry.h"

namespace morrowick {

enum : uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegMultiSz = 7,
};

struct RawValue {
  uint32_t type = kRegNone;
  std::vector<uint8_t> data;
};

class MemoryRegistry : public RegistryAccessor {
 public:
  void SetRootKey(RootKey root) override { root_ = root; }
  RootKey GetRootKey() const override { return root_; }
  bool OpenKey(const std::string& path, bool create) override;
  void CloseKey() override { current_.reset(); }
  bool ValueExists(const std::string& name) override;
  std::string ReadString(const std::string& name) override;
  int32_t ReadInteger(const std::string& name) override;
  void WriteString(const std::string& name, const std::string& text) override;
  void WriteInteger(const std::string& name, int32_t value) override;
  void DeleteValue(const std::string& name) override;

  // Test access, by full key name such as "HKLM\Software\Quorvane\Morrowick".
  static std::string KeyName(RootKey root, const std::string& path);
  bool KeyExists(const std::string& key) const { return keys_.count(Fold(key)) != 0; }
  void DeleteKey(const std::string& key);
  std::optional<RawValue> Get(const std::string& key, const std::string& name) const;
  void Put(const std::string& key, const std::string& name, RawValue value);
  void PutString(const std::string& key, const std::string& name, const std::string& text);
  void PutDword(const std::string& key, const std::string& name, uint32_t value);
  std::vector<std::string> ValueNames(const std::string& key) const;
  std::string CurrentKey() const { return current_.value_or(""); }

  // Every write makes this fail ("Failed to set data"); a non-empty set fails only those names.
  bool fail_writes = false;
  std::set<std::string> fail_write_names;
  // Key creation fails: OpenKey returns false and leaves the open key as it was.
  bool fail_open = false;
  // Writes and deletes, in order, as "write A1", "delete TaskNum".
  std::vector<std::string> log;

 private:
  static std::string Fold(const std::string& s);
  struct Key {
    std::string name;
    std::map<std::string, std::pair<std::string, RawValue>> values;  // folded -> (name, value)
  };
  Key* Current();
  const RawValue* Find(const std::string& name);
  void Store(const std::string& name, RawValue value);

  RootKey root_ = RootKey::CurrentUser;
  std::optional<std::string> current_;  // folded full key name
  std::map<std::string, Key> keys_;
};

}  // namespace morrowick

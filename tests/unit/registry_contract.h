// The accessor's semantics, run against every back end: the in-memory registry on the
// host and the Win32 one under Wine. A back end supplies a fixture that makes a fresh
// accessor over an empty scratch key and can plant and inspect raw typed values there.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "store/memory_registry.h"
#include "store/registry.h"

namespace morrowick {

class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;
  // The scratch key, as a path absolute from HKEY_CURRENT_USER; empty when the fixture starts.
  virtual std::string ScratchPath() const = 0;
  virtual RegistryAccessor& Accessor() = 0;
  virtual void PutRaw(const std::string& name, uint32_t type, const std::vector<uint8_t>& data) = 0;
  virtual std::optional<RawValue> GetRaw(const std::string& name) = 0;
  virtual bool KeyExists(const std::string& absolute_path) = 0;
};

using BackendFactory = std::unique_ptr<RegistryBackend> (*)();

class RegistryContract : public ::testing::TestWithParam<BackendFactory> {
 protected:
  void SetUp() override {
    backend = GetParam()();
    reg = &backend->Accessor();
  }
  void OpenScratch() { ASSERT_TRUE(reg->OpenKey(backend->ScratchPath(), true)); }
  static std::vector<uint8_t> Bytes(const std::string& s, bool nul) {
    std::vector<uint8_t> v(s.begin(), s.end());
    if (nul) v.push_back(0);
    return v;
  }
  static std::string ErrorOf(const std::function<void()>& f) {
    try {
      f();
    } catch (const RegistryError& e) {
      return e.what();
    }
    return "(no error)";
  }

  std::unique_ptr<RegistryBackend> backend;
  RegistryAccessor* reg = nullptr;
};

}  // namespace morrowick

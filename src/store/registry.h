// The registry accessor: the one way the program reaches its stored settings and tasks.
// Abstract so that tests and the host build can put an in-memory registry in its place.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace morrowick {

// Raised by the accessor with the exact texts the error report shows.
class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class RootKey : uint32_t {
  CurrentUser = 0x80000001u,
  LocalMachine = 0x80000002u,
};

class RegistryAccessor {
 public:
  virtual ~RegistryAccessor() = default;

  virtual void SetRootKey(RootKey root) = 0;
  virtual RootKey GetRootKey() const = 0;
  // Opens the path (a leading "\" makes it absolute from the root), creating missing
  // keys. On success the key open before is closed and the new one becomes current.
  virtual bool OpenKey(const std::string& path, bool create) = 0;
  virtual void CloseKey() = 0;
  virtual bool ValueExists(const std::string& name) = 0;
  // Missing value: empty text. Text values: the text up to the first NUL.
  // Any other type: "Invalid data type for '%s'".
  virtual std::string ReadString(const std::string& name) = 0;
  // Missing: "Failed to get data for '%s'"; not a DWORD: "Invalid data type for '%s'".
  virtual int32_t ReadInteger(const std::string& name) = 0;
  // Failure: "Failed to set data for '%s'".
  virtual void WriteString(const std::string& name, const std::string& text) = 0;
  virtual void WriteInteger(const std::string& name, int32_t value) = 0;
  virtual void DeleteValue(const std::string& name) = 0;
};

std::string FailedToSetText(const std::string& name);
std::string FailedToGetText(const std::string& name);
std::string InvalidDataTypeText(const std::string& name);

}  // namespace morrowick

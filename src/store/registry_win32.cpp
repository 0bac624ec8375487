#include "store/registry_win32.h"

#include <vector>

namespace morrowick {

HKEY Win32Registry::RootHandle() const {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<uint32_t>(root_)));
}

bool Win32Registry::OpenKey(const std::string& path, bool create) {
  // RegCreateKeyExA refuses a sub-key that begins with "\": an absolute path is
  // opened from the root without it; a relative one from the open key.
  const bool absolute = !path.empty() && path.front() == '\\';
  std::string sub = absolute ? path.substr(1) : path;
  HKEY base = (absolute || current_ == nullptr) ? RootHandle() : current_;
  HKEY opened = nullptr;
  LONG rc;
  if (create) {
    rc = RegCreateKeyExA(base, sub.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                         nullptr, &opened, nullptr);
  } else {
    rc = RegOpenKeyExA(base, sub.c_str(), 0, KEY_ALL_ACCESS, &opened);
  }
  if (rc != ERROR_SUCCESS) return false;
  CloseKey();
  current_ = opened;
  return true;
}

void Win32Registry::CloseKey() {
  if (current_ != nullptr) {
    RegCloseKey(current_);
    current_ = nullptr;
  }
}

bool Win32Registry::ValueExists(const std::string& name) {
  if (current_ == nullptr) return false;
  return RegQueryValueExA(current_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::string Win32Registry::ReadString(const std::string& name) {
  if (current_ == nullptr) return std::string();
  DWORD type = 0;
  DWORD size = 0;
  LONG rc = RegQueryValueExA(current_, name.c_str(), nullptr, &type, nullptr, &size);
  if (rc != ERROR_SUCCESS) return std::string();
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw RegistryError(InvalidDataTypeText(name));
  // The value may change between the two queries: ask again while the buffer is short.
  std::vector<char> buffer;
  do {
    buffer.assign(size + 1, '\0');
    size = static_cast<DWORD>(buffer.size() - 1);
    rc = RegQueryValueExA(current_, name.c_str(), nullptr, &type,
                          reinterpret_cast<BYTE*>(buffer.data()), &size);
  } while (rc == ERROR_MORE_DATA);
  if (rc != ERROR_SUCCESS) return std::string();
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw RegistryError(InvalidDataTypeText(name));
  // The text ends at the first NUL; data stored without one still ends at its size.
  size_t len = 0;
  while (len < size && buffer[len] != '\0') ++len;
  return std::string(buffer.data(), len);
}

int32_t Win32Registry::ReadInteger(const std::string& name) {
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (current_ == nullptr) throw RegistryError(FailedToGetText(name));
  LONG rc = RegQueryValueExA(current_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  if (rc == ERROR_FILE_NOT_FOUND) throw RegistryError(FailedToGetText(name));
  if (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
    if (type != REG_DWORD) throw RegistryError(InvalidDataTypeText(name));
  }
  if (rc != ERROR_SUCCESS || size != sizeof(value)) throw RegistryError(FailedToGetText(name));
  return static_cast<int32_t>(value);
}

void Win32Registry::WriteString(const std::string& name, const std::string& text) {
  // The stored size counts the terminating NUL.
  LONG rc = current_ == nullptr
                ? ERROR_INVALID_HANDLE
                : RegSetValueExA(current_, name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>(text.size() + 1));
  if (rc != ERROR_SUCCESS) throw RegistryError(FailedToSetText(name));
}

void Win32Registry::WriteInteger(const std::string& name, int32_t value) {
  DWORD data = static_cast<DWORD>(value);
  LONG rc = current_ == nullptr
                ? ERROR_INVALID_HANDLE
                : RegSetValueExA(current_, name.c_str(), 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&data), sizeof(data));
  if (rc != ERROR_SUCCESS) throw RegistryError(FailedToSetText(name));
}

void Win32Registry::DeleteValue(const std::string& name) {
  if (current_ != nullptr) RegDeleteValueA(current_, name.c_str());
}

}  // namespace morrowick

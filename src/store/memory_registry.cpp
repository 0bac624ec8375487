#include "store/memory_registry.h"

#include <cstring>

namespace morrowick {

// Key and value names compare without regard to ASCII case, as the Windows registry does.
std::string MemoryRegistry::Fold(const std::string& s) {
  std::string out = s;
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string MemoryRegistry::KeyName(RootKey root, const std::string& path) {
  std::string p = path;
  while (!p.empty() && p.front() == '\\') p.erase(0, 1);
  while (!p.empty() && p.back() == '\\') p.pop_back();
  std::string name = root == RootKey::LocalMachine ? "HKLM" : "HKCU";
  if (!p.empty()) name += "\\" + p;
  return name;
}

bool MemoryRegistry::OpenKey(const std::string& path, bool create) {
  std::string full;
  if (!path.empty() && path.front() == '\\') {
    full = KeyName(root_, path);
  } else if (current_) {
    full = keys_.at(*current_).name + "\\" + path;
  } else {
    full = KeyName(root_, path);
  }
  std::string folded = Fold(full);
  if (keys_.count(folded) == 0) {
    if (!create || fail_open) return false;
    // Creating a key creates its missing parents too.
    for (size_t pos = full.find('\\'); pos != std::string::npos; pos = full.find('\\', pos + 1)) {
      std::string parent = full.substr(0, pos);
      keys_.try_emplace(Fold(parent), Key{parent, {}});
    }
    keys_.try_emplace(folded, Key{full, {}});
  }
  current_ = folded;
  return true;
}

MemoryRegistry::Key* MemoryRegistry::Current() {
  if (!current_) return nullptr;
  auto it = keys_.find(*current_);
  return it == keys_.end() ? nullptr : &it->second;
}

const RawValue* MemoryRegistry::Find(const std::string& name) {
  Key* key = Current();
  if (key == nullptr) return nullptr;
  auto it = key->values.find(Fold(name));
  return it == key->values.end() ? nullptr : &it->second.second;
}

bool MemoryRegistry::ValueExists(const std::string& name) { return Find(name) != nullptr; }

std::string MemoryRegistry::ReadString(const std::string& name) {
  const RawValue* v = Find(name);
  if (v == nullptr) return std::string();
  if (v->type != kRegSz && v->type != kRegExpandSz) throw RegistryError(InvalidDataTypeText(name));
  // The text ends at the first NUL, or with the data when the NUL is missing.
  const char* begin = reinterpret_cast<const char*>(v->data.data());
  size_t len = 0;
  while (len < v->data.size() && begin[len] != '\0') ++len;
  return std::string(begin, len);
}

int32_t MemoryRegistry::ReadInteger(const std::string& name) {
  const RawValue* v = Find(name);
  if (v == nullptr) throw RegistryError(FailedToGetText(name));
  if (v->type != kRegDword) throw RegistryError(InvalidDataTypeText(name));
  if (v->data.size() != 4) throw RegistryError(FailedToGetText(name));
  uint32_t value = 0;
  std::memcpy(&value, v->data.data(), 4);
  return static_cast<int32_t>(value);
}

void MemoryRegistry::Store(const std::string& name, RawValue value) {
  Key* key = Current();
  if (key == nullptr || fail_writes || fail_write_names.count(name) != 0) {
    throw RegistryError(FailedToSetText(name));
  }
  key->values[Fold(name)] = {name, std::move(value)};
  log.push_back("write " + name);
}

void MemoryRegistry::WriteString(const std::string& name, const std::string& text) {
  RawValue v{kRegSz, std::vector<uint8_t>(text.begin(), text.end())};
  v.data.push_back(0);
  Store(name, std::move(v));
}

void MemoryRegistry::WriteInteger(const std::string& name, int32_t value) {
  RawValue v{kRegDword, std::vector<uint8_t>(4)};
  uint32_t u = static_cast<uint32_t>(value);
  std::memcpy(v.data.data(), &u, 4);
  Store(name, std::move(v));
}

void MemoryRegistry::DeleteValue(const std::string& name) {
  Key* key = Current();
  if (key == nullptr) return;
  if (key->values.erase(Fold(name)) != 0) log.push_back("delete " + name);
}

void MemoryRegistry::DeleteKey(const std::string& key) {
  std::string folded = Fold(key);
  for (auto it = keys_.begin(); it != keys_.end();) {
    if (it->first == folded || it->first.rfind(folded + "\\", 0) == 0) {
      it = keys_.erase(it);
    } else {
      ++it;
    }
  }
  // A handle to a deleted key stays open but no longer reaches any value.
  if (current_ && keys_.count(*current_) == 0) current_.reset();
}

std::optional<RawValue> MemoryRegistry::Get(const std::string& key, const std::string& name) const {
  auto k = keys_.find(Fold(key));
  if (k == keys_.end()) return std::nullopt;
  auto v = k->second.values.find(Fold(name));
  if (v == k->second.values.end()) return std::nullopt;
  return v->second.second;
}

void MemoryRegistry::Put(const std::string& key, const std::string& name, RawValue value) {
  for (size_t pos = key.find('\\'); pos != std::string::npos; pos = key.find('\\', pos + 1)) {
    keys_.try_emplace(Fold(key.substr(0, pos)), Key{key.substr(0, pos), {}});
  }
  keys_.try_emplace(Fold(key), Key{key, {}});
  keys_.at(Fold(key)).values[Fold(name)] = {name, std::move(value)};
}

void MemoryRegistry::PutString(const std::string& key, const std::string& name, const std::string& text) {
  RawValue v{kRegSz, std::vector<uint8_t>(text.begin(), text.end())};
  v.data.push_back(0);
  Put(key, name, std::move(v));
}

void MemoryRegistry::PutDword(const std::string& key, const std::string& name, uint32_t value) {
  RawValue v{kRegDword, std::vector<uint8_t>(4)};
  std::memcpy(v.data.data(), &value, 4);
  Put(key, name, std::move(v));
}

std::vector<std::string> MemoryRegistry::ValueNames(const std::string& key) const {
  std::vector<std::string> names;
  auto k = keys_.find(Fold(key));
  if (k == keys_.end()) return names;
  for (const auto& [folded, entry] : k->second.values) names.push_back(entry.first);
  return names;
}

}  // namespace morrowick

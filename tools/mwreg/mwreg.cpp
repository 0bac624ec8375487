// mwreg: reads and writes registry values byte for byte for the Wine tests.
//   mwreg dump <key>                    one line per value: name, type, hex data, text (UTF-8)
//   mwreg set <key> <name> <type> <hex> type: sz, expand, dword, binary, or a number
//   mwreg settext <key> <name> <text>   REG_SZ from UTF-8 text, stored as GBK with its NUL
//   mwreg setdword <key> <name> <n>
//   mwreg delete <key> <name>           mwreg deletekey <key>
// Keys are written HKLM\... or HKCU\...; names and texts are UTF-8 on the command line.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Narrow(const std::wstring& w, UINT cp) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(cp, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(cp, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::wstring Widen(const std::string& s, UINT cp) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::string Ansi(const std::wstring& w) { return Narrow(w, CP_ACP); }

bool SplitKey(const std::wstring& full, HKEY& root, std::string& sub) {
  size_t slash = full.find(L'\\');
  std::wstring head = full.substr(0, slash);
  if (head == L"HKLM" || head == L"HKEY_LOCAL_MACHINE") root = HKEY_LOCAL_MACHINE;
  else if (head == L"HKCU" || head == L"HKEY_CURRENT_USER") root = HKEY_CURRENT_USER;
  else return false;
  sub = slash == std::wstring::npos ? std::string() : Ansi(full.substr(slash + 1));
  return true;
}

std::vector<BYTE> FromHex(const std::wstring& hex) {
  std::vector<BYTE> out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<BYTE>(std::wcstoul(hex.substr(i, 2).c_str(), nullptr, 16)));
  }
  return out;
}

DWORD TypeOf(const std::wstring& t) {
  if (t == L"sz") return REG_SZ;
  if (t == L"expand") return REG_EXPAND_SZ;
  if (t == L"dword") return REG_DWORD;
  if (t == L"binary") return REG_BINARY;
  return static_cast<DWORD>(std::wcstoul(t.c_str(), nullptr, 0));
}

int Dump(HKEY root, const std::string& sub) {
  HKEY key;
  if (RegOpenKeyExA(root, sub.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    std::printf("no key\n");
    return 1;
  }
  for (DWORD i = 0;; ++i) {
    char name[16384];
    DWORD name_len = sizeof(name);
    DWORD type = 0, size = 0;
    LONG rc = RegEnumValueA(key, i, name, &name_len, nullptr, &type, nullptr, &size);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) break;
    std::vector<BYTE> data(size + 1);
    DWORD got = size;
    RegQueryValueExA(key, name, nullptr, &type, data.data(), &got);
    data.resize(got);
    std::string hex;
    char buf[4];
    for (size_t j = 0; j < data.size() && j < 4096; ++j) {
      std::snprintf(buf, sizeof(buf), "%02x", data[j]);
      hex += buf;
    }
    if (data.size() > 4096) hex += "...";
    std::string text;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
      std::string raw(data.begin(), data.end());
      size_t nul = raw.find('\0');
      if (nul != std::string::npos) raw.resize(nul);
      if (raw.size() > 4096) raw.resize(4096);
      text = Narrow(Widen(raw, CP_ACP), CP_UTF8);
    } else if (type == REG_DWORD && data.size() == 4) {
      text = std::to_string(*reinterpret_cast<DWORD*>(data.data()));
    }
    std::printf("%s\t%lu\t%lu\t%s\t%s\n", Narrow(Widen(name, CP_ACP), CP_UTF8).c_str(),
                static_cast<unsigned long>(type), static_cast<unsigned long>(data.size()), hex.c_str(),
                text.c_str());
  }
  RegCloseKey(key);
  return 0;
}

int Set(HKEY root, const std::string& sub, const std::string& name, DWORD type, const std::vector<BYTE>& data) {
  HKEY key;
  if (RegCreateKeyExA(root, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return 1;
  }
  LONG rc = RegSetValueExA(key, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS ? 0 : 1;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 3) {
    std::fprintf(stderr, "usage: mwreg dump|set|settext|setdword|delete|deletekey <key> ...\n");
    return 2;
  }
  std::wstring cmd = argv[1];
  HKEY root;
  std::string sub;
  if (!SplitKey(argv[2], root, sub)) return 2;
  auto arg = [&](int i) { return i < argc ? std::wstring(argv[i]) : std::wstring(); };
  std::string name = Ansi(arg(3));
  if (cmd == L"dump") return Dump(root, sub);
  if (cmd == L"set") return Set(root, sub, name, TypeOf(arg(4)), FromHex(arg(5)));
  if (cmd == L"settext") {
    std::string text = Ansi(arg(4));
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    return Set(root, sub, name, REG_SZ, data);
  }
  if (cmd == L"setdword") {
    DWORD v = static_cast<DWORD>(std::wcstol(arg(4).c_str(), nullptr, 0));
    std::vector<BYTE> data(reinterpret_cast<BYTE*>(&v), reinterpret_cast<BYTE*>(&v) + 4);
    return Set(root, sub, name, REG_DWORD, data);
  }
  if (cmd == L"delete") {
    HKEY key;
    if (RegOpenKeyExA(root, sub.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return 1;
    LONG rc = RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? 0 : 1;
  }
  if (cmd == L"deletekey") {
    // Depth-first: a key with sub-keys cannot be deleted at once.
    std::vector<std::string> stack{sub};
    while (!stack.empty()) {
      std::string k = stack.back();
      HKEY h;
      if (RegOpenKeyExA(root, k.c_str(), 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS) {
        stack.pop_back();
        continue;
      }
      char child[1024];
      DWORD len = sizeof(child);
      if (RegEnumKeyExA(h, 0, child, &len, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        RegCloseKey(h);
        stack.push_back(k + "\\" + child);
        continue;
      }
      RegCloseKey(h);
      RegDeleteKeyA(root, k.c_str());
      stack.pop_back();
    }
    return 0;
  }
  return 2;
}

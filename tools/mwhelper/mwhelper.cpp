// mwhelper: a console program the Wine tests use to look at and drive the
// windows of another process (Morrowick.exe) without clicking pixels.
//
//   mwhelper <command> [arguments...]
//
// Arguments are read as UTF-16 from the command line, so UTF-8 text given by
// the test script arrives intact; everything printed is UTF-8, one line per
// item, fields separated by tabs. Texts are escaped: backslash, tab, CR and LF
// become \\ \t \r \n. Exit code 0 on success, 1 when the window, control or
// item was not found (or a wait timed out), 2 on a usage error or a failed
// system call. The command list and the fields are in README.md beside this
// file.

#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <psapi.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kOk = 0;
constexpr int kNotFound = 1;
constexpr int kFailed = 2;
constexpr UINT kSendTimeoutMs = 5000;

// ---------------------------------------------------------------- text

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), s.data(), n, nullptr, nullptr);
  return s;
}

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::string Escaped(const std::wstring& w) {
  std::wstring out;
  for (wchar_t c : w) {
    switch (c) {
      case L'\\': out += L"\\\\"; break;
      case L'\t': out += L"\\t"; break;
      case L'\r': out += L"\\r"; break;
      case L'\n': out += L"\\n"; break;
      default: out += c;
    }
  }
  return Utf8(out);
}

std::string Hex(unsigned long v) {
  char buf[16];
  snprintf(buf, sizeof buf, "0x%08lx", v);
  return buf;
}

std::string HexHandle(const void* h) { return Hex((unsigned long)(ULONG_PTR)h); }

std::string Dec(long v) { return std::to_string(v); }

void Out(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) line += '\t';
    line += fields[i];
  }
  line += '\n';
  fwrite(line.data(), 1, line.size(), stdout);
}

int Fail(int code, const std::wstring& message) {
  std::string s = "mwhelper: " + Utf8(message) + "\n";
  fwrite(s.data(), 1, s.size(), stderr);
  return code;
}

std::wstring Lower(std::wstring s) {
  for (auto& c : s) c = towlower(c);
  return s;
}

// '*' matches any run of characters, '?' any one character.
bool Glob(const wchar_t* pat, const wchar_t* s) {
  const wchar_t* star = nullptr;
  const wchar_t* resume = nullptr;
  while (*s) {
    if (*pat == L'*') {
      star = pat++;
      resume = s;
    } else if (*pat == L'?' || *pat == *s) {
      ++pat;
      ++s;
    } else if (star) {
      pat = star + 1;
      s = ++resume;
    } else {
      return false;
    }
  }
  while (*pat == L'*') ++pat;
  return *pat == 0;
}

// Caption with the '&' mnemonic markers removed ("&&" stands for one '&').
std::wstring StripMnemonic(const std::wstring& s) {
  std::wstring out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == L'&') {
      if (i + 1 < s.size() && s[i + 1] == L'&') {
        out += L'&';
        ++i;
      }
      continue;
    }
    out += s[i];
  }
  return out;
}

// Decimal or 0x-hex, optionally negative.
bool ParseNumber(const std::wstring& s, long long* value) {
  if (s.empty()) return false;
  size_t i = 0;
  bool negative = false;
  if (s[0] == L'-' || s[0] == L'+') {
    negative = s[0] == L'-';
    i = 1;
  }
  int base = 10;
  if (s.size() > i + 2 && s[i] == L'0' && (s[i + 1] == L'x' || s[i + 1] == L'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return false;
  unsigned long long v = 0;
  for (; i < s.size(); ++i) {
    int d;
    wchar_t c = s[i];
    if (c >= L'0' && c <= L'9') d = c - L'0';
    else if (base == 16 && c >= L'a' && c <= L'f') d = c - L'a' + 10;
    else if (base == 16 && c >= L'A' && c <= L'F') d = c - L'A' + 10;
    else return false;
    v = v * base + d;
  }
  *value = negative ? -(long long)v : (long long)v;
  return true;
}

// ---------------------------------------------------------------- windows

std::wstring ClassOf(HWND h) {
  wchar_t buf[256];
  int n = GetClassNameW(h, buf, 256);
  return std::wstring(buf, n > 0 ? n : 0);
}

// The caption as the window itself reports it (WM_GETTEXT, marshalled across
// processes by the system), so edits and combo boxes give their current text.
std::wstring TextOf(HWND h) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &len)) {
    wchar_t buf[1024];
    int n = GetWindowTextW(h, buf, 1024);
    return std::wstring(buf, n > 0 ? n : 0);
  }
  std::vector<wchar_t> buf(len + 2);
  DWORD_PTR got = 0;
  SendMessageTimeoutW(h, WM_GETTEXT, (WPARAM)buf.size(), (LPARAM)buf.data(), SMTO_ABORTIFHUNG, 1000,
                      &got);
  return std::wstring(buf.data(), wcsnlen(buf.data(), buf.size()));
}

// The internal caption only: never sends a message, so a busy window can't stall us.
std::wstring CaptionOf(HWND h) {
  wchar_t buf[1024];
  int n = GetWindowTextW(h, buf, 1024);
  return std::wstring(buf, n > 0 ? n : 0);
}

DWORD PidOf(HWND h) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  return pid;
}

LRESULT Send(HWND h, UINT msg, WPARAM w, LPARAM l, bool* ok = nullptr) {
  DWORD_PTR result = 0;
  LRESULT r = SendMessageTimeoutW(h, msg, w, l, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
  if (ok) *ok = r != 0;
  return (LRESULT)result;
}

struct WindowSpec {
  bool byHandle = false;
  HWND handle = nullptr;
  std::wstring classPattern;  // lower case
  std::wstring titlePattern;  // empty: any title
  bool hasTitle = false;
};

WindowSpec ParseWindowSpec(const std::wstring& arg) {
  WindowSpec want;
  long long v;
  if (arg.size() > 2 && arg[0] == L'0' && (arg[1] == L'x' || arg[1] == L'X') && ParseNumber(arg, &v)) {
    want.byHandle = true;
    want.handle = (HWND)(ULONG_PTR)v;
    return want;
  }
  if (arg == L"broadcast") {
    want.byHandle = true;
    want.handle = HWND_BROADCAST;
    return want;
  }
  size_t colon = arg.find(L':');
  want.classPattern = Lower(arg.substr(0, colon));
  if (colon != std::wstring::npos) {
    want.hasTitle = true;
    want.titlePattern = arg.substr(colon + 1);
  }
  return want;
}

bool Matches(const WindowSpec& want, HWND h) {
  if (!Glob(want.classPattern.c_str(), Lower(ClassOf(h)).c_str())) return false;
  return !want.hasTitle || Glob(want.titlePattern.c_str(), CaptionOf(h).c_str());
}

BOOL CALLBACK CollectWindow(HWND h, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
  return TRUE;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> all;
  EnumWindows(CollectWindow, (LPARAM)&all);
  return all;
}

// Every window below parent, depth first: a child, then its own children, then the next child.
std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(parent, CollectWindow, (LPARAM)&all);
  return all;
}

std::vector<HWND> FindTopLevel(const WindowSpec& want) {
  std::vector<HWND> found;
  for (HWND h : TopLevelWindows())
    if (Matches(want, h)) found.push_back(h);
  return found;
}

// A window argument: a handle, or the first matching top-level window in
// Z order, a visible one before a hidden one.
HWND ResolveWindow(const std::wstring& arg) {
  WindowSpec want = ParseWindowSpec(arg);
  if (want.byHandle) {
    if (want.handle == HWND_BROADCAST) return want.handle;
    return IsWindow(want.handle) ? want.handle : nullptr;
  }
  HWND hidden = nullptr;
  for (HWND h : FindTopLevel(want)) {
    if (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) return h;
    if (!hidden) hidden = h;
  }
  return hidden;
}

// A control argument inside a window: a decimal control id, a 0x handle,
// "Class#N" (the N-th descendant of that class, counting from 0) or "Class"
// (the first one).
HWND ResolveControl(HWND parent, const std::wstring& arg) {
  long long v;
  if (arg.size() > 2 && arg[0] == L'0' && (arg[1] == L'x' || arg[1] == L'X') && ParseNumber(arg, &v)) {
    HWND h = (HWND)(ULONG_PTR)v;
    return IsWindow(h) ? h : nullptr;
  }
  if (ParseNumber(arg, &v)) {
    for (HWND h : Descendants(parent))
      if (GetDlgCtrlID(h) == (int)v) return h;
    return nullptr;
  }
  size_t hash = arg.rfind(L'#');
  std::wstring cls = arg;
  long long index = 0;
  if (hash != std::wstring::npos && hash > 0 && ParseNumber(arg.substr(hash + 1), &index))
    cls = arg.substr(0, hash);
  cls = Lower(cls);
  for (HWND h : Descendants(parent)) {
    if (Glob(cls.c_str(), Lower(ClassOf(h)).c_str())) {
      if (index == 0) return h;
      --index;
    }
  }
  return nullptr;
}

std::vector<std::string> TopLevelFields(HWND h) {
  RECT r = {};
  GetWindowRect(h, &r);
  LONG style = GetWindowLongW(h, GWL_STYLE);
  return {HexHandle(h),
          Escaped(ClassOf(h)),
          Escaped(CaptionOf(h)),
          (style & WS_VISIBLE) ? "1" : "0",
          Dec((long)PidOf(h)),
          Dec(r.left),
          Dec(r.top),
          Dec(r.right),
          Dec(r.bottom),
          Hex((unsigned long)style),
          Hex((unsigned long)GetWindowLongW(h, GWL_EXSTYLE)),
          HexHandle(GetWindow(h, GW_OWNER))};
}

// ---------------------------------------------------------------- memory in another process

// A block of memory inside the process that owns a window, for the control
// messages that take pointers (list view, date picker), which the system
// does not marshal between processes.
class RemoteBlock {
 public:
  RemoteBlock(HWND owner, size_t size, DWORD extraAccess = 0) : size_(size) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                               PROCESS_QUERY_INFORMATION | extraAccess,
                           FALSE, PidOf(owner));
    if (process_)
      address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE,
                                extraAccess ? PAGE_EXECUTE_READWRITE : PAGE_READWRITE);
  }
  ~RemoteBlock() {
    if (address_ && !leak_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  bool ok() const { return address_ != nullptr; }
  // Keeps the memory after we are gone, for a remote thread that may still use it.
  void Leak() { leak_ = true; }
  HANDLE process() const { return process_; }
  char* address(size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
  bool Write(size_t offset, const void* data, size_t n) const {
    SIZE_T done = 0;
    return offset + n <= size_ && WriteProcessMemory(process_, address(offset), data, n, &done) && done == n;
  }
  bool Read(size_t offset, void* data, size_t n) const {
    SIZE_T done = 0;
    return offset + n <= size_ && ReadProcessMemory(process_, address(offset), data, n, &done) && done == n;
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_;
  bool leak_ = false;
};

constexpr int kRemoteTextChars = 1024;

// ---------------------------------------------------------------- list view

int ListViewColumns(HWND lv) {
  HWND header = (HWND)Send(lv, LVM_GETHEADER, 0, 0);
  int n = header ? (int)Send(header, HDM_GETITEMCOUNT, 0, 0) : 0;
  return n > 0 ? n : 1;
}

std::wstring ListViewText(const RemoteBlock& mem, HWND lv, int row, int col) {
  LVITEMW item = {};
  item.iSubItem = col;
  item.cchTextMax = kRemoteTextChars;
  item.pszText = reinterpret_cast<LPWSTR>(mem.address(sizeof(LVITEMW)));
  wchar_t zero = 0;
  mem.Write(sizeof(LVITEMW), &zero, sizeof zero);
  if (!mem.Write(0, &item, sizeof item)) return {};
  Send(lv, LVM_GETITEMTEXTW, row, (LPARAM)mem.address());
  std::vector<wchar_t> buf(kRemoteTextChars);
  if (!mem.Read(sizeof(LVITEMW), buf.data(), buf.size() * sizeof(wchar_t))) return {};
  buf.back() = 0;
  return buf.data();
}

struct HeaderColumn {
  int width;
  std::wstring text;
};

std::vector<HeaderColumn> ListViewHeader(HWND lv) {
  std::vector<HeaderColumn> cols;
  HWND header = (HWND)Send(lv, LVM_GETHEADER, 0, 0);
  if (!header) return cols;
  int n = (int)Send(header, HDM_GETITEMCOUNT, 0, 0);
  RemoteBlock mem(lv, sizeof(HDITEMW) + kRemoteTextChars * sizeof(wchar_t));
  if (!mem.ok()) return cols;
  for (int i = 0; i < n; ++i) {
    HDITEMW item = {};
    item.mask = HDI_TEXT | HDI_WIDTH;
    item.pszText = reinterpret_cast<LPWSTR>(mem.address(sizeof(HDITEMW)));
    item.cchTextMax = kRemoteTextChars;
    wchar_t zero = 0;
    mem.Write(sizeof(HDITEMW), &zero, sizeof zero);
    mem.Write(0, &item, sizeof item);
    Send(header, HDM_GETITEMW, i, (LPARAM)mem.address());
    HDITEMW back = {};
    mem.Read(0, &back, sizeof back);
    std::vector<wchar_t> buf(kRemoteTextChars);
    mem.Read(sizeof(HDITEMW), buf.data(), buf.size() * sizeof(wchar_t));
    buf.back() = 0;
    cols.push_back({back.cxy, buf.data()});
  }
  return cols;
}

bool SelectListViewRow(HWND lv, int row) {
  RemoteBlock mem(lv, sizeof(LVITEMW));
  if (!mem.ok()) return false;
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  mem.Write(0, &item, sizeof item);
  Send(lv, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)mem.address());
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  mem.Write(0, &item, sizeof item);
  bool ok = Send(lv, LVM_SETITEMSTATE, row, (LPARAM)mem.address()) != 0;
  Send(lv, LVM_ENSUREVISIBLE, row, FALSE);
  return ok;
}

// ---------------------------------------------------------------- date and time picker

bool ReadPickerTime(HWND dtp, SYSTEMTIME* st) {
  RemoteBlock mem(dtp, sizeof(SYSTEMTIME));
  if (!mem.ok()) return false;
  if (Send(dtp, DTM_GETSYSTEMTIME, 0, (LPARAM)mem.address()) != GDT_VALID) return false;
  return mem.Read(0, st, sizeof *st);
}

std::string FormatTime(const SYSTEMTIME& st) {
  char buf[40];
  snprintf(buf, sizeof buf, "%04u-%02u-%02uT%02u:%02u:%02u", st.wYear, st.wMonth, st.wDay, st.wHour,
           st.wMinute, st.wSecond);
  return buf;
}

bool ParseTime(const std::wstring& s, SYSTEMTIME* st) {
  unsigned y, mo, d, h = 0, mi = 0, se = 0;
  int n = swscanf(s.c_str(), L"%u-%u-%uT%u:%u:%u", &y, &mo, &d, &h, &mi, &se);
  if (n != 3 && n != 5 && n != 6) return false;
  *st = {};
  st->wYear = (WORD)y;
  st->wMonth = (WORD)mo;
  st->wDay = (WORD)d;
  st->wHour = (WORD)h;
  st->wMinute = (WORD)mi;
  st->wSecond = (WORD)se;
  FILETIME ft;  // fills in the day of the week and rejects impossible dates
  if (!SystemTimeToFileTime(st, &ft) || !FileTimeToSystemTime(&ft, st)) return false;
  return true;
}

// ---------------------------------------------------------------- per-class details

bool IsClass(HWND h, const wchar_t* cls) { return Lower(ClassOf(h)) == Lower(cls); }

bool IsCheckable(HWND h) {
  if (!IsClass(h, WC_BUTTONW)) return false;
  switch (GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON:
    case BS_3STATE: case BS_AUTO3STATE:
      return true;
  }
  return false;
}

// Numbers a test wants to know about a control beyond its text, as
// key=value pairs separated by ';'.
std::string Details(HWND h) {
  std::string d;
  auto add = [&](const char* key, long value) {
    if (!d.empty()) d += ';';
    d += key;
    d += '=';
    d += Dec(value);
  };
  if (IsCheckable(h)) {
    add("check", (long)Send(h, BM_GETCHECK, 0, 0));
  } else if (IsClass(h, PROGRESS_CLASSW)) {
    add("pos", (long)Send(h, PBM_GETPOS, 0, 0));
    add("min", (long)Send(h, PBM_GETRANGE, TRUE, 0));
    add("max", (long)Send(h, PBM_GETRANGE, FALSE, 0));
  } else if (IsClass(h, WC_COMBOBOXW)) {
    add("sel", (long)Send(h, CB_GETCURSEL, 0, 0));
    add("count", (long)Send(h, CB_GETCOUNT, 0, 0));
  } else if (IsClass(h, WC_LISTBOXW)) {
    add("sel", (long)Send(h, LB_GETCURSEL, 0, 0));
    add("count", (long)Send(h, LB_GETCOUNT, 0, 0));
  } else if (IsClass(h, WC_LISTVIEWW)) {
    add("rows", (long)Send(h, LVM_GETITEMCOUNT, 0, 0));
    add("cols", ListViewColumns(h));
    add("selected", (long)Send(h, LVM_GETSELECTEDCOUNT, 0, 0));
    add("sel", (long)Send(h, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED));
  } else if (IsClass(h, DATETIMEPICK_CLASSW)) {
    SYSTEMTIME st;
    if (ReadPickerTime(h, &st)) {
      if (!d.empty()) d += ';';
      d += "time=" + FormatTime(st);
    }
  }
  return d;
}

// ---------------------------------------------------------------- code run inside the owner

// Some things can only be done from inside the process that owns a window:
// Wine keeps menus private to their process and refuses WM_NOTIFY between
// processes. For those, a small function is copied into that process and run
// there as a thread on a block of data copied along with it. Such a function
// touches nothing but its block: no globals, no calls except through the
// function pointers the block carries.
#define MW_REMOTE_CODE __attribute__((noinline, optimize("O1", "no-tree-loop-distribute-patterns")))

constexpr size_t kRemoteCodeBytes = 1024;  // more than either remote function needs

// Where one of our user32 functions lives in another process: at the same
// offset from that process's user32 base.
void* RemoteUser32Proc(HANDLE process, const char* name) {
  HMODULE local = GetModuleHandleW(L"user32.dll");
  char* proc = reinterpret_cast<char*>(GetProcAddress(local, name));
  HMODULE modules[512];
  DWORD needed = 0;
  if (EnumProcessModules(process, modules, sizeof modules, &needed)) {
    for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 512; ++i) {
      wchar_t base[MAX_PATH];
      if (GetModuleBaseNameW(process, modules[i], base, MAX_PATH) && Lower(base) == L"user32.dll")
        return reinterpret_cast<char*>(modules[i]) + (proc - reinterpret_cast<char*>(local));
    }
  }
  return proc;  // system DLLs normally sit at the same address in every process
}

// fill(process) completes the block once the process is open (the function
// pointers depend on it); the block is read back after the thread ends.
template <typename Block, typename Fill>
bool RunInOwner(HWND owner, LPTHREAD_START_ROUTINE code, Block* block, Fill fill) {
  RemoteBlock mem(owner, kRemoteCodeBytes + sizeof(Block), PROCESS_CREATE_THREAD);
  if (!mem.ok()) return false;
  fill(mem.process());
  if (!mem.Write(0, reinterpret_cast<const void*>(code), kRemoteCodeBytes) ||
      !mem.Write(kRemoteCodeBytes, block, sizeof(Block)))
    return false;
  HANDLE thread = CreateRemoteThread(mem.process(), nullptr, 0,
                                     reinterpret_cast<LPTHREAD_START_ROUTINE>(mem.address()),
                                     mem.address(kRemoteCodeBytes), 0, nullptr);
  if (!thread) return false;
  DWORD waited = WaitForSingleObject(thread, kSendTimeoutMs);
  CloseHandle(thread);
  if (waited != WAIT_OBJECT_0) {
    mem.Leak();  // the thread may still run: freeing its code would crash the program
    return false;
  }
  return mem.Read(kRemoteCodeBytes, block, sizeof(Block));
}

// ---------------------------------------------------------------- menus

constexpr int kMaxMenuItems = 64;
constexpr int kMenuTextChars = 128;

struct MenuItem {
  UINT id;
  UINT type;
  UINT state;
  HMENU submenu;
  wchar_t text[kMenuTextChars];
};

typedef int(WINAPI* GetMenuItemCountFn)(HMENU);
typedef BOOL(WINAPI* GetMenuItemInfoWFn)(HMENU, UINT, BOOL, LPMENUITEMINFOW);

struct MenuBlock {
  GetMenuItemCountFn getCount;
  GetMenuItemInfoWFn getInfo;
  HMENU menu;
  int count;
  MENUITEMINFOW info;
  MenuItem items[kMaxMenuItems];
};

MW_REMOTE_CODE DWORD WINAPI ReadMenuInOwner(LPVOID param) {
  MenuBlock* b = static_cast<MenuBlock*>(param);
  int n = b->getCount(b->menu);
  if (n > kMaxMenuItems) n = kMaxMenuItems;
  b->count = n;
  for (int i = 0; i < n; ++i) {
    MenuItem* it = &b->items[i];
    MENUITEMINFOW* m = &b->info;
    m->cbSize = sizeof(MENUITEMINFOW);
    m->fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    m->fType = 0;
    m->fState = 0;
    m->wID = 0;
    m->hSubMenu = nullptr;
    m->hbmpChecked = nullptr;
    m->hbmpUnchecked = nullptr;
    m->dwItemData = 0;
    m->dwTypeData = it->text;
    m->cch = kMenuTextChars - 1;
    m->hbmpItem = nullptr;
    it->text[0] = 0;
    if (b->getInfo(b->menu, (UINT)i, TRUE, m)) {
      it->id = m->wID;
      it->type = m->fType;
      it->state = m->fState;
      it->submenu = m->hSubMenu;
    } else {
      it->id = 0;
      it->type = 0xFFFFFFFF;
      it->state = 0;
      it->submenu = nullptr;
    }
    it->text[kMenuTextChars - 1] = 0;
  }
  return (DWORD)n;
}

// Reads a menu directly where menus are shared between processes (Windows),
// otherwise inside the process that owns it.
bool ReadMenu(HWND menuWindow, HMENU menu, std::vector<MenuItem>* items) {
  items->clear();
  int n = GetMenuItemCount(menu);
  if (n >= 0) {
    for (int i = 0; i < n && i < kMaxMenuItems; ++i) {
      MenuItem it = {};
      MENUITEMINFOW m = {};
      m.cbSize = sizeof m;
      m.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
      m.dwTypeData = it.text;
      m.cch = kMenuTextChars - 1;
      if (!GetMenuItemInfoW(menu, i, TRUE, &m)) return false;
      it.id = m.wID;
      it.type = m.fType;
      it.state = m.fState;
      it.submenu = m.hSubMenu;
      items->push_back(it);
    }
    return true;
  }
  static MenuBlock block;  // large; kept off the stack
  block = {};
  block.menu = menu;
  block.count = -1;
  if (!RunInOwner(menuWindow, ReadMenuInOwner, &block, [](HANDLE process) {
        block.getCount = reinterpret_cast<GetMenuItemCountFn>(RemoteUser32Proc(process, "GetMenuItemCount"));
        block.getInfo = reinterpret_cast<GetMenuItemInfoWFn>(RemoteUser32Proc(process, "GetMenuItemInfoW"));
      }))
    return false;
  if (block.count < 0) return false;
  for (int i = 0; i < block.count; ++i) items->push_back(block.items[i]);
  return true;
}

// ---------------------------------------------------------------- notifications

typedef LRESULT(WINAPI* SendMessageWFn)(HWND, UINT, WPARAM, LPARAM);

struct DateNotifyBlock {
  SendMessageWFn send;
  HWND parent;
  LRESULT result;
  NMDATETIMECHANGE nm;
};

MW_REMOTE_CODE DWORD WINAPI SendDateNotifyInOwner(LPVOID param) {
  DateNotifyBlock* b = static_cast<DateNotifyBlock*>(param);
  b->result = b->send(b->parent, WM_NOTIFY, b->nm.nmhdr.idFrom, (LPARAM)&b->nm);
  return 0;
}

// Tells the picker's parent of a new date, as the picker does after a user's change.
bool NotifyDateChange(HWND picker, const SYSTEMTIME& st) {
  DateNotifyBlock block = {};
  block.parent = GetParent(picker);
  block.nm.nmhdr.hwndFrom = picker;
  block.nm.nmhdr.idFrom = (UINT_PTR)GetDlgCtrlID(picker);
  block.nm.nmhdr.code = DTN_DATETIMECHANGE;
  block.nm.dwFlags = GDT_VALID;
  block.nm.st = st;
  return RunInOwner(picker, SendDateNotifyInOwner, &block, [&](HANDLE process) {
    block.send = reinterpret_cast<SendMessageWFn>(RemoteUser32Proc(process, "SendMessageW"));
  });
}

// ---------------------------------------------------------------- commands

using Args = std::vector<std::wstring>;

int CmdList(const Args& a) {
  WindowSpec want = ParseWindowSpec(a.size() > 0 ? a[0] : L"*");
  int n = 0;
  if (want.byHandle) {
    if (!IsWindow(want.handle)) return kNotFound;
    Out(TopLevelFields(want.handle));
    return kOk;
  }
  for (HWND h : FindTopLevel(want)) {
    Out(TopLevelFields(h));
    ++n;
  }
  return n ? kOk : kNotFound;
}

int CmdChildren(const Args& a) {
  if (a.empty()) return Fail(kFailed, L"usage: children <window> [class]");
  HWND parent = ResolveWindow(a[0]);
  if (!parent) return Fail(kNotFound, L"no window " + a[0]);
  std::wstring filter = a.size() > 1 ? Lower(a[1]) : L"*";
  int n = 0;
  for (HWND h : Descendants(parent)) {
    if (!Glob(filter.c_str(), Lower(ClassOf(h)).c_str())) continue;
    RECT r = {};
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    LONG style = GetWindowLongW(h, GWL_STYLE);
    Out({HexHandle(h), Escaped(ClassOf(h)), Dec(GetDlgCtrlID(h)), Escaped(TextOf(h)),
         (style & WS_VISIBLE) ? "1" : "0", IsWindowEnabled(h) ? "1" : "0", Dec(r.left), Dec(r.top),
         Dec(r.right), Dec(r.bottom), Hex((unsigned long)style), HexHandle(GetParent(h)), Details(h)});
    ++n;
  }
  return n ? kOk : kNotFound;
}

HWND ControlArg(const Args& a, int* rc) {
  HWND parent = ResolveWindow(a[0]);
  if (!parent) {
    *rc = Fail(kNotFound, L"no window " + a[0]);
    return nullptr;
  }
  HWND h = ResolveControl(parent, a[1]);
  if (!h) *rc = Fail(kNotFound, L"no control " + a[1] + L" in " + a[0]);
  return h;
}

int CmdItems(const Args& a) {
  if (a.size() < 2) return Fail(kFailed, L"usage: items <window> <control>");
  int rc = kOk;
  HWND h = ControlArg(a, &rc);
  if (!h) return rc;
  if (IsClass(h, WC_LISTVIEWW)) {
    int rows = (int)Send(h, LVM_GETITEMCOUNT, 0, 0);
    int cols = ListViewColumns(h);
    RemoteBlock mem(h, sizeof(LVITEMW) + kRemoteTextChars * sizeof(wchar_t));
    if (!mem.ok()) return Fail(kFailed, L"cannot reach the list view's process");
    for (int r = 0; r < rows; ++r) {
      bool selected = Send(h, LVM_GETITEMSTATE, r, LVIS_SELECTED) & LVIS_SELECTED;
      std::vector<std::string> f = {Dec(r), selected ? "1" : "0"};
      for (int c = 0; c < cols; ++c) f.push_back(Escaped(ListViewText(mem, h, r, c)));
      Out(f);
    }
    return kOk;
  }
  bool combo = IsClass(h, WC_COMBOBOXW);
  if (combo || IsClass(h, WC_LISTBOXW)) {
    int count = (int)Send(h, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    int sel = (int)Send(h, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
    for (int i = 0; i < count; ++i) {
      int len = (int)Send(h, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0);
      std::vector<wchar_t> buf((len > 0 ? len : 0) + 2);
      Send(h, combo ? CB_GETLBTEXT : LB_GETTEXT, i, (LPARAM)buf.data());
      buf.back() = 0;
      bool selected = combo ? i == sel : Send(h, LB_GETSEL, i, 0) > 0;
      Out({Dec(i), selected ? "1" : "0", Escaped(buf.data())});
    }
    return kOk;
  }
  return Fail(kFailed, L"not a list view, combo box or list box: " + ClassOf(h));
}

int CmdColumns(const Args& a) {
  if (a.size() < 2) return Fail(kFailed, L"usage: columns <window> <control>");
  int rc = kOk;
  HWND h = ControlArg(a, &rc);
  if (!h) return rc;
  if (!IsClass(h, WC_LISTVIEWW)) return Fail(kFailed, L"not a list view: " + ClassOf(h));
  auto cols = ListViewHeader(h);
  for (size_t i = 0; i < cols.size(); ++i) Out({Dec((long)i), Dec(cols[i].width), Escaped(cols[i].text)});
  return kOk;
}

int Click(HWND button) {
  if (!IsWindowEnabled(button)) return Fail(kFailed, L"control is disabled: " + CaptionOf(button));
  // Read before pressing: the click may close the window at once.
  std::vector<std::string> line = {HexHandle(button), Escaped(ClassOf(button)), Escaped(TextOf(button))};
  if (!PostMessageW(button, BM_CLICK, 0, 0)) return Fail(kFailed, L"PostMessage failed");
  Out(line);
  return kOk;
}

int CmdClick(const Args& a) {
  if (a.size() < 2) return Fail(kFailed, L"usage: click <window> <button text>");
  HWND parent = ResolveWindow(a[0]);
  if (!parent) return Fail(kNotFound, L"no window " + a[0]);
  const std::wstring& want = a[1];
  HWND fallback = nullptr;
  for (HWND h : Descendants(parent)) {
    std::wstring text = TextOf(h);
    if (text != want && StripMnemonic(text) != want) continue;
    if (IsClass(h, WC_BUTTONW)) return Click(h);
    if (!fallback) fallback = h;
  }
  if (fallback) return Click(fallback);
  return Fail(kNotFound, L"no button \"" + want + L"\" in " + a[0]);
}

int CmdClickId(const Args& a) {
  if (a.size() < 2) return Fail(kFailed, L"usage: clickid <window> <control>");
  int rc = kOk;
  HWND h = ControlArg(a, &rc);
  return h ? Click(h) : rc;
}

bool MessageId(const std::wstring& s, UINT* msg) {
  long long v;
  if (ParseNumber(s, &v)) {
    *msg = (UINT)v;
    return true;
  }
  *msg = RegisterWindowMessageW(s.c_str());  // e.g. TaskbarCreated
  return *msg != 0;
}

int CmdPostSend(const Args& a, bool send) {
  if (a.size() < 4) return Fail(kFailed, L"usage: post|send <window> <msg> <wparam> <lparam>");
  HWND h = ResolveWindow(a[0]);
  if (!h) return Fail(kNotFound, L"no window " + a[0]);
  UINT msg;
  long long w, l;
  if (!MessageId(a[1], &msg) || !ParseNumber(a[2], &w) || !ParseNumber(a[3], &l))
    return Fail(kFailed, L"bad message or parameter");
  if (!send) {
    if (!PostMessageW(h, msg, (WPARAM)w, (LPARAM)l)) return Fail(kFailed, L"PostMessage failed");
    Out({HexHandle(h), Dec((long)msg)});
    return kOk;
  }
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(h, msg, (WPARAM)w, (LPARAM)l, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
    return Fail(kFailed, L"SendMessageTimeout failed or timed out");
  Out({HexHandle(h), Dec((long)msg), Dec((long)result)});
  return kOk;
}

int CmdSetText(const Args& a) {
  if (a.size() < 3) return Fail(kFailed, L"usage: settext <window> <control> <text>");
  int rc = kOk;
  HWND h = ControlArg(a, &rc);
  if (!h) return rc;
  bool ok;
  Send(h, WM_SETTEXT, 0, (LPARAM)a[2].c_str(), &ok);
  if (!ok) return Fail(kFailed, L"WM_SETTEXT timed out");
  Out({HexHandle(h), Escaped(TextOf(h))});
  return kOk;
}

int CmdSetCheck(const Args& a) {
  if (a.size() < 3) return Fail(kFailed, L"usage: setcheck <window> <control> <0|1|2>");
  int rc = kOk;
  HWND h = ControlArg(a, &rc);
  if (!h) return rc;
  long long v;
  if (!ParseNumber(a[2], &v)) return Fail(kFailed, L"bad check state " + a[2]);
  Send(h, BM_SETCHECK, (WPARAM)v, 0);
  Out({HexHandle(h), Dec((long)Send(h, BM_GETCHECK, 0, 0))});
  return kOk;
}

// Selects like a user would: the control changes, then its parent hears of it.
int CmdSelect(const Args& a) {
  if (a.size() < 3) return Fail(kFailed, L"usage: select <window> <control> <index|text>");
  int rc = kOk;
  HWND h = ControlArg(a, &rc);
  if (!h) return rc;
  long long index = -1;
  bool byIndex = ParseNumber(a[2], &index);
  if (IsClass(h, WC_LISTVIEWW)) {
    int rows = (int)Send(h, LVM_GETITEMCOUNT, 0, 0);
    if (!byIndex) {  // the first row with the text in any column
      RemoteBlock mem(h, sizeof(LVITEMW) + kRemoteTextChars * sizeof(wchar_t));
      int cols = ListViewColumns(h);
      for (int r = 0; r < rows && index < 0 && mem.ok(); ++r)
        for (int c = 0; c < cols && index < 0; ++c)
          if (ListViewText(mem, h, r, c) == a[2]) index = r;
    }
    if (index < 0 || index >= rows) return Fail(kNotFound, L"no row " + a[2]);
    if (!SelectListViewRow(h, (int)index)) return Fail(kFailed, L"LVM_SETITEMSTATE failed");
    Out({HexHandle(h), Dec((long)index)});
    return kOk;
  }
  bool combo = IsClass(h, WC_COMBOBOXW);
  if (!combo && !IsClass(h, WC_LISTBOXW)) return Fail(kFailed, L"cannot select in " + ClassOf(h));
  int count = (int)Send(h, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  if (!byIndex) {
    for (int i = 0; i < count && index < 0; ++i) {
      int len = (int)Send(h, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0);
      std::vector<wchar_t> buf((len > 0 ? len : 0) + 2);
      Send(h, combo ? CB_GETLBTEXT : LB_GETTEXT, i, (LPARAM)buf.data());
      buf.back() = 0;
      if (a[2] == buf.data()) index = i;
    }
  }
  if (index < 0 || index >= count) return Fail(kNotFound, L"no item " + a[2]);
  Send(h, combo ? CB_SETCURSEL : LB_SETCURSEL, (WPARAM)index, 0);
  PostMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), combo ? CBN_SELCHANGE : LBN_SELCHANGE),
               (LPARAM)h);
  Out({HexHandle(h), Dec((long)index)});
  return kOk;
}

int CmdSetTime(const Args& a) {
  if (a.size() < 3) return Fail(kFailed, L"usage: settime <window> <control> <YYYY-MM-DDTHH:MM:SS>");
  int rc = kOk;
  HWND h = ControlArg(a, &rc);
  if (!h) return rc;
  SYSTEMTIME st;
  if (!ParseTime(a[2], &st)) return Fail(kFailed, L"bad time " + a[2]);
  RemoteBlock mem(h, sizeof(SYSTEMTIME));
  if (!mem.ok() || !mem.Write(0, &st, sizeof st)) return Fail(kFailed, L"cannot reach the picker's process");
  if (!Send(h, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)mem.address()))
    return Fail(kFailed, L"DTM_SETSYSTEMTIME refused " + a[2]);
  if (!NotifyDateChange(h, st)) return Fail(kFailed, L"could not notify the picker's parent");
  SYSTEMTIME now;
  Out({HexHandle(h), ReadPickerTime(h, &now) ? FormatTime(now) : "?"});
  return kOk;
}

struct KeyName {
  const wchar_t* name;
  UINT vk;
};
const KeyName kKeys[] = {
    {L"RETURN", VK_RETURN}, {L"ENTER", VK_RETURN}, {L"ESCAPE", VK_ESCAPE}, {L"ESC", VK_ESCAPE},
    {L"TAB", VK_TAB},       {L"SPACE", VK_SPACE},  {L"BACK", VK_BACK},     {L"DELETE", VK_DELETE},
    {L"UP", VK_UP},         {L"DOWN", VK_DOWN},    {L"LEFT", VK_LEFT},     {L"RIGHT", VK_RIGHT},
    {L"HOME", VK_HOME},     {L"END", VK_END},      {L"PRIOR", VK_PRIOR},   {L"NEXT", VK_NEXT},
    {L"MENU", VK_MENU},     {L"ALT", VK_MENU},     {L"SHIFT", VK_SHIFT},   {L"CONTROL", VK_CONTROL},
};

bool ParseKey(const std::wstring& s, UINT* vk) {
  long long v;
  if (ParseNumber(s, &v)) {
    *vk = (UINT)v;
    return true;
  }
  std::wstring up = s;
  for (auto& c : up) c = towupper(c);
  for (const auto& k : kKeys)
    if (up == k.name) {
      *vk = k.vk;
      return true;
    }
  if (up.size() >= 2 && up[0] == L'F' && ParseNumber(up.substr(1), &v) && v >= 1 && v <= 24) {
    *vk = VK_F1 + (UINT)v - 1;
    return true;
  }
  if (up.size() == 1 && ((up[0] >= L'A' && up[0] <= L'Z') || (up[0] >= L'0' && up[0] <= L'9'))) {
    *vk = up[0];
    return true;
  }
  return false;
}

// Posts key down and key up for each key, as the target's message loop would
// receive them (dialog keys and open menus handle posted keys).
int CmdKey(const Args& a) {
  if (a.size() < 2) return Fail(kFailed, L"usage: key <window> <vk>...");
  HWND h = ResolveWindow(a[0]);
  if (!h) return Fail(kNotFound, L"no window " + a[0]);
  for (size_t i = 1; i < a.size(); ++i) {
    UINT vk;
    if (!ParseKey(a[i], &vk)) return Fail(kFailed, L"bad key " + a[i]);
    LPARAM scan = (LPARAM)MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16;
    PostMessageW(h, WM_KEYDOWN, vk, scan | 1);
    PostMessageW(h, WM_KEYUP, vk, scan | 1 | (1u << 30) | (1u << 31));
  }
  Out({HexHandle(h), Dec((long)(a.size() - 1))});
  return kOk;
}

int CmdClose(const Args& a) {
  if (a.empty()) return Fail(kFailed, L"usage: close <window>");
  HWND h = ResolveWindow(a[0]);
  if (!h) return Fail(kNotFound, L"no window " + a[0]);
  if (!PostMessageW(h, WM_CLOSE, 0, 0)) return Fail(kFailed, L"PostMessage failed");
  Out({HexHandle(h)});
  return kOk;
}

// wait <window> <seconds> [exists|visible|hidden|gone]
int CmdWait(const Args& a) {
  if (a.size() < 2) return Fail(kFailed, L"usage: wait <window> <seconds> [exists|visible|hidden|gone]");
  double seconds = _wtof(a[1].c_str());
  std::wstring mode = a.size() > 2 ? a[2] : L"exists";
  if (mode != L"exists" && mode != L"visible" && mode != L"hidden" && mode != L"gone")
    return Fail(kFailed, L"bad wait mode " + mode);
  WindowSpec want = ParseWindowSpec(a[0]);
  DWORD start = GetTickCount();
  for (;;) {
    std::vector<HWND> found;
    if (want.byHandle) {
      if (IsWindow(want.handle)) found.push_back(want.handle);
    } else {
      found = FindTopLevel(want);
    }
    HWND hit = nullptr;
    for (HWND h : found) {
      bool visible = GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE;
      if (mode == L"exists" || (mode == L"visible" && visible) || (mode == L"hidden" && !visible)) {
        hit = h;
        break;
      }
    }
    if (hit) {
      Out(TopLevelFields(hit));
      return kOk;
    }
    if (mode == L"gone" && found.empty()) return kOk;
    if (GetTickCount() - start >= (DWORD)(seconds * 1000)) return Fail(kNotFound, L"timed out waiting for " + a[0]);
    Sleep(100);
  }
}

int CmdForeground(const Args&) {
  HWND h = GetForegroundWindow();
  if (!h) return kNotFound;
  Out(TopLevelFields(h));
  return kOk;
}

int CmdProcs(const Args& a) {
  std::wstring pattern = Lower(a.empty() ? L"*" : a[0]);
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return Fail(kFailed, L"CreateToolhelp32Snapshot failed");
  PROCESSENTRY32W pe = {};
  pe.dwSize = sizeof pe;
  int n = 0;
  for (BOOL more = Process32FirstW(snap, &pe); more; more = Process32NextW(snap, &pe)) {
    if (!Glob(pattern.c_str(), Lower(pe.szExeFile).c_str())) continue;
    Out({Dec((long)pe.th32ProcessID), Dec((long)pe.th32ParentProcessID), Escaped(pe.szExeFile)});
    ++n;
  }
  CloseHandle(snap);
  return n ? kOk : kNotFound;
}

// Committed private memory, summed over the process's address space: a
// figure that Wine reports where it leaves PrivateUsage at 0.
unsigned long long PrivateCommitted(HANDLE process) {
  unsigned long long total = 0;
  MEMORY_BASIC_INFORMATION mbi;
  for (char* p = nullptr; VirtualQueryEx(process, p, &mbi, sizeof mbi) == sizeof mbi;) {
    if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) total += mbi.RegionSize;
    char* next = static_cast<char*>(mbi.BaseAddress) + mbi.RegionSize;
    if (next <= p) break;
    p = next;
  }
  return total;
}

int CountWindowsOf(DWORD pid) {
  int n = 0;
  for (HWND h : TopLevelWindows()) {
    if (PidOf(h) != pid) continue;
    n += 1 + (int)Descendants(h).size();
  }
  return n;
}

int CmdResources(const Args& a) {
  long long pid;
  if (a.empty() || !ParseNumber(a[0], &pid)) return Fail(kFailed, L"usage: resources <pid>");
  HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, (DWORD)pid);
  if (!h) return Fail(kNotFound, L"cannot open process " + a[0]);
  PROCESS_MEMORY_COUNTERS_EX mc = {};
  mc.cb = sizeof mc;
  BOOL gotMemory = GetProcessMemoryInfo(h, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&mc), sizeof mc);
  DWORD handles = 0;
  GetProcessHandleCount(h, &handles);
  Out({"user", Dec((long)GetGuiResources(h, GR_USEROBJECTS))});
  Out({"gdi", Dec((long)GetGuiResources(h, GR_GDIOBJECTS))});
  Out({"windows", Dec(CountWindowsOf((DWORD)pid))});
  Out({"private", gotMemory ? std::to_string((unsigned long long)mc.PrivateUsage) : "-1"});
  Out({"privatecommit", std::to_string(PrivateCommitted(h))});
  Out({"workingset", gotMemory ? std::to_string((unsigned long long)mc.WorkingSetSize) : "-1"});
  Out({"pagefile", gotMemory ? std::to_string((unsigned long long)mc.PagefileUsage) : "-1"});
  Out({"handles", Dec((long)handles)});
  CloseHandle(h);
  return kOk;
}

// Items of the open popup menus (class #32768), the most recently opened first.
int CmdMenu(const Args&) {
  int menus = 0;
  for (HWND w : TopLevelWindows()) {
    if (ClassOf(w) != L"#32768" || !IsWindowVisible(w)) continue;
    HMENU menu = (HMENU)Send(w, MN_GETHMENU, 0, 0);
    if (!menu) continue;
    std::vector<MenuItem> items;
    if (!ReadMenu(w, menu, &items)) return Fail(kFailed, L"cannot read the menu of " + Widen(HexHandle(w)));
    ++menus;
    for (size_t i = 0; i < items.size(); ++i) {
      const MenuItem& it = items[i];
      bool separator = it.type != 0xFFFFFFFF && (it.type & MFT_SEPARATOR);
      Out({HexHandle(w), Dec((long)i), Dec((long)it.id), separator ? "separator" : "string",
           (it.state & MFS_CHECKED) ? "1" : "0", (it.state & (MFS_DISABLED | MFS_GRAYED)) ? "0" : "1",
           (it.state & MFS_DEFAULT) ? "1" : "0", it.submenu ? "1" : "0", Escaped(it.text)});
    }
  }
  return menus ? kOk : Fail(kNotFound, L"no open menu");
}

}  // namespace

int main() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);

  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 2)
    return Fail(kFailed,
                L"usage: mwhelper list|children|items|columns|click|clickid|post|send|settext|setcheck|"
                L"select|settime|key|close|wait|foreground|procs|resources|menu ...");
  std::wstring cmd = argv[1];
  Args args(argv + 2, argv + argc);
  LocalFree(argv);

  struct Command {
    const wchar_t* name;
    int (*run)(const Args&);
  };
  static const Command commands[] = {
      {L"list", CmdList},
      {L"children", CmdChildren},
      {L"items", CmdItems},
      {L"columns", CmdColumns},
      {L"click", CmdClick},
      {L"clickid", CmdClickId},
      {L"post", [](const Args& a) { return CmdPostSend(a, false); }},
      {L"send", [](const Args& a) { return CmdPostSend(a, true); }},
      {L"settext", CmdSetText},
      {L"setcheck", CmdSetCheck},
      {L"select", CmdSelect},
      {L"settime", CmdSetTime},
      {L"key", CmdKey},
      {L"close", CmdClose},
      {L"wait", CmdWait},
      {L"foreground", CmdForeground},
      {L"procs", CmdProcs},
      {L"resources", CmdResources},
      {L"menu", CmdMenu},
  };
  for (const auto& c : commands) {
    if (cmd == c.name) {
      int rc = c.run(args);
      fflush(stdout);
      return rc;
    }
  }
  return Fail(kFailed, L"unknown command " + cmd);
}

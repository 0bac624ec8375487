// traytip: what the notification area shows for the icons of other programs,
// read from the taskbar itself, for the Wine tests.
//
//   traytip list
//       One line per icon the tray shows now: the tool of the taskbar's tooltip
//       controls that covers it (the tip shown when the mouse rests on the
//       icon), fields separated by tabs:
//       tooltip-hwnd  tool-hwnd  tool-id  left top right bottom (screen)
//       red green blue: the mean colour of the strongly coloured screen pixels
//       in that rectangle (those whose channels differ by more than 60), so the
//       grey of the taskbar does not water the picture's colour down; -1 when
//       there are none
//       text (UTF-8; backslash, tab, CR and LF escaped as \\ \t \r \n)
//       A removed icon may leave its tooltip behind with an empty rectangle:
//       such tools are not listed.
//   traytip forget <hwnd> <id>
//       Removes the icon (hwnd, id) from the tray, as a restarting taskbar
//       loses every icon; the owner adds it again on "TaskbarCreated".
//
// The tooltip controls belong to the taskbar's process, and the tooltip
// messages carry pointers, which the system does not marshal between
// processes: the records and the text buffer live in a block of memory
// allocated inside that process.
//
// Exit code 0 on success, 1 when nothing was found, 2 on a usage error or a
// failed system call.

#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kOk = 0;
constexpr int kNotFound = 1;
constexpr int kFailed = 2;
constexpr int kTextChars = 256;

std::string Utf8Escaped(const std::wstring& w) {
  std::wstring e;
  for (wchar_t c : w) {
    switch (c) {
      case L'\\': e += L"\\\\"; break;
      case L'\t': e += L"\\t"; break;
      case L'\r': e += L"\\r"; break;
      case L'\n': e += L"\\n"; break;
      default: e += c;
    }
  }
  if (e.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, e.data(), (int)e.size(), nullptr, 0, nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, e.data(), (int)e.size(), s.data(), n, nullptr, nullptr);
  return s;
}

std::string Hex(const void* h) {
  char buf[16];
  snprintf(buf, sizeof buf, "0x%08lx", (unsigned long)(ULONG_PTR)h);
  return buf;
}

int Fail(int code, const char* message) {
  fprintf(stderr, "traytip: %s\n", message);
  return code;
}

BOOL CALLBACK Collect(HWND h, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
  return TRUE;
}

// Memory inside another process, freed when done.
class RemoteBlock {
 public:
  RemoteBlock(DWORD pid, size_t size) : size_(size) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBlock() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  bool ok() const { return address_ != nullptr; }
  char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }
  bool Write(size_t offset, const void* data, size_t n) const {
    SIZE_T done = 0;
    return offset + n <= size_ && WriteProcessMemory(process_, at(offset), data, n, &done) && done == n;
  }
  bool Read(size_t offset, void* data, size_t n) const {
    SIZE_T done = 0;
    return offset + n <= size_ && ReadProcessMemory(process_, at(offset), data, n, &done) && done == n;
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_;
};

LRESULT Send(HWND h, UINT msg, WPARAM w, LPARAM l) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(h, msg, w, l, SMTO_ABORTIFHUNG, 5000, &result);
  return (LRESULT)result;
}

// The mean colour of the strongly coloured screen pixels in r.
void MeanColour(const RECT& r, int rgb[3]) {
  rgb[0] = rgb[1] = rgb[2] = -1;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0 || w > 256 || h > 256) return;
  HDC screen = GetDC(nullptr);
  long sum[3] = {0, 0, 0};
  long n = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      COLORREF c = GetPixel(screen, x, y);
      const int cr = GetRValue(c), cg = GetGValue(c), cb = GetBValue(c);
      const int hi = (std::max)({cr, cg, cb}), lo = (std::min)({cr, cg, cb});
      if (hi - lo <= 60) continue;
      sum[0] += cr;
      sum[1] += cg;
      sum[2] += cb;
      ++n;
    }
  }
  ReleaseDC(nullptr, screen);
  if (n == 0) return;
  for (int i = 0; i < 3; ++i) rgb[i] = (int)(sum[i] / n);
}

int List() {
  HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (!tray) return Fail(kNotFound, "no taskbar");
  DWORD pid = 0;
  GetWindowThreadProcessId(tray, &pid);
  std::vector<HWND> all;
  EnumWindows(Collect, (LPARAM)&all);
  const size_t text_offset = sizeof(TTTOOLINFOW);
  RemoteBlock mem(pid, text_offset + kTextChars * sizeof(wchar_t));
  if (!mem.ok()) return Fail(kFailed, "cannot reach the taskbar's process");
  int found = 0;
  for (HWND tip : all) {
    wchar_t cls[64];
    DWORD owner_pid = 0;
    GetWindowThreadProcessId(tip, &owner_pid);
    if (owner_pid != pid || !GetClassNameW(tip, cls, 64) || lstrcmpiW(cls, TOOLTIPS_CLASSW) != 0) continue;
    const int count = (int)Send(tip, TTM_GETTOOLCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
      TTTOOLINFOW ti{};
      ti.cbSize = sizeof ti;
      ti.lpszText = reinterpret_cast<LPWSTR>(mem.at(text_offset));
      const wchar_t zero = 0;
      mem.Write(text_offset, &zero, sizeof zero);
      mem.Write(0, &ti, sizeof ti);
      if (!Send(tip, TTM_ENUMTOOLSW, i, (LPARAM)mem.at(0))) continue;
      TTTOOLINFOW got{};
      mem.Read(0, &got, sizeof got);
      // Ask again for the text with the buffer's size: the enumeration assumes 80 characters.
      got.lpszText = reinterpret_cast<LPWSTR>(mem.at(text_offset));
      mem.Write(text_offset, &zero, sizeof zero);
      mem.Write(0, &got, sizeof got);
      Send(tip, TTM_GETTEXTW, kTextChars, (LPARAM)mem.at(0));
      std::vector<wchar_t> text(kTextChars);
      mem.Read(text_offset, text.data(), text.size() * sizeof(wchar_t));
      text.back() = 0;
      RECT r = got.rect;
      if (IsRectEmpty(&r)) continue;  // the tooltip of an icon no longer shown
      MapWindowPoints(got.hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
      int rgb[3];
      MeanColour(r, rgb);
      std::string line = Hex(tip) + "\t" + Hex(got.hwnd) + "\t" + std::to_string((unsigned long)got.uId);
      for (long v : {r.left, r.top, r.right, r.bottom}) line += "\t" + std::to_string(v);
      for (int v : rgb) line += "\t" + std::to_string(v);
      line += "\t" + Utf8Escaped(text.data()) + "\n";
      fwrite(line.data(), 1, line.size(), stdout);
      ++found;
    }
  }
  return found ? kOk : kNotFound;
}

int Forget(HWND owner, UINT id) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = owner;
  nid.uID = id;
  return Shell_NotifyIconW(NIM_DELETE, &nid) ? kOk : Fail(kNotFound, "no such icon");
}

}  // namespace

int main() {
  _setmode(_fileno(stdout), _O_BINARY);
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 2) return Fail(kFailed, "usage: traytip list | forget <hwnd> <id>");
  std::wstring cmd = argv[1];
  int rc = kFailed;
  if (cmd == L"list") {
    rc = List();
  } else if (cmd == L"forget" && argc == 4) {
    HWND owner = (HWND)(ULONG_PTR)wcstoul(argv[2], nullptr, 0);
    rc = Forget(owner, (UINT)wcstoul(argv[3], nullptr, 0));
  } else {
    rc = Fail(kFailed, "usage: traytip list | forget <hwnd> <id>");
  }
  LocalFree(argv);
  fflush(stdout);
  return rc;
}

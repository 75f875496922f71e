// A window holding only a checked ListView filled from a list file's lines, the way Tovrel
// fills its checklist. Its peak working set is the yardstick for Tovrel's own.
//   TovrelBareListView.exe <list file> <output file>   writes "entries=<n> peak_kib=<k>"
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> ReadLines(const wchar_t* path) {
  std::vector<std::wstring> lines;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line, '\r')) {
    if (in.peek() == '\n') in.get();
    if (line.empty() || line[0] == '\'') continue;
    lines.emplace_back(line.begin(), line.end());
  }
  return lines;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 3) return 2;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  HWND frame = CreateWindowExW(0, L"STATIC", L"bare", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                               nullptr, nullptr, instance, nullptr);
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT |
                              LVS_NOCOLUMNHEADER | LVS_SINGLESEL, 0, 0, 380, 280, frame,
                              nullptr, instance, nullptr);
  ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 360;
  ListView_InsertColumn(list, 0, &column);

  const std::vector<std::wstring> lines = ReadLines(argv[1]);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  for (const std::wstring& text : lines) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<wchar_t*>(text.c_str());
    const int index = ListView_InsertItem(list, &item);
    ListView_SetCheckState(list, index, TRUE);
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  ShowWindow(frame, SW_SHOWNORMAL);
  UpdateWindow(frame);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);

  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  FILE* out = _wfopen(argv[2], L"w");
  if (!out) return 3;
  std::fprintf(out, "entries=%d peak_kib=%llu\n", ListView_GetItemCount(list),
               static_cast<unsigned long long>(counters.PeakWorkingSetSize / 1024));
  std::fclose(out);
  return 0;
}

// A window holding only a checked ListView filled from a list file's lines, the way Tovrel
// fills its checklist. Its peak working set is the yardstick for Tovrel's own.
// It stays open until closed, so that its memory is read from outside like the program's.
// WM_APP to its window inverts every mark the fastest way the list allows, in one message,
// for "Marcar/Desmarcar" to be measured against.
//   TovrelBareListView.exe <list file>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

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

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  if (message == WM_APP) {
    // Every entry holds the same mark: the first one's tells what they all become.
    // Redrawing off meanwhile, as for the fill: otherwise every entry is invalidated alone.
    HWND list = GetWindow(hwnd, GW_CHILD);
    const bool checked = ListView_GetCheckState(list, 0) != 0;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_SetItemState(list, -1, INDEXTOSTATEIMAGEMASK(checked ? 1 : 2), LVIS_STATEIMAGEMASK);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 2) return 2;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSW frameClass{};
  frameClass.lpfnWndProc = FrameProc;
  frameClass.hInstance = instance;
  frameClass.lpszClassName = L"TovrelBareList";
  RegisterClassW(&frameClass);
  HWND frame = CreateWindowExW(0, L"TovrelBareList", L"bare", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                               nullptr, nullptr, instance, nullptr);
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT |
                              LVS_NOCOLUMNHEADER | LVS_SINGLESEL, 0, 0, 380, 280, frame,
                              nullptr, instance, nullptr);
  ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 360;
  ListView_InsertColumn(list, 0, &column);

  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  for (const std::wstring& text : ReadLines(argv[1])) {
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
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

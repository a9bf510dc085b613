#include "app/main_window.h"

#include "app/app_windows.h"
#include "report/config_read.h"
#include "report/config_snapshot.h"
#include "resources/resource_ids.h"
#include "runner/ipconfig_commands.h"
#include "runner/run_captured.h"
#include "runner/text_area.h"

namespace {

// The list's selection, or -1 when it does not name an adapter of the snapshot.
int SelectedSlot(HWND window) {
  const int selected =
      static_cast<int>(SendDlgItemMessageA(window, IDC_ADAPTER_LIST, CB_GETCURSEL, 0, 0));
  return (selected >= 0 && selected < configSnapshot.adapterCount) ? selected : -1;
}

// Runs a command whose output nobody reads, then shows what the report says now.
void RunAndRefresh(HWND window, const char* commandLine) {
  if (!MayStartCommand()) return;
  char area[TEXT_AREA_SIZE];
  RunCaptured(commandLine, area, TEXT_AREA_SIZE);
  RefreshMainWindow(window);
}

// Renews or releases the selected adapter, named on the command line. With no
// adapter selected nothing runs, and nothing runs for an adapter whose header gave
// no name either: the bare "ipconfig /renew " would act on every adapter. The name is
// read after MayStartCommand, whose look at the queue may run a refresh sent meanwhile,
// and nothing pumps between that read and the command line.
void RunForSelectedAdapter(HWND window, const char* format) {
  if (!MayStartCommand()) return;
  const int slot = SelectedSlot(window);
  if (slot < 0 || configSnapshot.adapters.name[slot][0] == '\0') return;
  char area[TEXT_AREA_SIZE];
  wsprintfA(area, format, configSnapshot.adapters.name[slot]);
  RunCaptured(area, area, TEXT_AREA_SIZE);
  RefreshMainWindow(window);
}

void OnCommand(HWND window, int control) {
  switch (control) {
    case IDC_ADAPTER_LIST: ShowSelectedAdapter(window); break;
    case IDC_RENEW: RunForSelectedAdapter(window, IPCONFIG_RENEW_ONE); break;
    case IDC_RELEASE: RunForSelectedAdapter(window, IPCONFIG_RELEASE_ONE); break;
    case IDC_RENEW_ALL: RunAndRefresh(window, IPCONFIG_RENEW_ALL); break;
    case IDC_RELEASE_ALL: RunAndRefresh(window, IPCONFIG_RELEASE_ALL); break;
    case IDC_SHOW_CONSOLE: ShowWindow(consoleWindow, SW_SHOW); break;
  }
}

}  // namespace

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_CLOSE: DestroyWindow(window); break;  // the console, which it owns, goes too
    case WM_DESTROY: PostQuitMessage(0); break;
    case WM_COMMAND: OnCommand(window, LOWORD(wParam)); break;
  }
  return FALSE;
}

void RefreshMainWindow(HWND window) {
  ParseReport();
  for (int i = 0; i < HOST_FIELD_COUNT; ++i)
    SetDlgItemTextA(window, IDC_FIRST_HOST_VALUE + 2 * i, hostFields[i]);

  int selected =
      static_cast<int>(SendDlgItemMessageA(window, IDC_ADAPTER_LIST, CB_GETCURSEL, 0, 0));
  const int items =
      static_cast<int>(SendDlgItemMessageA(window, IDC_ADAPTER_LIST, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < items; ++i)
    SendDlgItemMessageA(window, IDC_ADAPTER_LIST, CB_DELETESTRING, 0, 0);
  if (selected < 0 || selected >= configSnapshot.adapterCount) selected = 0;
  for (int slot = 0; slot < configSnapshot.adapterCount; ++slot)
    SendDlgItemMessageA(window, IDC_ADAPTER_LIST, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(configSnapshot.adapters.description[slot]));
  SendDlgItemMessageA(window, IDC_ADAPTER_LIST, CB_SETCURSEL, selected, 0);
  ShowSelectedAdapter(window);
}

void ShowSelectedAdapter(HWND window) {
  const int slot = SelectedSlot(window);
  if (slot < 0) return;
  for (int i = 0; i < ADAPTER_SETTING_COUNT; ++i)
    SetDlgItemTextA(window, IDC_FIRST_ADAPTER_VALUE + 2 * i, adapterSettings[i][slot]);
}

// The floor under the program's start-up: creates the same two windows from the same
// resources in the same order, with the same icons and sizing, runs no command, and
// fills the first host field with a fixed text. Closing the main window ends it.
#include <windows.h>

#include "resources/resource_ids.h"

namespace {

INT_PTR CALLBACK MainProcedure(HWND window, UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) DestroyWindow(window);
  if (message == WM_DESTROY) PostQuitMessage(0);
  return FALSE;
}

INT_PTR CALLBACK ConsoleProcedure(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState) {
  HWND main = CreateDialogParamA(instance, "DIALOG1", nullptr, MainProcedure, 0);
  HWND console = CreateDialogParamA(instance, "DIALOG2", main, ConsoleProcedure, 0);
  SendMessageA(main, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconA(instance, "ICON")));
  SendMessageA(console, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(LoadIconA(instance, "ICON")));
  SetWindowPos(main, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  RECT client;
  GetClientRect(console, &client);
  SetWindowPos(console, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE);
  SetWindowPos(console, HWND_NOTOPMOST, 0, 0, client.right, client.bottom, SWP_NOMOVE);
  SetDlgItemTextA(main, IDC_FIRST_HOST_VALUE, "baseline");
  ShowWindow(main, showState);
  UpdateWindow(main);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

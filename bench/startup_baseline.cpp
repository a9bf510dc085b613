// The floor under the program's start-up: creates the same two windows from the same
// resources in the same order, with the same icons and sizing, runs no command, and
// fills the first host field with a fixed text. Closing the mainDialog window ends it.
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
  HWND mainDialog = CreateDialogParamA(instance, "DIALOG1", nullptr, MainProcedure, 0);
  HWND consoleDialog = CreateDialogParamA(instance, "DIALOG2", mainDialog, ConsoleProcedure, 0);
  SendMessageA(mainDialog, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(LoadIconA(instance, "ICON")));
  SendMessageA(consoleDialog, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(LoadIconA(instance, "ICON")));
  SetWindowPos(mainDialog, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  RECT client;
  GetClientRect(consoleDialog, &client);
  SetWindowPos(consoleDialog, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE);
  SetWindowPos(consoleDialog, HWND_NOTOPMOST, 0, 0, client.right, client.bottom, SWP_NOMOVE);
  SetDlgItemTextA(mainDialog, IDC_FIRST_HOST_VALUE, "baseline");
  ShowWindow(mainDialog, showState);
  UpdateWindow(mainDialog);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

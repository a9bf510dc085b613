#include "app/app_windows.h"
#include "app/main_window.h"
#include "console/console_window.h"

HWND mainWindow;
HWND consoleWindow;

void StartUp(HINSTANCE instance, int showState) {
  mainWindow = CreateDialogParamA(instance, "DIALOG1", nullptr, MainDialogProc, 0);
  consoleWindow = CreateDialogParamA(instance, "DIALOG2", mainWindow, ConsoleDialogProc, 0);

  SendMessageA(mainWindow, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(LoadIconA(instance, "ICON")));
  SendMessageA(consoleWindow, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(LoadIconA(instance, "ICON")));

  // The templates ask for a system-modal dialog, which starts topmost; take that back.
  SetWindowPos(mainWindow, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

  // The console's whole window, frame included, takes the size its client area had. It
  // passes through 0 x 0 first, so that the second call is a change of size whatever size
  // the window had, and its WM_SIZE lays out the output box.
  RECT client;
  GetClientRect(consoleWindow, &client);
  SetWindowPos(consoleWindow, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE);
  SetWindowPos(consoleWindow, HWND_NOTOPMOST, 0, 0, client.right - client.left,
               client.bottom - client.top, SWP_NOMOVE);

  // The first report runs while no window is visible yet.
  RefreshMainWindow(mainWindow);
  ShowWindow(mainWindow, showState);
  UpdateWindow(mainWindow);
}

// No dialog keyboard handling: messages are translated and dispatched, nothing more.
int RunMessageLoop() {
  MSG message = {};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

// Starts the program's windows inside the test process, from the real resources,
// against the stand-in ipconfig, and reads and presses them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/app_windows.h"
#include "resources/resource_ids.h"
#include "tests/win/test_support.h"

inline std::string Text(int control, HWND window = mainWindow) {
  static char text[4 * 32768];
  GetDlgItemTextA(window, control, text, sizeof text);
  return text;
}

// The values of the host fields (130, 132, ...) or the adapter fields (146, ...).
inline Texts Values(int first, int count) {
  Texts texts;
  for (int i = 0; i < count; ++i) texts.push_back(Text(first + 2 * i));
  return texts;
}

inline Texts ListItems() {
  Texts items;
  const int count = static_cast<int>(SendDlgItemMessageA(mainWindow, IDC_ADAPTER_LIST, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[512];
    SendDlgItemMessageA(mainWindow, IDC_ADAPTER_LIST, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

inline int Selection() {
  return static_cast<int>(SendDlgItemMessageA(mainWindow, IDC_ADAPTER_LIST, CB_GETCURSEL, 0, 0));
}

inline void Press(int control, HWND window = mainWindow) {
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(control, 0), 0);
}

inline void Select(int index) {
  SendDlgItemMessageA(mainWindow, IDC_ADAPTER_LIST, CB_SETCURSEL, index, 0);
  Press(IDC_ADAPTER_LIST);
}

class AppTest : public StandinTest {
 protected:
  // Closes the windows as the user would, and takes the quit request that this
  // posts, as the main loop would, so that nothing is left for the next test.
  void TearDown() override {
    if (IsWindow(mainWindow)) SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  void StartWith(const char* fixture) {
    SetEnv("IPCONFIG_STANDIN_REPORT", Fixture(fixture));
    StartUp(GetModuleHandleA(nullptr), SW_SHOW);
  }
};

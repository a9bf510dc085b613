// Starts the program's windows inside the test process, from the real resources,
// against the stand-in ipconfig, and gives the tests ways to read and press them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/app_windows.h"
#include "resources/resource_ids.h"
#include "tests/win/standin.h"

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearStandin();
    log = StartCommandLog();
  }

  void TearDown() override {
    if (IsWindow(mainWindow)) DestroyWindow(mainWindow);
  }

  void StartWith(const char* fixture) {
    SetEnv("IPCONFIG_STANDIN_REPORT", Fixture(fixture));
    StartUp(GetModuleHandleA(nullptr), SW_SHOW);
  }

  static std::string Text(HWND window, int control) {
    char text[1024];
    GetDlgItemTextA(window, control, text, sizeof text);
    return text;
  }

  static std::string Text(int control) { return Text(mainWindow, control); }

  static std::vector<std::string> HostTexts() {
    std::vector<std::string> texts;
    for (int i = 0; i < 7; ++i) texts.push_back(Text(IDC_FIRST_HOST_VALUE + 2 * i));
    return texts;
  }

  static std::vector<std::string> AdapterTexts() {
    std::vector<std::string> texts;
    for (int i = 0; i < 9; ++i) texts.push_back(Text(IDC_FIRST_ADAPTER_VALUE + 2 * i));
    return texts;
  }

  static std::vector<std::string> ListItems() {
    std::vector<std::string> items;
    const int count = static_cast<int>(SendDlgItemMessageA(mainWindow, IDC_ADAPTER_LIST, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[512];
      SendDlgItemMessageA(mainWindow, IDC_ADAPTER_LIST, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      items.push_back(text);
    }
    return items;
  }

  static int Selection() {
    return static_cast<int>(SendDlgItemMessageA(mainWindow, IDC_ADAPTER_LIST, CB_GETCURSEL, 0, 0));
  }

  static void Select(int index) {
    SendDlgItemMessageA(mainWindow, IDC_ADAPTER_LIST, CB_SETCURSEL, index, 0);
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(IDC_ADAPTER_LIST, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(mainWindow, IDC_ADAPTER_LIST)));
  }

  static WPARAM Click(int control) { return MAKEWPARAM(control, BN_CLICKED); }

  static void Press(int control) {
    SendMessageA(mainWindow, WM_COMMAND, Click(control),
                 reinterpret_cast<LPARAM>(GetDlgItem(mainWindow, control)));
  }

  // Dispatches what is waiting, as the program's own loop would.
  static void DispatchWaiting() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }

  std::vector<std::string> Commands() const {
    std::vector<std::string> lines;
    const std::string text = ReadFileText(log);
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      lines.push_back(text.substr(start, end - start));
    return lines;
  }

  std::string log;
};

#include "console/console_window.h"

#include <iterator>

#include "console/first_line.h"
#include "resources/resource_ids.h"
#include "runner/ipconfig_commands.h"
#include "runner/run_captured.h"
#include "runner/text_area.h"

namespace {

// Each menu item runs a fixed command line, or a prefix followed by the first line
// of the output box.
struct MenuCommand {
  int item;
  const char* commandLine;
  const char* prefix;
};

const MenuCommand menuCommands[] = {
    {IDM_SHOW, IPCONFIG_SHOW, nullptr},
    {IDM_SHOW_ALL, IPCONFIG_ALL, nullptr},
    {IDM_RENEW_FIRST_LINE, nullptr, IPCONFIG_RENEW_PREFIX},
    {IDM_RELEASE_FIRST_LINE, nullptr, IPCONFIG_RELEASE_PREFIX},
    {IDM_RENEW_ALL, IPCONFIG_RENEW_ALL, nullptr},
    {IDM_RELEASE_ALL, IPCONFIG_RELEASE_ALL, nullptr},
    {IDM_RUN_FIRST_LINE, nullptr, IPCONFIG_PREFIX},
    {IDM_HELP, IPCONFIG_HELP, nullptr},
};
static_assert(std::size(menuCommands) == 8, "eight of the nine items run a command");

// Runs the item's command and puts its whole output in the box, replacing all that
// was there. Main-window state is left alone, renew and release included.
void RunMenuCommand(HWND window, const MenuCommand& command) {
  if (!MayStartCommand()) return;
  char area[TEXT_AREA_SIZE];
  const char* commandLine = command.commandLine;
  if (commandLine == nullptr) {
    ComposeWithFirstLine(window, area, command.prefix);
    commandLine = area;
  }
  RunCaptured(commandLine, area, TEXT_AREA_SIZE);
  SetDlgItemTextA(window, IDC_CONSOLE_OUTPUT, area);
}

void OnCommand(HWND window, int item) {
  if (item == IDM_CLEAR) {
    SetDlgItemTextA(window, IDC_CONSOLE_OUTPUT, "");
    return;
  }
  for (const MenuCommand& command : menuCommands)
    if (command.item == item) RunMenuCommand(window, command);
}

}  // namespace

INT_PTR CALLBACK ConsoleDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:  // the box fills the client area, whatever the kind of sizing
      SetWindowPos(GetDlgItem(window, IDC_CONSOLE_OUTPUT), HWND_TOP, 0, 0, LOWORD(lParam),
                   HIWORD(lParam), 0);
      break;
    case WM_CLOSE: ShowWindow(window, SW_HIDE); break;  // kept, with its contents, for next time
    case WM_COMMAND: OnCommand(window, LOWORD(wParam)); break;
  }
  return FALSE;
}

// The platform takes a command line of at most 32,767 characters with its NUL, one
// less than the area: the read stops a byte short so that the longest line starts.
void ComposeWithFirstLine(HWND window, char* area, const char* prefix) {
  const int length = wsprintfA(area, "%s", prefix);
  GetDlgItemTextA(window, IDC_CONSOLE_OUTPUT, area + length, TEXT_AREA_SIZE - 1 - length);
  CutAtLineEnd(area);
}

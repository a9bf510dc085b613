// The program's two windows, created once at start-up and kept until the end.
#pragma once

#include <windows.h>

extern HWND mainWindow;
extern HWND consoleWindow;

// Creates both windows from the resources, fills the main window and shows it.
void StartUp(HINSTANCE instance, int showState);

// Translates and dispatches messages until the quit request; returns its exit code.
int RunMessageLoop();

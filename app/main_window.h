// The main window: host settings, the chosen adapter's settings, and the buttons
// that renew or release leases.
#pragma once

#include <windows.h>

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Reads the configuration afresh and shows it: host fields, adapter list, and the
// selected adapter (the selection stays while its index is still valid).
void RefreshMainWindow(HWND window);

// Copies the selected adapter's nine settings into their fields.
void ShowSelectedAdapter(HWND window);

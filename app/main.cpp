// IP 設定: shows this computer's TCP/IP configuration as ipconfig reports it, and
// renews or releases DHCP leases.
#include "app/app_windows.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState) {
  StartUp(instance, showState);
  return RunMessageLoop();
}

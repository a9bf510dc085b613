// A DLL with none of IP Helper's functions, which the tests plant beside the classic
// ipconfig under IP Helper's name: loaded, it would make the tool hand over to the
// system's ipconfig.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, void*) { return TRUE; }

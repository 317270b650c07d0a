// A DLL that no system has: if it loads by its bare name, it came from where it was planted.

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

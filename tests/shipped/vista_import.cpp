// A program that imports a function Windows XP lacks: the import check must name it.

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return static_cast<int>(GetTickCount64() & 1); }

// Program entry: one copy per logon session, the main window, the message loop.

#include "app/program.h"
#include "app/single_instance.h"
#include "platform/system_folder.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    platform::RestrictDllSearchPath();
    if (app::AnotherCopyRuns()) {
        app::AnnounceToRunningCopy();
        return 0;
    }
    return app::RunFirstCopy(instance);
}

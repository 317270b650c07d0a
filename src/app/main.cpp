// Program entry: one copy per logon session, the main window, the message loop.

#include "app/phase_marks.h"
#include "app/program.h"
#include "app/single_instance.h"
#include "platform/system_folder.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    app::MarkPhase("process creation to WinMain");
    platform::RestrictDllSearchPath();
    if (app::AnotherCopyRuns()) {
        app::AnnounceToRunningCopy();
        return 0;
    }
    return app::RunFirstCopy(instance);
}

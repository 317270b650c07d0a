#include "app/program.h"

#include "app/application.h"
#include "app/main_window.h"
#include "platform/phase_marks.h"
#include "app/single_instance.h"
#include "platform/hardening.h"

#include <commctrl.h>

namespace app {

int Main(HINSTANCE instance) {
    platform::MarkPhase("process creation to WinMain");
    // First thing, before anything loads a DLL by name.
    platform::RestrictDllSearchPath();
    platform::RequestDataExecutionPrevention();
    if (AnotherCopyRuns()) {
        AnnounceToRunningCopy();
        return 0;
    }
    return RunFirstCopy(instance);
}

int RunFirstCopy(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    platform::MarkPhase("single copy, common controls");

    Application application(instance);
    // Without a window there is nothing to show and no loop to run: a failure, never a quiet success.
    if (!application.Initialize()) return kExitNoWindow;
    application.SetTitle(kApplicationTitle);
    platform::MarkPhase("application window");

    TForm1 form(application);
    if (!form.Create()) return kExitNoWindow;
    platform::MarkPhase("main window after FormCreate");
    form.Show();
    platform::MarkPhase("ShowWindow");
    return application.Run();
}

}  // namespace app

// Program entry: one copy per logon session, the main window, the message loop.

#include "app/application.h"
#include "app/main_window.h"
#include "app/phase_marks.h"
#include "app/single_instance.h"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    app::MarkPhase("process creation to WinMain");
    if (app::AnotherCopyRuns()) {
        app::AnnounceToRunningCopy();
        return 0;
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    app::MarkPhase("single copy, common controls");

    app::Application application(instance);
    if (!application.Initialize()) return 0;
    application.SetTitle(app::kApplicationTitle);
    app::MarkPhase("application window");

    app::TForm1 form(application);
    if (!form.Create()) return 0;
    app::MarkPhase("main window after FormCreate");
    form.Show();
    app::MarkPhase("ShowWindow");
    return application.Run();
}

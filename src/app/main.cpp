// Program entry: one copy per logon session, the main window, the message loop.

#include "app/application.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "platform/system_folder.h"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    platform::RestrictDllSearchPath();
    if (app::AnotherCopyRuns()) {
        app::AnnounceToRunningCopy();
        return 0;
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    app::Application application(instance);
    if (!application.Initialize()) return 0;
    application.SetTitle(app::kApplicationTitle);

    app::TForm1 form(application);
    if (!form.Create()) return 0;
    form.Show();
    return application.Run();
}

#include "app/links.h"

#include "platform/system_library.h"

namespace app {

void OpenPage(HWND owner, const char* address) {
    static_cast<void>(platform::Shell().ShellExecuteA(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL));
}

// One text, joined when the program is built: the addresses stand in it whole.
#define CORVAN_TRANSLATORS "the Corvan translators <" CORVAN_CONTACT_ADDRESS ">"

std::string CreditsText() {
    return "Thanks To:\r"
           "\r"
           "Esperanto: " CORVAN_TRANSLATORS "\r"
           "Euskera: " CORVAN_TRANSLATORS ", their reviewers\r"
           "Gaelic: " CORVAN_TRANSLATORS "\r"
           "Galego: " CORVAN_TRANSLATORS "\r"
           "Argentino: the Corvan translators\r"
           "\r"
           CORVAN_TITLE " is free software under the GNU General Public License, version 2 or later\r"
           "Visit our web site: " CORVAN_HOME_PAGE "\r"
           "New translations are welcome by e-mail: " CORVAN_CONTACT_ADDRESS "\r"
           "\r"
           CORVAN_MAKERS_HINT;
}

}  // namespace app

#include "app/links.h"

#include "platform/system_library.h"

namespace app {

void OpenPage(HWND owner, const char* address) {
    static_cast<void>(platform::Shell().ShellExecuteA(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL));
}

std::string CreditsText() {
    const std::string translators = std::string("the Corvan translators <") + kContactAddress + ">";
    const std::string lines[] = {
        "Thanks To:",
        "",
        "Esperanto: " + translators,
        "Euskera: " + translators + ", their reviewers",
        "Gaelic: " + translators,
        "Galego: " + translators,
        "Argentino: the Corvan translators",
        "",
        CORVAN_TITLE " is free software under the GNU General Public License, version 2 or later",
        std::string("Visit our web site: ") + kHomePage,
        std::string("New translations are welcome by e-mail: ") + kContactAddress,
        "",
        kMakersHint,
    };
    std::string text = lines[0];
    for (size_t i = 1; i < std::size(lines); ++i) text.append(1, '\r').append(lines[i]);
    return text;
}

}  // namespace app

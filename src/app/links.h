#pragma once
// The project's web pages, the texts of the two labels at the bottom of the window, and the credits.

#include "product.h"

#include <windows.h>

#include <string>

namespace app {

// The project's own addresses are settings of the build (CMakeLists.txt).
inline constexpr char kHomePage[] = CORVAN_HOME_PAGE;
inline constexpr char kHelpPage[] = CORVAN_HELP_PAGE;
inline constexpr char kLicensePage[] = "https://www.gnu.org/licenses/old-licenses/gpl-2.0.txt";
inline constexpr char kContactAddress[] = CORVAN_CONTACT_ADDRESS;

inline constexpr char kMakersCaption[] = "Corvan, ";
#define CORVAN_MAKERS_HINT CORVAN_TITLE " (c) 2026 the Corvan developers"  // joined into the credits' text
inline constexpr char kMakersHint[] = CORVAN_MAKERS_HINT;
inline constexpr char kLicenseCaption[] = "GPL v2 or later";
inline constexpr char kLicenseHint[] = "GNU General Public License";

// One shell "open" of a page; whether a browser came up is not examined.
void OpenPage(HWND owner, const char* address);

// Thirteen lines, each ended by a single carriage return but the last; the same in every language.
std::string CreditsText();

}  // namespace app

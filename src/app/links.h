#pragma once
// The project's web pages, the texts of the two labels at the bottom of the window, and the credits.

#include "version.h"

#include <windows.h>

#include <string>

namespace app {

// Until the project has an address of its own, the reserved example domain stands in for it.
inline constexpr char kHomePage[] = "https://corvan.example.org/";
inline constexpr char kHelpPage[] = "https://corvan.example.org/help/";
inline constexpr char kLicensePage[] = "https://www.gnu.org/licenses/old-licenses/gpl-2.0.txt";
inline constexpr char kContactAddress[] = "corvan@corvan.example.org";

inline constexpr char kMakersCaption[] = "Corvan, ";
inline constexpr char kMakersHint[] = CORVAN_TITLE " (c) 2026 the Corvan developers";
inline constexpr char kLicenseCaption[] = "GPL v2 or later";
inline constexpr char kLicenseHint[] = "GNU General Public License";

// One shell "open" of a page; whether a browser came up is not examined.
void OpenPage(HWND owner, const char* address);

// Thirteen lines, each ended by a single carriage return but the last; the same in every language.
std::string CreditsText();

}  // namespace app

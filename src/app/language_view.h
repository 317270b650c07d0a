#pragma once
// The window in a language: which control or menu item shows each of a text set's twelve texts, and how,
// filled from the catalogue into the hidden text stores and applied from there.

#include "app/controls.h"
#include "i18n/catalogue.h"

#include <windows.h>

namespace app {

// The stores' items come with the window: each store holds its set's twelve texts in slot order.
void FillTextStores(const Controls& controls);

// The seventeen steps: caption, twelve slots, then the third button and the buttons' hints from the buttons
// themselves; everything that shows the set's texts first takes the set's reading order.
void ApplyLanguage(i18n::TextSet set, HWND window, Controls& controls);

// The set of the system default language.
void ApplySystemLanguage(HWND window, Controls& controls);

}  // namespace app

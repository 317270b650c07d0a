#pragma once
// Writing a text set into the main window, and choosing the set at start-up from the system language.
// The window hands over the controls it lets these operations write to.

#include "i18n/catalogue.h"

#include <windows.h>

#include <array>
#include <functional>
#include <string>

namespace i18n {

struct TextTargets {
    HWND window;
    HWND ipPrompt, ipEdit, changeButton, domainPrompt, domainEdit, serverListPrompt, serverList;
    HWND factoryButton, helpImage, domainButton;
    HMENU menu;
    UINT openItem, closeItem, creditsItem;
    std::array<HWND, kTextStoreCount> stores;
    std::function<void(HWND control, const std::wstring& hint, ReadingOrder order)> setHint;
};

// The stores' items come with the window: each store holds its set's twelve texts in slot order.
void FillTextStores(const TextTargets& targets);

// The seventeen steps: caption, twelve slots, then the third button and the buttons' hints from the
// buttons themselves; everything that shows the set's texts first takes the set's reading order.
void ApplyLanguage(TextSet set, const TextTargets& targets);

void ApplySystemLanguage(const TextTargets& targets);

}  // namespace i18n

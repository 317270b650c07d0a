#include "app/language_view.h"

#include "platform/menu.h"
#include "platform/text.h"
#include "product.h"

#include <commctrl.h>

namespace app {
namespace {

using i18n::Slot;

// How a slot's text shows in the window.
enum class Shows { Caption, Hint, MenuItem };

struct SlotView {
    Slot slot;
    Shows as;
    int target;  // the control's id, or the menu item's
};

// Every slot, in slot order, with where it shows.
constexpr SlotView kSlotViews[] = {
    {Slot::IpPrompt, Shows::Caption, kTntLabel1},
    {Slot::IpHint, Shows::Hint, kTntEdit1},
    {Slot::ChangeCaption, Shows::Caption, kTntButton1},
    {Slot::DomainPrompt, Shows::Caption, kTntLabel2},
    {Slot::DomainHint, Shows::Hint, kTntEdit2},
    {Slot::ServerListPrompt, Shows::Caption, kTntLabel4},
    {Slot::ServerListHint, Shows::Hint, kTntComboBox1},
    {Slot::FactoryCaption, Shows::Caption, kTntButton2},
    {Slot::HelpHint, Shows::Hint, kTntImage1},
    {Slot::MenuOpenCaption, Shows::MenuItem, kAbrir2},
    {Slot::MenuCloseCaption, Shows::MenuItem, kCerrar2},
    {Slot::MenuCreditsCaption, Shows::MenuItem, kCreditos1},
};

constexpr bool InSlotOrder() {
    for (int slot = 0; slot < i18n::kSlotCount; ++slot) {
        if (static_cast<int>(kSlotViews[slot].slot) != slot) return false;
    }
    return std::size(kSlotViews) == i18n::kSlotCount;
}
static_assert(InSlotOrder(), "one row for each slot, in slot order");

constexpr char kWindowCaption[] = CORVAN_TITLE;

// Reads a slot where the set lives at the moment it is needed: from its store, or from the constants.
class SlotReader {
public:
    SlotReader(i18n::TextSet set, const Controls& controls) : m_texts(i18n::TextsOf(set)) {
        if (const auto store = i18n::StoreOf(set)) m_store = controls[static_cast<ControlId>(kTntComboBox2 + *store)];
    }

    std::wstring operator()(Slot slot) const {
        if (!m_store) return platform::FromUtf8(i18n::SlotText(m_texts, slot).utf8);
        const LRESULT length = SendMessageW(m_store, CB_GETLBTEXTLEN, static_cast<WPARAM>(slot), 0);
        if (length == CB_ERR) return {};
        std::wstring item(static_cast<size_t>(length) + 1, L'\0');
        const LRESULT copied = SendMessageW(m_store, CB_GETLBTEXT, static_cast<WPARAM>(slot), reinterpret_cast<LPARAM>(item.data()));
        item.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
        return item;
    }

private:
    const i18n::LanguageTexts& m_texts;
    HWND m_store = nullptr;
};

void SetReadingOrder(HWND control, i18n::ReadingOrder order) {
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_EXSTYLE);
    SetWindowLongPtrW(control, GWL_EXSTYLE,
                      order == i18n::ReadingOrder::RightToLeft ? style | WS_EX_RTLREADING : style & ~WS_EX_RTLREADING);
    InvalidateRect(control, nullptr, TRUE);
}

void SetReadingOrder(HMENU menu, UINT item, i18n::ReadingOrder order) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, item, FALSE, &info);
    info.fType = order == i18n::ReadingOrder::RightToLeft ? info.fType | MFT_RIGHTORDER : info.fType & ~MFT_RIGHTORDER;
    SetMenuItemInfoW(menu, item, FALSE, &info);
}

}  // namespace

void FillTextStores(const Controls& controls) {
    for (const i18n::Language& language : i18n::Languages()) {
        if (!language.store) continue;
        const HWND combo = controls[static_cast<ControlId>(kTntComboBox2 + *language.store)];
        for (int slot = 0; slot < i18n::kSlotCount; ++slot) {
            const std::wstring item = platform::FromUtf8(i18n::SlotText(language.texts, static_cast<Slot>(slot)).utf8);
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
    }
}

void ApplyLanguage(i18n::TextSet set, HWND window, Controls& controls) {
    const SlotReader text(set, controls);
    const HMENU menu = controls.PopupMenu();
    // Only the order in which the lines read changes, never where anything stands: no mirroring.
    const i18n::ReadingOrder order = i18n::ReadingOrderOf(set);
    for (const SlotView& view : kSlotViews) {
        if (view.as == Shows::Caption) SetReadingOrder(controls[static_cast<ControlId>(view.target)], order);
    }
    SetReadingOrder(controls[kTntButton3], order);
    for (const SlotView& view : kSlotViews) {
        if (view.as == Shows::MenuItem) SetReadingOrder(menu, static_cast<UINT>(view.target), order);
    }

    SetWindowTextA(window, kWindowCaption);
    for (const SlotView& view : kSlotViews) {
        switch (view.as) {
            case Shows::Caption: SetWindowTextW(controls[static_cast<ControlId>(view.target)], text(view.slot).c_str()); break;
            case Shows::Hint: controls.SetHint(static_cast<ControlId>(view.target), text(view.slot), order); break;
            case Shows::MenuItem: platform::SetMenuCaption(menu, static_cast<UINT>(view.target), text(view.slot)); break;
        }
    }
    // The third button says what the first says, and each button's hint is its own caption.
    const std::wstring change = platform::WindowText(controls[kTntButton1]);
    SetWindowTextW(controls[kTntButton3], change.c_str());
    for (const ControlId button : {kTntButton1, kTntButton2, kTntButton3}) {
        controls.SetHint(button, platform::WindowText(controls[button]), order);
    }
}

void ApplySystemLanguage(HWND window, Controls& controls) {
    ApplyLanguage(i18n::TextSetOfSystemLanguage(GetSystemDefaultLangID()), window, controls);
}

}  // namespace app

#include "i18n/apply.h"

#include "platform/menu.h"
#include "platform/text.h"
#include "version.h"

#include <commctrl.h>

namespace i18n {
namespace {

constexpr char kWindowCaption[] = CORVAN_TITLE;
constexpr int kSlotCount = 12;

const Text& Slot(const LanguageTexts& texts, int slot) {
    const Text* slots[kSlotCount] = {
        &texts.IpPrompt,   &texts.IpHint,         &texts.ChangeCaption,  &texts.DomainPrompt,
        &texts.DomainHint, &texts.ServerListPrompt, &texts.ServerListHint, &texts.FactoryCaption,
        &texts.HelpHint,   &texts.MenuOpenCaption, &texts.MenuCloseCaption, &texts.MenuCreditsCaption,
    };
    return *slots[slot];
}

// Reads a slot where the set lives at the moment it is needed: from its store, or from the constants.
class SlotReader {
public:
    SlotReader(TextSet set, const TextTargets& targets) : m_texts(TextsOf(set)) {
        if (const auto store = StoreOf(set)) m_store = targets.stores[static_cast<size_t>(*store)];
    }

    std::wstring operator()(int slot) const {
        if (!m_store) return platform::FromUtf8(Slot(m_texts, slot).utf8);
        const LRESULT length = SendMessageW(m_store, CB_GETLBTEXTLEN, static_cast<WPARAM>(slot), 0);
        if (length == CB_ERR) return {};
        std::wstring item(static_cast<size_t>(length) + 1, L'\0');
        const LRESULT copied = SendMessageW(m_store, CB_GETLBTEXT, static_cast<WPARAM>(slot), reinterpret_cast<LPARAM>(item.data()));
        item.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
        return item;
    }

private:
    const LanguageTexts& m_texts;
    HWND m_store = nullptr;
};

void SetReadingOrder(HWND control, ReadingOrder order) {
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_EXSTYLE);
    SetWindowLongPtrW(control, GWL_EXSTYLE,
                      order == ReadingOrder::RightToLeft ? style | WS_EX_RTLREADING : style & ~WS_EX_RTLREADING);
    InvalidateRect(control, nullptr, TRUE);
}

void SetReadingOrder(HMENU menu, UINT item, ReadingOrder order) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, item, FALSE, &info);
    info.fType = order == ReadingOrder::RightToLeft ? info.fType | MFT_RIGHTORDER : info.fType & ~MFT_RIGHTORDER;
    SetMenuItemInfoW(menu, item, FALSE, &info);
}

}  // namespace

void FillTextStores(const TextTargets& targets) {
    for (const Language& language : Languages()) {
        if (!language.store) continue;
        const HWND combo = targets.stores[static_cast<size_t>(*language.store)];
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const std::wstring item = platform::FromUtf8(Slot(language.texts, slot).utf8);
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
    }
}

void ApplyLanguage(TextSet set, const TextTargets& targets) {
    const SlotReader slot(set, targets);
    // Only the order in which the lines read changes, never where anything stands: no mirroring.
    const ReadingOrder order = ReadingOrderOf(set);
    for (const HWND control : {targets.ipPrompt, targets.changeButton, targets.domainPrompt, targets.serverListPrompt,
                               targets.factoryButton, targets.domainButton}) {
        SetReadingOrder(control, order);
    }
    for (const UINT item : {targets.openItem, targets.closeItem, targets.creditsItem}) SetReadingOrder(targets.menu, item, order);

    SetWindowTextA(targets.window, kWindowCaption);
    SetWindowTextW(targets.ipPrompt, slot(0).c_str());
    targets.setHint(targets.ipEdit, slot(1), order);
    SetWindowTextW(targets.changeButton, slot(2).c_str());
    SetWindowTextW(targets.domainPrompt, slot(3).c_str());
    targets.setHint(targets.domainEdit, slot(4), order);
    SetWindowTextW(targets.serverListPrompt, slot(5).c_str());
    targets.setHint(targets.serverList, slot(6), order);
    SetWindowTextW(targets.factoryButton, slot(7).c_str());
    targets.setHint(targets.helpImage, slot(8), order);
    platform::SetMenuCaption(targets.menu, targets.openItem, slot(9));
    platform::SetMenuCaption(targets.menu, targets.closeItem, slot(10));
    platform::SetMenuCaption(targets.menu, targets.creditsItem, slot(11));
    SetWindowTextW(targets.domainButton, platform::WindowText(targets.changeButton).c_str());
    targets.setHint(targets.changeButton, platform::WindowText(targets.changeButton), order);
    targets.setHint(targets.factoryButton, platform::WindowText(targets.factoryButton), order);
    targets.setHint(targets.domainButton, platform::WindowText(targets.domainButton), order);
}

void ApplySystemLanguage(const TextTargets& targets) {
    ApplyLanguage(TextSetOfSystemLanguage(GetSystemDefaultLangID()), targets);
}

}  // namespace i18n

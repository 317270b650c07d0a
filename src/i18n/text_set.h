#pragma once
// One language's twelve window texts, in slot order: the order of the text stores' items and of the
// window's steps when it takes a set. Texts are UTF-8; the window turns them into UTF-16.

namespace i18n {

enum class TextSet : int;  // named in catalogue.h

// A text with no default: a record that leaves out a slot does not compile.
struct Text {
    const char* utf8;
    constexpr Text(const char* text) : utf8(text) {}  // NOLINT(google-explicit-constructor)
};

// The twelve slots, in their order: written here once.
#define CORVAN_TEXT_SLOTS(F)                                                                 \
    F(IpPrompt)           /* label above the address field */                                \
    F(IpHint)             /* tooltip of the address field */                                 \
    F(ChangeCaption)      /* both apply buttons */                                           \
    F(DomainPrompt)       /* label above the domain field */                                 \
    F(DomainHint)         /* tooltip of the domain field; ends with the dispatch host name */ \
    F(ServerListPrompt)   /* label before the server list */                                 \
    F(ServerListHint)     /* tooltip of the server list */                                   \
    F(FactoryCaption)     /* factory button */                                               \
    F(HelpHint)           /* tooltip of the help picture */                                  \
    F(MenuOpenCaption)    /* tray menu: open the window */                                   \
    F(MenuCloseCaption)   /* tray menu: end the program */                                   \
    F(MenuCreditsCaption) /* tray menu: credits */

#define CORVAN_TEXT_FIELD(slot) Text slot;
#define CORVAN_SLOT_NAME(slot) slot,
#define CORVAN_SLOT_MEMBER(slot) &LanguageTexts::slot,

struct LanguageTexts {
    TextSet set;  // the set its text file belongs to, checked against its row
    CORVAN_TEXT_SLOTS(CORVAN_TEXT_FIELD)
};

enum class Slot { CORVAN_TEXT_SLOTS(CORVAN_SLOT_NAME) };

inline constexpr Text LanguageTexts::* kSlots[] = {CORVAN_TEXT_SLOTS(CORVAN_SLOT_MEMBER)};
inline constexpr int kSlotCount = static_cast<int>(sizeof kSlots / sizeof kSlots[0]);

#undef CORVAN_TEXT_FIELD
#undef CORVAN_SLOT_NAME
#undef CORVAN_SLOT_MEMBER

inline const Text& SlotText(const LanguageTexts& texts, Slot slot) { return texts.*kSlots[static_cast<int>(slot)]; }

}  // namespace i18n

#pragma once
// One language's twelve window texts, in slot order. Texts are UTF-8; the window turns them into UTF-16.

namespace i18n {

enum class TextSet : int;  // named in catalogue.h

// A text with no default: a record that leaves out a slot does not compile.
struct Text {
    const char* utf8;
    constexpr Text(const char* text) : utf8(text) {}  // NOLINT(google-explicit-constructor)
};

struct LanguageTexts {
    TextSet set;              // the set its text file belongs to, checked against its row
    Text IpPrompt;            // label above the address field
    Text IpHint;              // tooltip of the address field
    Text ChangeCaption;       // both apply buttons
    Text DomainPrompt;        // label above the domain field
    Text DomainHint;          // tooltip of the domain field; ends with the dispatch host name
    Text ServerListPrompt;    // label before the server list
    Text ServerListHint;      // tooltip of the server list
    Text FactoryCaption;      // factory button
    Text HelpHint;            // tooltip of the help picture
    Text MenuOpenCaption;     // tray menu: open the window
    Text MenuCloseCaption;    // tray menu: end the program
    Text MenuCreditsCaption;  // tray menu: credits
};

}  // namespace i18n

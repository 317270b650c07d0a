#pragma once
// The 38 text sets, the language list that names them, and the system languages that choose one.

#include "i18n/text_set.h"

#include <optional>
#include <span>
#include <string_view>

namespace i18n {

enum class TextSet : int {
    Arabic, BalearCatalaValencia, Portuguese, Bulgarian, Chinese, Croatian, Czech, Danish, Deutsch, Dutch,
    English, Esperanto, Euskera, Filipino, Finnish, Francais, Galego, Greek, Hungarian, Icelandic,
    IrishGaelic, Italiano, Japanese, Korean, Latin, Norwegian, Polish, Romanian, Russian, Serbian,
    SimplifiedChinese, Slovenian, SpanishSpain, SpanishArgentina, Swedish, Thai, Turkish, Welsh,
};
inline constexpr int kTextSetCount = 38;
inline constexpr int kLanguageListSize = 40;  // the prompt and 39 language names

const LanguageTexts& TextsOf(TextSet set);

// Index of the hidden text store that holds the set (0 for the first store), or nothing for a set kept as constants.
std::optional<int> StoreOf(TextSet set);

// The order in which a set's lines read: that of the script its language is written in.
enum class ReadingOrder { LeftToRight, RightToLeft };
ReadingOrder ReadingOrderOf(TextSet set);

// The language list's 40 items in UTF-8; item i goes with picture i.
std::span<const char* const> LanguageListItems();

// The set a language list item names, its text given in UTF-8: whole text, exact, case-sensitive;
// nothing for the prompt.
std::optional<TextSet> TextSetOfName(std::string_view itemText);

// The set of a system default language identifier; English for every identifier without one.
TextSet TextSetOfSystemLanguage(unsigned short languageId);

}  // namespace i18n

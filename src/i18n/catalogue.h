#pragma once
// The 38 text sets, the language list that names them, and the system languages that choose one.

#include "i18n/text_set.h"

#include <initializer_list>
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
inline constexpr int kTextSetCount = 38;  // TextSet's size: the build checks that each set has its row
// The prompt, a name for each set, and "Portuguese" beside "Brazilian": 40 items.
inline constexpr int kLanguageListSize = 1 + kTextSetCount + 1;
inline constexpr int kTextStoreCount = 27;  // the window's hidden text stores

// The order in which a set's lines read: that of the script its language is written in.
enum class ReadingOrder { LeftToRight, RightToLeft };

// A short list inside a row of the languages table, so that each row reads as one braced record.
template <typename T, int kRoom>
class Few {
public:
    constexpr Few() = default;
    consteval Few(std::initializer_list<T> items) {
        if (items.size() > kRoom) throw "more entries than the row has room for";
        for (const T& item : items) m_items[m_count++] = item;
    }
    constexpr const T* begin() const { return m_items; }
    constexpr const T* end() const { return m_items + m_count; }
    constexpr int size() const { return m_count; }

private:
    T m_items[kRoom] = {};
    int m_count = 0;
};

// A name in the language list: its text in UTF-8; its item, which is also the number of its picture in
// flags.bmp; and the key tools/pictures/ draws that picture from.
struct ListName {
    const char* text = nullptr;
    int item = 0;
    const char* picture = nullptr;
};

// Everything about one text set: a row of src/i18n/languages.inc.
struct Language {
    TextSet set;
    Few<ListName, 2> names;    // "Brazilian" and "Portuguese" name one set
    std::optional<int> store;  // the hidden text store that holds the set (0 for TntComboBox2), or none for constants
    Few<unsigned short, 19> systemLanguages;  // the system default languages that choose the set; Spanish Spain has 19
    ReadingOrder readingOrder;
    LanguageTexts texts;
};

// Every language, in the order of TextSet.
std::span<const Language> Languages();

const LanguageTexts& TextsOf(TextSet set);

// Index of the hidden text store that holds the set (0 for the first store), or nothing for a set kept as constants.
std::optional<int> StoreOf(TextSet set);

ReadingOrder ReadingOrderOf(TextSet set);

// The language list's 40 items in UTF-8; item i goes with picture i.
std::span<const char* const> LanguageListItems();

// The set a language list item names, its text given in UTF-8: whole text, exact, case-sensitive;
// nothing for the prompt.
std::optional<TextSet> TextSetOfName(std::string_view itemText);

// The set of a system default language identifier; English for every identifier without one.
TextSet TextSetOfSystemLanguage(unsigned short languageId);

}  // namespace i18n

#include "i18n/catalogue.h"

#include "messenger/dispatch.h"

#include <algorithm>
#include <array>

namespace i18n {
namespace {

using enum TextSet;

// In the order of TextSet.
constexpr LanguageTexts kTexts[] = {
#include "i18n/texts/ar.inc"
#include "i18n/texts/ca.inc"
#include "i18n/texts/pt.inc"
#include "i18n/texts/bg.inc"
#include "i18n/texts/zh_hant.inc"
#include "i18n/texts/hr.inc"
#include "i18n/texts/cs.inc"
#include "i18n/texts/da.inc"
#include "i18n/texts/de.inc"
#include "i18n/texts/nl.inc"
#include "i18n/texts/en.inc"
#include "i18n/texts/eo.inc"
#include "i18n/texts/eu.inc"
#include "i18n/texts/fil.inc"
#include "i18n/texts/fi.inc"
#include "i18n/texts/fr.inc"
#include "i18n/texts/gl.inc"
#include "i18n/texts/el.inc"
#include "i18n/texts/hu.inc"
#include "i18n/texts/is.inc"
#include "i18n/texts/ga.inc"
#include "i18n/texts/it.inc"
#include "i18n/texts/ja.inc"
#include "i18n/texts/ko.inc"
#include "i18n/texts/la.inc"
#include "i18n/texts/nb.inc"
#include "i18n/texts/pl.inc"
#include "i18n/texts/ro.inc"
#include "i18n/texts/ru.inc"
#include "i18n/texts/sr_latn.inc"
#include "i18n/texts/zh_hans.inc"
#include "i18n/texts/sl.inc"
#include "i18n/texts/es.inc"
#include "i18n/texts/es_ar.inc"
#include "i18n/texts/sv.inc"
#include "i18n/texts/th.inc"
#include "i18n/texts/tr.inc"
#include "i18n/texts/cy.inc"
};
static_assert(std::size(kTexts) == kTextSetCount);

// The first text file out of the order of TextSet, or -1: each file names the set it belongs to.
consteval int TextsOutOfTextSetOrder() {
    for (int set = 0; set < kTextSetCount; ++set) {
        if (kTexts[set].set != static_cast<TextSet>(set)) return set;
    }
    return -1;
}
static_assert(TextsOutOfTextSetOrder() == -1, "a text file is included in the place of another set");

// Where a set lives: kConstants, or the number of its store counted from TntComboBox2 (which is store 0).
constexpr int kConstants = -1;
constexpr int kStores[kTextSetCount] = {
    /* Arabic */ 2, kConstants, kConstants, /* Bulgarian */ 17, /* Chinese */ 3, /* Croatian */ 13, /* Czech */ 16,
    /* Danish */ 12, kConstants, kConstants, kConstants, /* Esperanto */ 25, kConstants, /* Filipino */ 18,
    /* Finnish */ 11, kConstants, kConstants, /* Greek */ 7, /* Hungarian */ 19, /* Icelandic */ 9,
    /* Irish Gaelic */ 26, kConstants, /* Japanese */ 0, /* Korean */ 4, /* Latin */ 23, /* Norwegian */ 10,
    /* Polish */ 8, /* Romanian */ 21, /* Russian */ 1, /* Serbian */ 15, /* Simplified Chinese */ 5,
    /* Slovenian */ 14, kConstants, kConstants, /* Swedish */ 6, /* Thai */ 24, /* Turkish */ 20, /* Welsh */ 22,
};

// The sets written in a right-to-left script.
constexpr TextSet kRightToLeftSets[] = {Arabic};

constexpr const char* kLanguageList[] = {
#include "i18n/language_list.inc"
};
static_assert(std::size(kLanguageList) == kLanguageListSize);

// The set each language list item applies; "Brazilian" and "Portuguese" share one.
constexpr std::optional<TextSet> kItemSets[kLanguageListSize] = {
    std::nullopt, Arabic, BalearCatalaValencia, Portuguese, Bulgarian, Chinese, Croatian, Czech, Danish, Deutsch,
    Dutch, English, Esperanto, Euskera, Filipino, Finnish, Francais, Galego, Greek, Hungarian, Icelandic,
    IrishGaelic, Italiano, Japanese, Korean, Latin, Norwegian, Polish, Portuguese, Romanian, Russian, Serbian,
    SimplifiedChinese, Slovenian, SpanishSpain, SpanishArgentina, Swedish, Thai, Turkish, Welsh,
};

struct SystemLanguage {
    unsigned short id;
    TextSet set;
};

constexpr SystemLanguage kSystemLanguages[] = {
#include "i18n/system_languages.inc"
};

}  // namespace

const LanguageTexts& TextsOf(TextSet set) { return kTexts[static_cast<int>(set)]; }

std::optional<int> StoreOf(TextSet set) {
    const int store = kStores[static_cast<int>(set)];
    return store == kConstants ? std::nullopt : std::optional<int>(store);
}

ReadingOrder ReadingOrderOf(TextSet set) {
    const bool rightToLeft =
        std::find(std::begin(kRightToLeftSets), std::end(kRightToLeftSets), set) != std::end(kRightToLeftSets);
    return rightToLeft ? ReadingOrder::RightToLeft : ReadingOrder::LeftToRight;
}

std::span<const char* const> LanguageListItems() { return kLanguageList; }

std::optional<TextSet> TextSetOfName(std::string_view itemText) {
    const auto item = std::find(std::begin(kLanguageList), std::end(kLanguageList), itemText);
    if (item == std::end(kLanguageList)) return std::nullopt;
    return kItemSets[item - std::begin(kLanguageList)];
}

TextSet TextSetOfSystemLanguage(unsigned short languageId) {
    const auto row = std::find_if(std::begin(kSystemLanguages), std::end(kSystemLanguages),
                                  [languageId](const SystemLanguage& language) { return language.id == languageId; });
    return row == std::end(kSystemLanguages) ? English : row->set;
}

}  // namespace i18n

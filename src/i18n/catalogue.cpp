#include "i18n/catalogue.h"

#include "product.h"

#include <algorithm>
#include <array>

namespace i18n {
namespace {

using enum TextSet;
using enum ReadingOrder;

constexpr std::nullopt_t kConstants = std::nullopt;  // a set kept as constants, in no store

#include "i18n/languages.inc"

constexpr int kNone = -1;

// Each check names the first row (or item, store, identifier) that breaks it, kNone when all agree, so that
// a failing static_assert shows where.
consteval int RowOutOfTextSetOrder() {
    for (int row = 0; row < static_cast<int>(std::size(kLanguages)); ++row) {
        if (kLanguages[row].set != static_cast<TextSet>(row)) return row;
    }
    return kNone;
}

consteval int RowWithTheTextFileOfAnotherSet() {
    for (int row = 0; row < static_cast<int>(std::size(kLanguages)); ++row) {
        if (kLanguages[row].texts.set != kLanguages[row].set) return row;
    }
    return kNone;
}

// Every item from 0 to kLanguageListSize - 1 comes exactly once: the prompt's 0, then the names'.
consteval int ItemMissingOrTwice() {
    std::array<int, kLanguageListSize> uses{};
    const auto use = [&uses](int item) { return item >= 0 && item < kLanguageListSize && ++uses[item] == 1; };
    if (!use(kPrompt.item) || kPrompt.item != 0) return kPrompt.item;
    for (const Language& language : kLanguages) {
        for (const ListName& name : language.names) {
            if (!use(name.item)) return name.item;
        }
    }
    for (int item = 0; item < kLanguageListSize; ++item) {
        if (uses[item] != 1) return item;
    }
    return kNone;
}

// The item of a name whose text an earlier name has too: the list tells its names apart by their text.
consteval int ItemNamedTwice() {
    std::array<std::string_view, kLanguageListSize> texts{};
    texts[0] = kPrompt.text;
    for (const Language& language : kLanguages) {
        for (const ListName& name : language.names) texts[name.item] = name.text;
    }
    for (int item = 0; item < kLanguageListSize; ++item) {
        if (texts[item].empty() || std::find(texts.begin(), texts.begin() + item, texts[item]) != texts.begin() + item) {
            return item;
        }
    }
    return kNone;
}

// Each of the kTextStoreCount stores holds exactly one set.
consteval int StoreOutOfRangeOrShared() {
    std::array<int, kTextStoreCount> sets{};
    for (const Language& language : kLanguages) {
        if (!language.store) continue;
        const int store = *language.store;
        if (store < 0 || store >= kTextStoreCount || ++sets[store] > 1) return store;
    }
    for (int store = 0; store < kTextStoreCount; ++store) {
        if (sets[store] != 1) return store;
    }
    return kNone;
}

// An identifier that an earlier place in the table has already given a set.
consteval int SystemLanguageGivenTwice() {
    for (auto row = std::begin(kLanguages); row != std::end(kLanguages); ++row) {
        const auto& ids = row->systemLanguages;
        for (auto id = ids.begin(); id != ids.end(); ++id) {
            if (std::find(ids.begin(), id, *id) != id) return *id;
            for (auto earlier = std::begin(kLanguages); earlier != row; ++earlier) {
                const auto& earlierIds = earlier->systemLanguages;
                if (std::find(earlierIds.begin(), earlierIds.end(), *id) != earlierIds.end()) return *id;
            }
        }
    }
    return kNone;
}

static_assert(std::size(kLanguages) == kTextSetCount, "one row for each text set");
static_assert(RowOutOfTextSetOrder() == kNone, "the rows follow the order of TextSet, one row for each set");
static_assert(RowWithTheTextFileOfAnotherSet() == kNone, "a row includes the text file of another set");
static_assert(ItemMissingOrTwice() == kNone, "the list's items are 0 (the prompt) to kLanguageListSize - 1, each once");
static_assert(ItemNamedTwice() == kNone, "every item of the list has a text of its own");
static_assert(StoreOutOfRangeOrShared() == kNone, "every text store holds exactly one set");
static_assert(SystemLanguageGivenTwice() == kNone, "each system language chooses one set");

constexpr std::array<const char*, kLanguageListSize> ListInItemOrder() {
    std::array<const char*, kLanguageListSize> items{};
    items[kPrompt.item] = kPrompt.text;
    for (const Language& language : kLanguages) {
        for (const ListName& name : language.names) items[name.item] = name.text;
    }
    return items;
}

constexpr std::array<const char*, kLanguageListSize> kLanguageList = ListInItemOrder();

const Language& RowOf(TextSet set) { return kLanguages[static_cast<int>(set)]; }

}  // namespace

std::span<const Language> Languages() { return kLanguages; }

const LanguageTexts& TextsOf(TextSet set) { return RowOf(set).texts; }

std::optional<int> StoreOf(TextSet set) { return RowOf(set).store; }

ReadingOrder ReadingOrderOf(TextSet set) { return RowOf(set).readingOrder; }

std::span<const char* const> LanguageListItems() { return kLanguageList; }

std::optional<TextSet> TextSetOfName(std::string_view itemText) {
    for (const Language& language : kLanguages) {
        for (const ListName& name : language.names) {
            if (name.text == itemText) return language.set;
        }
    }
    return std::nullopt;
}

TextSet TextSetOfSystemLanguage(unsigned short languageId) {
    for (const Language& language : kLanguages) {
        if (std::find(language.systemLanguages.begin(), language.systemLanguages.end(), languageId) !=
            language.systemLanguages.end()) {
            return language.set;
        }
    }
    return English;
}

}  // namespace i18n

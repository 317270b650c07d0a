// The language list applying text sets to the window, the hidden text stores, the texts' fit in their
// controls, start-up under a system language, the reading order of Arabic, and the globe that opens
// the regional settings.

#include "i18n/catalogue.h"
#include "platform/text.h"
#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cwctype>
#include <map>
#include <optional>
#include <set>

namespace {

using namespace test;
using i18n::TextSet;
using enum TextSet;

constexpr int kSlotCount = std::tuple_size_v<Slots>;
constexpr int kPromptItem = 0;
constexpr int kBrazilianItem = 3;
constexpr int kDeutschItem = 9;
constexpr int kJapaneseItem = 23;
constexpr int kPortugueseItem = 28;

// The set a language list item applies, as the table of languages gives it; none for the prompt.
std::optional<TextSet> SetOfItem(int item) {
    for (const i18n::Language& language : i18n::Languages()) {
        for (const i18n::ListName& name : language.names) {
            if (name.item == item) return language.set;
        }
    }
    return std::nullopt;
}


int FirstItemOf(TextSet set) {
    for (int item = 1; item < i18n::kLanguageListSize; ++item) {
        if (SetOfItem(item) == set) return item;
    }
    return -1;
}

const char* const kSlotNames[kSlotCount] = {
    "TntLabel1 caption", "TntEdit1 hint",      "TntButton1 caption", "TntLabel2 caption", "TntEdit2 hint",   "TntLabel4 caption",
    "TntComboBox1 hint", "TntButton2 caption", "TntImage1 hint",     "Abrir2 caption",    "Cerrar2 caption", "Creditos1 caption",
};

// What the window shows on the twelve slot properties.
Slots ShownSlots(ProgramWindow& program) {
    const HMENU menu = program.form.Parts().PopupMenu();
    return {
        WideText(program.Control(app::kTntLabel1)),
        program.form.Parts().Hint(app::kTntEdit1),
        WideText(program.Control(app::kTntButton1)),
        WideText(program.Control(app::kTntLabel2)),
        program.form.Parts().Hint(app::kTntEdit2),
        WideText(program.Control(app::kTntLabel4)),
        program.form.Parts().Hint(app::kTntComboBox1),
        WideText(program.Control(app::kTntButton2)),
        program.form.Parts().Hint(app::kTntImage1),
        MenuCaption(menu, app::kAbrir2),
        MenuCaption(menu, app::kCerrar2),
        MenuCaption(menu, app::kCreditos1),
    };
}

// The four copies the buttons take from themselves: TntButton3's caption and the three buttons' hints.
std::array<std::wstring, 4> ButtonCopies(ProgramWindow& program) {
    return {WideText(program.Control(app::kTntButton3)), program.form.Parts().Hint(app::kTntButton1), program.form.Parts().Hint(app::kTntButton2),
            program.form.Parts().Hint(app::kTntButton3)};
}

// What applying a set must leave alone, captured before and compared after.
struct Untouched {
    std::vector<std::string> languageList;
    std::wstring ipEntry, domainEntry, currentValuesItem;
    LRESULT serverListSelection;

    static Untouched Of(ProgramWindow& program) {
        return {AnsiItems(program.Control(app::kComboBox2)), WideText(program.Control(app::kTntEdit1)),
                WideText(program.Control(app::kTntEdit2)), MenuCaption(program.form.Parts().PopupMenu(), app::kMSNValues1),
                SendMessageW(program.Control(app::kTntComboBox1), CB_GETCURSEL, 0, 0)};
    }
    bool operator==(const Untouched&) const = default;
};

// A state the window would not reach by itself, so that "untouched" means something.
void TypeEntriesAndChooseServer(ProgramWindow& program) {
    SetWindowTextW(program.Control(app::kTntEdit1), L"10.20.30.40");
    SetWindowTextW(program.Control(app::kTntEdit2), L"messenger.example.test");
    SendMessageW(program.Control(app::kTntComboBox1), CB_SETCURSEL, 7, 0);
}

// ---------------------------------------------------------------------------------------------------
// Applying a set through the language list

TEST(LanguageList, EveryItemAppliesItsSetAndTouchesNothingElse) {
    ProgramWindow program;
    TypeEntriesAndChooseServer(program);
    const Untouched before = Untouched::Of(program);
    ASSERT_EQ(before.languageList.size(), 40u);
    ASSERT_EQ(before.languageList[0], "Select other language:");

    for (int item = 1; item < i18n::kLanguageListSize; ++item) {
        SCOPED_TRACE(before.languageList[static_cast<size_t>(item)]);
        PickLanguage(program, item);
        const Slots expected = SlotTexts(SetOfItem(item).value());
        const Slots shown = ShownSlots(program);
        for (int slot = 0; slot < kSlotCount; ++slot) EXPECT_EQ(shown[slot], expected[slot]) << kSlotNames[slot];

        const auto copies = ButtonCopies(program);
        EXPECT_EQ(copies[0], shown[2]) << "TntButton3 shows TntButton1's caption";
        EXPECT_EQ(copies[1], shown[2]) << "TntButton1's hint is its caption";
        EXPECT_EQ(copies[2], shown[7]) << "TntButton2's hint is its caption";
        EXPECT_EQ(copies[3], shown[2]) << "TntButton3's hint is its caption";

        EXPECT_EQ(AnsiText(program.form.Handle()), "Corvan v1.2");
        EXPECT_EQ(SendMessageA(program.Control(app::kComboBox2), CB_GETCURSEL, 0, 0), item);
        EXPECT_TRUE(Untouched::Of(program) == before) << "language list, entries, server list or MSNValues1 changed";
        EXPECT_EQ(PictureOf(program.form.Parts().FlagPicture()), ImageListPicture(program.form.Parts().Images(), item)) << "Image2";
    }
}

TEST(LanguageList, NextSetLeavesNoTextOfThePreviousOne) {
    ProgramWindow program;
    // Every set is followed by a near and a far neighbour in the list: each set's texts must go,
    // whichever set comes next, without trying all 1,400 pairs.
    constexpr int kNames = i18n::kLanguageListSize - 1;
    for (int first = 1; first < i18n::kLanguageListSize; ++first) {
        const Slots previous = SlotTexts(SetOfItem(first).value());
        for (int step : {1, 2, kNames / 2}) {
            const int second = 1 + (first - 1 + step) % kNames;
            if (SetOfItem(second) == SetOfItem(first)) continue;
            PickLanguage(program, first);
            PickLanguage(program, second);
            const Slots now = SlotTexts(SetOfItem(second).value());
            const Slots shown = ShownSlots(program);
            const auto copies = ButtonCopies(program);
            for (int slot = 0; slot < kSlotCount; ++slot) {
                // Where both sets say the same ("Abrir" in Spanish and Galician), the text cannot go.
                if (previous[slot] == now[slot]) continue;
                EXPECT_NE(shown[slot], previous[slot]) << first << " then " << second << ": " << kSlotNames[slot];
            }
            for (const std::wstring& copy : copies) {
                if (previous[2] != now[2]) {
                    EXPECT_NE(copy, previous[2]) << first << " then " << second;
                }
                if (previous[7] != now[7]) {
                    EXPECT_NE(copy, previous[7]) << first << " then " << second;
                }
            }
        }
    }
}

TEST(LanguageList, ApplyingTheSameSetAgainLeavesTheWindowAsItWas) {
    ProgramWindow program;
    PickLanguage(program, kJapaneseItem);
    const Slots once = ShownSlots(program);
    const auto copiesOnce = ButtonCopies(program);
    PickLanguage(program, kJapaneseItem);
    EXPECT_EQ(ShownSlots(program), once);
    EXPECT_EQ(ButtonCopies(program), copiesOnce);
}

TEST(LanguageList, PortugueseThenBrazilianKeepTheTextsAndChangeThePicture) {
    ProgramWindow program;
    PickLanguage(program, kPortugueseItem);
    const Slots portuguese = ShownSlots(program);
    const auto portugueseCopies = ButtonCopies(program);
    const Picture picture28 = PictureOf(program.form.Parts().FlagPicture());
    ASSERT_EQ(picture28, ImageListPicture(program.form.Parts().Images(), 28));

    PickLanguage(program, kBrazilianItem);
    EXPECT_EQ(ShownSlots(program), portuguese);
    EXPECT_EQ(ButtonCopies(program), portugueseCopies);
    const Picture picture3 = PictureOf(program.form.Parts().FlagPicture());
    EXPECT_EQ(picture3, ImageListPicture(program.form.Parts().Images(), 3));
    EXPECT_NE(picture3, picture28);
}

TEST(LanguageList, PromptAfterDeutschShowsPromptPictureAndKeepsGermanTexts) {
    ProgramWindow program;
    PickLanguage(program, kDeutschItem);
    const Slots german = ShownSlots(program);
    ASSERT_EQ(german, SlotTexts(Deutsch));

    PickLanguage(program, kPromptItem);
    EXPECT_EQ(ShownSlots(program), german);
    EXPECT_EQ(WideText(program.Control(app::kTntButton3)), german[2]);
    EXPECT_EQ(PictureOf(program.form.Parts().FlagPicture()), ImageListPicture(program.form.Parts().Images(), 0));
    EXPECT_NE(ImageListPicture(program.form.Parts().Images(), 0), ImageListPicture(program.form.Parts().Images(), kDeutschItem));
}

// ---------------------------------------------------------------------------------------------------
// The hidden text stores

// Windows allows a text's length, asked first, to be larger than the text (under a double-byte code page,
// for one): what the program reads back is what the read returned. Here the edit field and the Japanese
// store give their lengths three characters too long.
WNDPROC g_ownProcedure = nullptr;

LRESULT CALLBACK OverstatingLengths(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcW(g_ownProcedure, window, message, wParam, lParam);
    return (message == WM_GETTEXTLENGTH || message == CB_GETLBTEXTLEN) && result >= 0 ? result + 3 : result;
}

TEST(TextReadBack, IsWhatTheReadReturnedWhateverLengthCameBefore) {
    ProgramWindow program;
    const auto overstate = [](HWND window) {
        g_ownProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OverstatingLengths)));
    };
    const auto restore = [](HWND window) { SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_ownProcedure)); };

    const HWND edit = program.Control(app::kTntEdit1);
    SetWindowTextW(edit, L"10.0.0.1");
    overstate(edit);
    EXPECT_EQ(platform::WindowText(edit), L"10.0.0.1");
    restore(edit);

    const HWND japaneseStore = program.Control(app::kTntComboBox2);
    overstate(japaneseStore);
    PickLanguage(program, kJapaneseItem);
    EXPECT_EQ(WideText(program.Control(app::kTntLabel1)), L"MSNサーバのIPを置いてください。");
    EXPECT_EQ(program.form.Parts().Hint(app::kTntEdit1).find(L'\0'), std::wstring::npos) << "the hint kept what was not read";
    restore(japaneseStore);
}

TEST(TextStores, ApplyingReadsEachItemOfTheStoreAtThatMoment) {
    const struct {
        int store;
        int item;
    } stores[] = {{0, kJapaneseItem}, {26, 21 /* Irish Gaelic */}};
    for (const auto& row : stores) {
        ProgramWindow program;
        const HWND combo = program.Control(static_cast<app::ControlId>(app::kTntComboBox2 + row.store));
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const std::wstring changed = L"changed slot " + std::to_wstring(slot + 1);
            SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(slot), 0);
            SendMessageW(combo, CB_INSERTSTRING, static_cast<WPARAM>(slot), reinterpret_cast<LPARAM>(changed.c_str()));
        }
        PickLanguage(program, row.item);
        const Slots shown = ShownSlots(program);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            EXPECT_EQ(shown[slot], L"changed slot " + std::to_wstring(slot + 1))
                << "store " << row.store << ": " << kSlotNames[slot];
        }
        EXPECT_EQ(WideText(program.Control(app::kTntButton3)), L"changed slot 3");
        EXPECT_EQ(program.form.Parts().Hint(app::kTntButton2), L"changed slot 8");

        // A set kept as constants does not read any store.
        PickLanguage(program, FirstItemOf(English));
        EXPECT_EQ(ShownSlots(program), SlotTexts(English));
    }
}

// ---------------------------------------------------------------------------------------------------
// Every caption fits its control in the control's own font, as Wine draws it

// A push button draws its caption inside its 2-pixel frame, and a default button (the focused one)
// has a 1-pixel ring around that.
constexpr int kButtonBorder = 3;  // pixels on each side

// Given texts that are kept as they are although they do not fit: (set, slot).
const std::set<std::pair<TextSet, int>> kGivenTextsThatOverflow = {
    {Japanese, 3},  // "または、MSNサーバのドメインを置いてください。"
};

int TextWidth(HWND control, const std::wstring& text) {
    const HDC dc = GetDC(control);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return size.cx;
}

TEST(TextFit, EveryCaptionFitsItsControlInEverySet) {
    ProgramWindow program;
    RECT client{};
    GetClientRect(program.form.Handle(), &client);
    const struct {
        app::ControlId id;
        int slot;
        bool button;
    } captioned[] = {
        {app::kTntLabel1, 0, false}, {app::kTntLabel2, 3, false}, {app::kTntLabel4, 5, false},
        {app::kTntButton1, 2, true}, {app::kTntButton3, 2, true}, {app::kTntButton2, 7, true},
    };
    std::set<std::pair<TextSet, int>> overflowing;
    for (int set = 0; set < i18n::kTextSetCount; ++set) {
        PickLanguage(program, FirstItemOf(static_cast<TextSet>(set)));
        for (const auto& control : captioned) {
            const HWND window = program.Control(control.id);
            RECT box{};
            GetWindowRect(window, &box);
            MapWindowPoints(nullptr, program.form.Handle(), reinterpret_cast<POINT*>(&box), 2);
            const int room = control.button ? box.right - box.left - 2 * kButtonBorder : client.right - box.left;
            const std::wstring caption = WideText(window);
            const int width = TextWidth(window, caption);
            if (width <= room) continue;
            overflowing.insert({static_cast<TextSet>(set), control.slot});
            EXPECT_TRUE(kGivenTextsThatOverflow.count({static_cast<TextSet>(set), control.slot}))
                << "set " << set << ", " << kSlotNames[control.slot] << ": " << platform::ToUtf8(caption) << " is " << width
                << " px wide, room " << room << " px";
        }
    }
    // The list of given texts that do not fit stays true: each still overflows.
    for (const auto& given : kGivenTextsThatOverflow) {
        EXPECT_TRUE(overflowing.count(given))
            << "set " << static_cast<int>(given.first) << " slot " << given.second + 1 << " fits now";
    }
}

// ---------------------------------------------------------------------------------------------------
// Start-up under a system language. CTest runs this test with LC_ALL set, and names the identifier
// that locale must give in CORVAN_SYSTEM_LANGUAGE (Wine takes the system language from the locale).

TEST(SystemLanguageStartUp, WindowSpeaksTheSystemLanguageWithThePromptSelected) {
    const char* wanted = std::getenv("CORVAN_SYSTEM_LANGUAGE");
    if (!wanted) GTEST_SKIP() << "run by CTest with LC_ALL and CORVAN_SYSTEM_LANGUAGE set (see CMakeLists.txt)";
    const struct {
        LANGID id;
        TextSet set;
    } languages[] = {{0x040C, Francais}, {0x0411, Japanese}, {0x0804, Chinese}, {0x0407, Deutsch}, {0x040D, English}};
    const auto id = static_cast<LANGID>(std::strtoul(wanted, nullptr, 16));
    ASSERT_EQ(GetSystemDefaultLangID(), id) << "the locale did not give the system language";
    const auto* row = std::find_if(std::begin(languages), std::end(languages), [id](const auto& r) { return r.id == id; });
    ASSERT_NE(row, std::end(languages));

    ProgramWindow program;
    EXPECT_EQ(ShownSlots(program), SlotTexts(row->set));
    EXPECT_EQ(WideText(program.Control(app::kTntButton3)), SlotTexts(row->set)[2]);
    EXPECT_EQ(SendMessageA(program.Control(app::kComboBox2), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(AnsiText(program.Control(app::kComboBox2)), "Select other language:");
    EXPECT_EQ(PictureOf(program.form.Parts().FlagPicture()), ImageListPicture(program.form.Parts().Images(), 0));
    EXPECT_EQ(AnsiText(program.form.Handle()), "Corvan v1.2");
}

// The language list's two accented names under the system code page of the run's locale (CTest names
// the code page in CORVAN_CODE_PAGE): shown as they are, and each applying its set.
TEST(SystemCodePage, AccentedLanguageNamesShowAndApplyTheirSets) {
    const char* wanted = std::getenv("CORVAN_CODE_PAGE");
    if (!wanted) GTEST_SKIP() << "run by CTest with LC_ALL and CORVAN_CODE_PAGE set (see CMakeLists.txt)";
    ASSERT_EQ(GetACP(), std::strtoul(wanted, nullptr, 10)) << "the locale did not give the code page";

    ProgramWindow program;
    const HWND languages = program.Control(app::kComboBox2);
    const struct {
        int item;
        std::wstring name;
        TextSet set;
    } names[] = {{2, L"Balear-Català-Valencià", BalearCatalaValencia}, {16, L"Français", Francais}};
    for (const auto& row : names) {
        SCOPED_TRACE(row.item);
        EXPECT_EQ(WideItems(languages).at(static_cast<size_t>(row.item)), row.name);
        PickLanguage(program, row.item);
        EXPECT_EQ(WideText(languages), row.name) << "the closed list";
        EXPECT_EQ(ShownSlots(program), SlotTexts(row.set));
    }
}

// ---------------------------------------------------------------------------------------------------
// Many switches

constexpr int kSwitches = 500;

void SwitchLanguages(ProgramWindow& program, int count) {
    for (int i = 0; i < count; ++i) {
        PickLanguage(program, 1 + i % (i18n::kLanguageListSize - 1));
        if (i % 50 == 0) RunQueuedMessages();
    }
}

TEST(LanguageSwitching, FiveHundredSwitchesKeepPrivateBytesFlat) {
    ProgramWindow program;
    SwitchLanguages(program, 2 * (i18n::kLanguageListSize - 1));  // every set once, so caches are full
    const size_t privateBefore = PrivateBytes();
    ASSERT_GT(privateBefore, 0u);
    SwitchLanguages(program, kSwitches);
    const size_t privateAfter = PrivateBytes();
    ASSERT_GT(privateAfter, 0u);
    // Twelve texts a switch: even 100 bytes lost per switch would show as 50 KB.
    EXPECT_LT(static_cast<long long>(privateAfter) - static_cast<long long>(privateBefore), 64 * 1024)
        << privateBefore << " -> " << privateAfter << " bytes";
}

TEST(LanguageSwitching, FiveHundredSwitchesKeepGdiObjectsFlat) {
    ProgramWindow program;
    SwitchLanguages(program, i18n::kLanguageListSize - 1);
    const int before = GdiObjectCount();
    if (before < 0) GTEST_SKIP() << "no way to count this process's GDI objects here";
    SwitchLanguages(program, kSwitches);
    EXPECT_LE(GdiObjectCount(), before + 2);
}

// ---------------------------------------------------------------------------------------------------
// Real glyphs, not boxes, for every script of the sets, in the labels' font as the prefix sets it up

Picture Rendered(HFONT font, const std::wstring& text) {
    return DrawnPicture(48, 24, RGB(255, 255, 255), [&](HDC canvas) {
        const HGDIOBJ previous = SelectObject(canvas, font);
        TextOutW(canvas, 4, 4, text.c_str(), static_cast<int>(text.size()));
        SelectObject(canvas, previous);
    });
}

// The face "Arial Unicode MS" where it is installed; a prefix modelled on a stock Windows, which has
// none, runs the window's font tests once more (CORVAN_STOCK_WINDOWS), and there the face is Tahoma.
TEST(WindowFont, FaceIsArialUnicodeMSWhereInstalledAndTahomaWhereNot) {
    const bool stock = std::getenv("CORVAN_STOCK_WINDOWS") != nullptr;
    ProgramWindow program;
    for (const app::ControlId id : {app::kTntLabel1, app::kTntEdit1, app::kTntEdit2}) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(program.Control(id), WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_STREQ(font.lfFaceName, stock ? L"Tahoma" : L"Arial Unicode MS") << "control " << id;
    }
}

TEST(WindowFont, EveryLetterOfEveryScriptDrawsAGlyphOfItsOwn) {
    ProgramWindow program;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(program.Control(app::kTntLabel1), WM_GETFONT, 0, 0));
    const Picture missing = Rendered(font, L"\x0378");  // unassigned: drawn as the missing-glyph box
    const Picture blank = Rendered(font, L" ");
    for (int set = 0; set < i18n::kTextSetCount; ++set) {
        for (const std::wstring& text : SlotTexts(static_cast<TextSet>(set))) {
            for (const wchar_t letter : text) {
                if (letter < 0x80 || letter == L'\xB4' || std::iswspace(letter)) continue;  // ASCII is in every face
                const Picture drawn = Rendered(font, std::wstring(1, letter));
                EXPECT_NE(drawn, missing) << "set " << static_cast<int>(set) << ": U+" << std::hex
                                          << static_cast<unsigned>(letter);
                EXPECT_NE(drawn, blank) << "set " << static_cast<int>(set) << ": U+" << std::hex << static_cast<unsigned>(letter);
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------------
// Reading order. In a line that mixes Arabic with "MSN", the two orders put the Latin word at opposite
// ends and the words between in opposite turns: what a control drew is compared, column by column of
// ink, with the line as GDI draws it in either order, in the control's font on the control's face.

using i18n::ReadingOrder;

bool Dark(COLORREF colour) { return GetRValue(colour) + GetGValue(colour) + GetBValue(colour) < 3 * 128; }

// Per column, the dark pixels inside the frame, from the first inked column to the last: where the
// glyphs stand across the line, whatever the line's height and its place in the control.
std::vector<int> InkedColumns(const Picture& picture, int frame) {
    std::vector<int> columns;
    for (int x = frame; x < picture.width - frame; ++x) {
        int ink = 0;
        for (int y = frame; y < picture.height - frame; ++y) ink += Dark(picture.At(x, y));
        columns.push_back(ink);
    }
    while (!columns.empty() && columns.back() == 0) columns.pop_back();
    columns.erase(columns.begin(), std::find_if(columns.begin(), columns.end(), [](int ink) { return ink != 0; }));
    return columns;
}

// The order in which `drawn` shows `text`, or nothing when it matches neither (or the text reads
// alike both ways).
std::optional<ReadingOrder> DrawnOrder(const Picture& drawn, HWND control, const std::wstring& text, int frame) {
    std::map<COLORREF, int> counts;
    for (const COLORREF pixel : drawn.pixels) ++counts[pixel];
    const COLORREF face =
        std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second < b.second; })->first;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    const auto asGdiDraws = [&](UINT order) {
        return InkedColumns(DrawnPicture(drawn.width, drawn.height, face,
                                         [&](HDC dc) {
                                             const HGDIOBJ previous = SelectObject(dc, font);
                                             SetBkMode(dc, TRANSPARENT);
                                             SetTextAlign(dc, TA_LEFT | TA_TOP | order);
                                             TextOutW(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
                                             SelectObject(dc, previous);
                                         }),
                            0);
    };
    const std::vector<int> line = InkedColumns(drawn, frame);
    const std::vector<int> leftToRight = asGdiDraws(0);
    const std::vector<int> rightToLeft = asGdiDraws(TA_RTLREADING);
    if (leftToRight == rightToLeft) return std::nullopt;
    if (line == rightToLeft) return ReadingOrder::RightToLeft;
    if (line == leftToRight) return ReadingOrder::LeftToRight;
    return std::nullopt;
}

std::string Name(std::optional<ReadingOrder> order) {
    return !order ? "neither order" : *order == ReadingOrder::RightToLeft ? "right to left" : "left to right";
}

// The tooltip as it shows the hint of `control` when the pointer comes to rest on it.
Picture ShownHint(HWND tooltip, HWND control) {
    const auto showing = [&] {
        wchar_t text[1024] = {};
        TTTOOLINFOW current{};
        current.cbSize = sizeof current;
        current.lpszText = text;
        return IsWindowVisible(tooltip) && SendMessageW(tooltip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&current)) &&
               current.uId == reinterpret_cast<UINT_PTR>(control);
    };
    MoveCursorTo({4, 4});
    PumpUntil([&] { return !IsWindowVisible(tooltip); }, 3s);
    // Each move over the control starts the tooltip's delay again, should an earlier one have come to nothing.
    const POINT centre = CentreOf(control);
    for (int step = 0; step < 8 && !showing(); ++step) {
        MoveCursorTo({centre.x + step % 2, centre.y});
        PumpUntil(showing, 1s);
    }
    if (!showing()) return {};
    RECT tip{};
    GetWindowRect(tooltip, &tip);
    PumpUntil([&] { return !InkedColumns(ScreenPixels(tip), 2).empty(); }, 2s);  // the text has reached the screen
    return ScreenPixels(tip);
}

TEST(ReadingOrder, ArabicReadsRightToLeftAndTheNextSetLeftToRightAgain) {
    ProgramWindow program;
    const HWND main = program.form.Handle();
    const HWND tooltip = TooltipOf(main);
    ASSERT_NE(tooltip, nullptr);
    const Slots arabic = SlotTexts(Arabic);
    constexpr int kButtonFrame = 4;  // the button's edges and the default button's ring
    constexpr int kTipFrame = 2;
    const struct {
        app::ControlId id;
        int slot;
        int frame;
    } lines[] = {{app::kTntLabel1, 0, 0}, {app::kTntLabel4, 5, 0}, {app::kTntButton2, 7, kButtonFrame}};
    const app::ControlId showingTexts[] = {app::kTntLabel1,  app::kTntLabel2,  app::kTntLabel4,
                                           app::kTntButton1, app::kTntButton2, app::kTntButton3};
    const app::ControlId withSetHints[] = {app::kTntEdit1,   app::kTntEdit2,   app::kTntComboBox1, app::kTntImage1,
                                           app::kTntButton1, app::kTntButton2, app::kTntButton3};
    const HWND factoryButton = program.Control(app::kTntButton2);

    for (const TextSet set : {Arabic, English}) {
        const ReadingOrder order = set == Arabic ? ReadingOrder::RightToLeft : ReadingOrder::LeftToRight;
        SCOPED_TRACE(set == Arabic ? "Arabic" : "English after Arabic");
        PickLanguage(program, FirstItemOf(set));
        // English is all Latin and reads alike both ways: an Arabic line written back shows the order.
        for (const auto& line : lines) {
            const HWND control = program.Control(line.id);
            if (set != Arabic) SetWindowTextW(control, arabic[static_cast<size_t>(line.slot)].c_str());
            EXPECT_EQ(Name(DrawnOrder(PrintedClient(control, RGB(255, 0, 255)), control, arabic[static_cast<size_t>(line.slot)],
                                      line.frame)),
                      Name(order))
                << kSlotNames[line.slot];
        }
        TTTOOLINFOW factoryTool{};
        factoryTool.cbSize = sizeof factoryTool;
        factoryTool.hwnd = main;
        factoryTool.uId = reinterpret_cast<UINT_PTR>(factoryButton);
        factoryTool.lpszText = const_cast<wchar_t*>(arabic[7].c_str());
        if (set != Arabic) SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&factoryTool));
        const Picture hint = ShownHint(tooltip, factoryButton);
        ASSERT_GT(hint.width, 0) << "the hint did not show";
        EXPECT_EQ(Name(DrawnOrder(hint, tooltip, arabic[7], kTipFrame)), Name(order)) << "TntButton2 hint";

        const bool rightToLeft = order == ReadingOrder::RightToLeft;
        for (const app::ControlId id : showingTexts) {
            EXPECT_EQ((GetWindowLongW(program.Control(id), GWL_EXSTYLE) & WS_EX_RTLREADING) != 0, rightToLeft) << id;
        }
        for (const app::ControlId id : withSetHints) {
            wchar_t text[1024] = {};
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = main;
            tool.uId = reinterpret_cast<UINT_PTR>(program.Control(id));
            tool.lpszText = text;
            ASSERT_TRUE(SendMessageW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) << id;
            EXPECT_EQ((tool.uFlags & TTF_RTLREADING) != 0, rightToLeft) << id;
        }
        // Wine draws menus left to right whatever the item says; the items say it for Windows.
        for (const UINT item : {app::kAbrir2, app::kCreditos1, app::kCerrar2, app::kMSNValues1}) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE;
            ASSERT_TRUE(GetMenuItemInfoW(program.form.Parts().PopupMenu(), item, FALSE, &info));
            // The current-values item shows the user's name, which is no text of a set.
            EXPECT_EQ((info.fType & MFT_RIGHTORDER) != 0, rightToLeft && item != app::kMSNValues1) << item;
        }
    }
}

// ---------------------------------------------------------------------------------------------------
// The globe beside the language list

// Wine has no intl.cpl: a stand-in applet in the system folder writes down how the Control Panel
// started it (process, command line, message), so the whole path from the click is real.
class RegionalSettingsStandIn {
public:
    RegionalSettingsStandIn() {
        DeleteFileA(m_log.c_str());
        SetEnvironmentVariableA("CORVAN_STANDIN_CPL_LOG", m_log.c_str());
    }
    ~RegionalSettingsStandIn() {
        SetEnvironmentVariableA("CORVAN_STANDIN_CPL_LOG", nullptr);
        StopProcessesNamed("rundll32.exe");  // the Control Panel's host, which still has the applet loaded
    }
    bool Installed() const { return m_applet.Planted(); }
    std::vector<std::string> Log() const { return FileLines(m_log); }

private:
    static std::string SystemFolder() {
        char system[MAX_PATH] = {};
        GetSystemDirectoryA(system, MAX_PATH);  // for this 32-bit process, where 32-bit rundll32 looks
        return system;
    }
    const PlantedFile m_applet{ExeDirectory() + "\\intl.cpl", SystemFolder() + "\\intl.cpl"};
    const std::string m_log = TempPath("corvan-intl-cpl.log");
};

TEST(Globe, ClickOpensTheRegionalSettingsThroughTheSystemsOwnRundll32) {
    const RegionalSettingsStandIn applet;
    ASSERT_TRUE(applet.Installed());
    // A rundll32.exe that logs its start, where a search by name would look first: beside the program
    // and in the current directory.
    InstallStandIn();
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    const PlantedFile besideProgram(ExeDirectory() + "\\msnmsgr.exe", ExeDirectory() + "\\rundll32.exe");
    const PlantedFile inCurrentDirectory(ExeDirectory() + "\\msnmsgr.exe", std::string(current) + "\\rundll32.exe");
    ASSERT_TRUE(besideProgram.Planted() && inCurrentDirectory.Planted());
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    std::string systemRundll32 = std::string(system) + "\\rundll32.exe";
    CharLowerA(systemRundll32.data());
    ProgramWindow program;
    const ShellExecuteRecorder shell;
    ASSERT_TRUE(shell.Installed());
    Notify(program, app::kTntImage2, STN_CLICKED);
    // The shell is given the full path: Wine would find the system's copy by name as well, Windows
    // looks beside the program and in the current directory first.
    ASSERT_EQ(shell.Calls().size(), 1u);
    std::string file = shell.Calls().front().file;
    CharLowerA(file.data());
    EXPECT_EQ(file, systemRundll32);

    // The click returns at once: the applet runs in a process of its own.
    ASSERT_TRUE(PumpUntil(
        [&] {
            const auto lines = applet.Log();
            return std::any_of(lines.begin(), lines.end(),
                               [](const std::string& line) { return line.find("\topen applet") != std::string::npos; });
        },
        15s))
        << "the applet was not opened";
    bool opened = false;
    for (std::string line : applet.Log()) {
        const size_t process = line.find('\t');
        const size_t commandLine = line.find('\t', process + 1);
        ASSERT_NE(commandLine, std::string::npos) << line;
        std::string image = line.substr(0, process);
        CharLowerA(image.data());
        EXPECT_TRUE(image.ends_with("\\rundll32.exe")) << line;
        // Named by its full path in the system folder (which 64-bit Windows maps to the 32-bit one).
        std::string started = line.substr(process + 1, commandLine - process - 1);
        CharLowerA(started.data());
        EXPECT_EQ(started, "\"" + systemRundll32 + "\" shell32.dll,control_rundll intl.cpl,,0") << line;
        const std::string message = line.substr(commandLine + 1);
        // ",,0": no applet name, so the first applet, at its first page.
        if (message.starts_with("open applet")) {
            opened = true;
            EXPECT_TRUE(message == "open applet 0" || message == "open applet 0 with 0") << message;
        }
    }
    EXPECT_TRUE(opened);
    EXPECT_TRUE(StandInLog().empty()) << "a planted rundll32.exe ran";
}

}  // namespace

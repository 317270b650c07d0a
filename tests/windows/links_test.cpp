// The three links at the bottom of the window, which hand a web address to the shell, and the credits
// box of the tray menu. The prefix's http and https open command is the stand-in browser, so no page
// is really opened.

#include "support.h"

#include "i18n/catalogue.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace test;

struct LinkRow {
    const char* name;
    app::ControlId control;
    const char* address;
};

constexpr LinkRow kLinks[] = {
    {"TntImage1", app::kTntImage1, "https://corvan.example.org/help/"},
    {"Label3", app::kLabel3, "https://corvan.example.org/"},
    {"Label5", app::kLabel5, "https://www.gnu.org/licenses/old-licenses/gpl-2.0.txt"},
};

// The line the stand-in browser logs for a start by the shell's open command with SW_SHOWNORMAL.
std::string BrowserLine(const char* address) {
    return std::to_string(SW_SHOWNORMAL) + "\t\"" + ExeDirectory() + "\\browser.exe\" \"" + address + "\"";
}

class Links : public testing::Test {
protected:
    const BrowserStandIn browser;
    ProgramWindow program;
    HWND main = program.form.Handle();

    // Runs `click` for every link in turn and checks the one shell request and the one browser start each makes.
    void CheckEveryLink(const std::function<void(const LinkRow&)>& click) {
        ShellExecuteRecorder shell;
        ASSERT_TRUE(shell.Installed()) << "ShellExecuteA not found in shell32";
        BoxRecorder boxes;
        size_t done = 0;
        for (const LinkRow& link : kLinks) {
            SCOPED_TRACE(link.name);
            click(link);
            ++done;
            ASSERT_TRUE(PumpUntil([&] { return browser.Log().size() >= done; }, 10s)) << "the browser was not started";
            ASSERT_EQ(shell.Calls().size(), done);
            const ShellExecuteRecorder::Call& call = shell.Calls().back();
            EXPECT_EQ(call.owner, main);
            EXPECT_EQ(call.verb, "open");
            EXPECT_EQ(call.file, link.address);
            EXPECT_TRUE(call.parametersNull);
            EXPECT_TRUE(call.directoryNull);
            EXPECT_EQ(call.show, SW_SHOWNORMAL);
            EXPECT_EQ(browser.Log().back(), BrowserLine(link.address));
            // The window stays as it was.
            EXPECT_TRUE(IsWindowVisible(main));
            EXPECT_FALSE(IsIconic(main));
        }
        // Every browser the clicks started has written its line once it has ended.
        PumpUntil([&] { return browser.AllEnded(); });
        EXPECT_EQ(browser.Log().size(), std::size(kLinks)) << "a link started the browser more than once";
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_FALSE(TrayIconShown(main));
    }
};

TEST_F(Links, ClickNotificationsOpenTheirPages) {
    CheckEveryLink([&](const LinkRow& link) { Notify(program, link.control, STN_CLICKED); });
}

TEST_F(Links, RealClicksOpenTheirPages) {
    BringToFront(main);
    CheckEveryLink([&](const LinkRow& link) {
        MouseClickAt(CentreOf(program.Control(link.control)));
        // Two clicks on one spot in quick succession would be a double click: the next link is elsewhere.
    });
}

// A double click on a link is no click: the picture and labels open their page on the single click only.
TEST_F(Links, OtherNotificationsOpenNothing) {
    ShellExecuteRecorder shell;
    for (const LinkRow& link : kLinks) {
        for (WORD notification : {WORD{STN_DBLCLK}, WORD{STN_ENABLE}, WORD{STN_DISABLE}})
            Notify(program, link.control, notification);
    }
    // A browser would have been started inside the handler; once it has ended, its line is there.
    PumpUntil([&] { return browser.AllEnded(); });
    EXPECT_TRUE(shell.Calls().empty());
    EXPECT_TRUE(browser.Log().empty());
}

// ---- Credits ----

constexpr char kCredits[] =
    "Thanks To:\r"
    "\r"
    "Esperanto: the Corvan translators <corvan@corvan.example.org>\r"
    "Euskera: the Corvan translators <corvan@corvan.example.org>, their reviewers\r"
    "Gaelic: the Corvan translators <corvan@corvan.example.org>\r"
    "Galego: the Corvan translators <corvan@corvan.example.org>\r"
    "Argentino: the Corvan translators\r"
    "\r"
    "Corvan v1.2 is free software under the GNU General Public License, version 2 or later\r"
    "Visit our web site: https://corvan.example.org/\r"
    "New translations are welcome by e-mail: corvan@corvan.example.org\r"
    "\r"
    "Corvan v1.2 (c) 2026 the Corvan developers";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\r')
            lines.emplace_back();
        else
            lines.back().push_back(c);
    }
    return lines;
}

void ExpectCreditsBox(const BoxRecorder::Box& box) {
    EXPECT_EQ(box.caption, "Corvan v1.2");
    EXPECT_EQ(box.text, kCredits);
    EXPECT_FALSE(box.hasIcon);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK}) << "OK only";
    EXPECT_FALSE(box.ownerEnabled) << "modal to the main window";
}

// The recorder can tell an icon and other buttons, so that "no icon, OK only" below says something.
TEST(Credits, RecorderSeesIconsAndButtonsOfABox) {
    BoxRecorder boxes;
    MessageBoxA(nullptr, "text", "caption", MB_OKCANCEL | MB_ICONERROR);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].hasIcon);
    EXPECT_EQ(boxes.Boxes()[0].buttons, (std::vector<int>{IDOK, IDCANCEL}));
}

TEST(Credits, ThirteenLinesSeparatedBySingleCarriageReturns) {
    ProgramWindow program;
    BoxRecorder boxes;
    SendMessageW(program.form.Handle(), WM_COMMAND, MAKEWPARAM(app::kCreditos1, 0), 0);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    const BoxRecorder::Box& box = boxes.Boxes()[0];
    ExpectCreditsBox(box);

    EXPECT_EQ(box.text.find('\n'), std::string::npos) << "no line feeds";
    const std::vector<std::string> lines = Lines(box.text);
    ASSERT_EQ(lines.size(), 13u);
    for (size_t empty : {1u, 7u, 11u}) EXPECT_EQ(lines[empty], "") << "line " << empty + 1;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), ""), 3);
    const char* const openings[] = {"Thanks To:", "", "Esperanto: ", "Euskera: ", "Gaelic: ", "Galego: ", "Argentino: "};
    for (size_t line = 0; line < std::size(openings); ++line)
        EXPECT_EQ(lines[line].rfind(openings[line], 0), 0u) << "line " << line + 1;
}

// The box's text never changes; the menu item that shows it follows the text set.
TEST(Credits, SameTextUnderEveryTextSetWhileTheItemFollowsTheSet) {
    ProgramWindow program;
    const std::vector<std::wstring> names = WideItems(program.Control(app::kComboBox2));
    ASSERT_EQ(names.size(), static_cast<size_t>(i18n::kLanguageListSize));

    BoxRecorder boxes;
    std::vector<std::wstring> captions;
    for (int item = 1; item < i18n::kLanguageListSize; ++item) {  // item 0 is the prompt, which names no set
        const std::string name = platform::ToUtf8(names[static_cast<size_t>(item)]);
        SCOPED_TRACE(name);
        const std::optional<i18n::TextSet> set = i18n::TextSetOfName(name);
        ASSERT_TRUE(set.has_value());

        PickLanguage(program, item);
        const std::wstring caption = MenuCaption(program.form.Parts().PopupMenu(), app::kCreditos1);
        EXPECT_EQ(caption, platform::FromUtf8(i18n::TextsOf(*set).MenuCreditsCaption.utf8));
        captions.push_back(caption);

        const size_t shown = boxes.Boxes().size();
        SendMessageW(program.form.Handle(), WM_COMMAND, MAKEWPARAM(app::kCreditos1, 0), 0);
        ASSERT_EQ(boxes.Boxes().size(), shown + 1);
        ExpectCreditsBox(boxes.Boxes().back());
    }
    std::sort(captions.begin(), captions.end());
    EXPECT_GT(std::unique(captions.begin(), captions.end()) - captions.begin(), 10)
        << "the item's caption did not follow the sets";
}

}  // namespace

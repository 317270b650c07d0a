// The main window's events: the four editor actions, the current values, the language list, the
// globe, the links and the credits.

#include "app/main_window.h"

#include "app/language_view.h"
#include "app/links.h"
#include "i18n/catalogue.h"
#include "messenger/server_value.h"
#include "platform/system_library.h"
#include "platform/text.h"

namespace app {

void TForm1::ShowWriteFailure() { m_app.ShowMessage(messenger::FailedToSetDataMessage(), MB_ICONERROR); }

// The three entry actions differ only in where the text comes from and which lookup completes it.
void TForm1::ApplyEntryFrom(ControlId source, messenger::Entry kind) {
    const std::string entry = platform::Narrow(platform::WindowText(Control(source)));
    if (m_client.ApplyEntry(kind, entry) == messenger::ActionResult::WriteFailed) ShowWriteFailure();
}

void TForm1::TntButton1Click() { ApplyEntryFrom(kTntEdit1, messenger::Entry::Address); }

void TForm1::TntButton3Click() { ApplyEntryFrom(kTntEdit2, messenger::Entry::Domain); }

void TForm1::TntComboBox1Change() { ApplyEntryFrom(kTntComboBox1, messenger::Entry::Address); }

void TForm1::TntButton2Click() {
    if (m_client.ApplyFactoryValue() == messenger::ActionResult::WriteFailed) ShowWriteFailure();
}

void TForm1::ShowCurrentValues() {
    if (m_client.ReadServerSetting() == messenger::ReadResult::InvalidType) {
        m_app.ShowMessage(messenger::InvalidDataTypeMessage(), MB_ICONERROR);
        return;
    }
    m_app.ShowMessage(m_client.CurrentValuesMessage(), MB_OK);
}

void TForm1::Image2Click() { ShowCurrentValues(); }

void TForm1::MSNValues1Click() { ShowCurrentValues(); }

void TForm1::ComboBox2Click() {
    const HWND languages = Control(kComboBox2);
    ShowLanguageFlag(static_cast<int>(SendMessageA(languages, CB_GETCURSEL, 0, 0)));
    // Read wide: a name the system code page cannot hold would come back as other bytes and match nothing.
    const std::string itemText = platform::ToUtf8(platform::WindowText(languages));
    if (const auto set = i18n::TextSetOfName(itemText)) ApplyLanguage(*set, Handle(), m_controls);
}

void TForm1::TntImage2Click() {
    // The system's regional and language settings, at their first page, through the system's own rundll32.
    const std::wstring rundll32 = platform::SystemFilePath(L"rundll32.exe");
    if (rundll32.empty()) return;
    static_cast<void>(platform::Shell().ShellExecuteA(Handle(), nullptr, platform::Narrow(rundll32).c_str(),
                                                      "shell32.dll,Control_RunDLL intl.cpl,,0", nullptr, SW_SHOW));
}

void TForm1::TntImage1Click() { OpenPage(Handle(), kHelpPage); }

void TForm1::Label3Click() { OpenPage(Handle(), kHomePage); }

void TForm1::Label5Click() { OpenPage(Handle(), kLicensePage); }

void TForm1::Creditos1Click() { m_app.ShowMessage(CreditsText(), MB_OK); }

}  // namespace app

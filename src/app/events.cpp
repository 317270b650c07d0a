// The main window's events: the four editor actions, the current values, the language list, the
// globe, the links and the credits.

#include "app/main_window.h"

#include "app/links.h"
#include "i18n/catalogue.h"
#include "messenger/current_values.h"
#include "messenger/editor.h"
#include "messenger/server_value.h"
#include "platform/system_folder.h"
#include "platform/system_library.h"
#include "platform/text.h"

namespace app {

std::wstring TForm1::WideText(ControlId id) const { return platform::WindowText(Control(id)); }

void TForm1::ShowWriteFailure() { m_app.ShowMessage(messenger::FailedToSetDataMessage(), MB_ICONERROR); }

// The three entry actions differ only in where the text comes from and which lookup completes it.
void TForm1::ApplyEntryFrom(ControlId source, messenger::Entry kind) {
    if (messenger::ApplyEntry(kind, platform::Narrow(WideText(source))) == messenger::ActionResult::WriteFailed) ShowWriteFailure();
}

void TForm1::TntButton1Click() { ApplyEntryFrom(kTntEdit1, messenger::Entry::Address); }

void TForm1::TntButton3Click() { ApplyEntryFrom(kTntEdit2, messenger::Entry::Domain); }

void TForm1::TntComboBox1Change() { ApplyEntryFrom(kTntComboBox1, messenger::Entry::Address); }

void TForm1::TntButton2Click() {
    if (messenger::ApplyFactoryValue() == messenger::ActionResult::WriteFailed) ShowWriteFailure();
}

void TForm1::ShowCurrentValues() {
    if (messenger::ReadServerSetting() == messenger::ReadResult::InvalidType) {
        m_app.ShowMessage(messenger::InvalidDataTypeMessage(), MB_ICONERROR);
        return;
    }
    m_app.ShowMessage(messenger::CurrentValuesMessage(), MB_OK);
}

void TForm1::Image2Click() { ShowCurrentValues(); }

void TForm1::MSNValues1Click() { ShowCurrentValues(); }

void TForm1::ComboBox2Click() {
    const HWND languages = Control(kComboBox2);
    ShowLanguageFlag(static_cast<int>(SendMessageA(languages, CB_GETCURSEL, 0, 0)));
    // Read wide: a name the system code page cannot hold would come back as other bytes and match nothing.
    const std::string itemText = platform::ToUtf8(platform::WindowText(languages));
    if (const auto set = i18n::TextSetOfName(itemText)) i18n::ApplyLanguage(*set, TextTargets());
}

void TForm1::TntImage2Click() {
    // The system's regional and language settings, at their first page, through the system's own rundll32.
    const std::string rundll32 = platform::SystemFilePath("rundll32.exe");
    if (rundll32.empty()) return;
    static_cast<void>(platform::Shell().ShellExecuteA(m_handle, nullptr, rundll32.c_str(), "shell32.dll,Control_RunDLL intl.cpl,,0", nullptr, SW_SHOW));
}

void TForm1::TntImage1Click() { OpenPage(m_handle, kHelpPage); }

void TForm1::Label3Click() { OpenPage(m_handle, kHomePage); }

void TForm1::Label5Click() { OpenPage(m_handle, kLicensePage); }

void TForm1::Creditos1Click() { m_app.ShowMessage(CreditsText(), MB_OK); }

}  // namespace app

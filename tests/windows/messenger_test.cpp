// The main job end to end: the four editor actions write the client's setting and restart the
// stand-in client; the current-values box; the lookups through the sandbox's hosts file.

#include "messenger/current_values.h"
#include "messenger/restart.h"
#include "messenger/server_value.h"
#include "support.h"

#include <aclapi.h>
#include <gtest/gtest.h>
#include <winsock2.h>

#include <sstream>

namespace {

using namespace test;
using app::ControlId;

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, '\t');) fields.push_back(field);
    return fields;
}

// The values the stand-in read at each start, in order.
std::vector<std::string> ValuesReadByClient() {
    std::vector<std::string> values;
    for (const std::string& line : StandInLog()) {
        const auto fields = Fields(line);
        if (fields.size() >= 2) values.push_back(fields[1]);
    }
    return values;
}

class Editor : public testing::Test {
public:
    void SetUp() override {
        StopProcessesNamed("msnmsgr.exe");
        InstallStandIn();
        DeleteClientKey();
        CreateClientKey();
        SetServerValue("old.example;10.9.8.7:1863");
    }
    void TearDown() override { StopProcessesNamed("msnmsgr.exe"); }

    void SetText(ControlId id, const std::wstring& text) { SetWindowTextW(window->Control(id), text.c_str()); }
    void Click(ControlId id) {
        SendMessageW(window->form.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(window->Control(id)));
    }
    void PickServer(int index) {
        const HWND list = window->Control(app::kTntComboBox1);
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(window->form.Handle(), WM_COMMAND, MAKEWPARAM(app::kTntComboBox1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }
    // The client came back, once more than `startsBefore` starts, and read the value.
    bool ClientStartedWith(const std::string& value, size_t startsBefore = 0) {
        return PumpUntil([&] {
            const auto values = ValuesReadByClient();
            return values.size() > startsBefore && values.back() == value && !ProcessesNamed("msnmsgr.exe").empty();
        });
    }

    std::unique_ptr<ProgramWindow> window = std::make_unique<ProgramWindow>();
};

TEST_F(Editor, EachActionWritesItsValueAndRestartsTheClient) {
    const std::string factory = messenger::FactoryServerValue();
    const std::string listed = std::string(";") + messenger::ServerList()[5] + ":1863";
    const struct {
        const char* name;
        std::function<void(Editor&)> act;
        std::string value;
    } rows[] = {
        {"address", [](Editor& e) { e.SetText(app::kTntEdit1, L"127.0.0.2"); e.Click(app::kTntButton1); },
         "dispatch.corvan.test;127.0.0.2:1863"},
        {"domain", [](Editor& e) { e.SetText(app::kTntEdit2, L"dispatch.corvan.test"); e.Click(app::kTntButton3); },
         "dispatch.corvan.test;127.0.0.2:1863"},
        {"server list", [](Editor& e) { e.PickServer(5); }, listed},
        {"factory", [](Editor& e) { e.Click(app::kTntButton2); }, factory},
    };
    for (const auto& row : rows) {
        SetServerValue("old.example;10.9.8.7:1863");
        Process running(ClientPath());
        ASSERT_TRUE(PumpUntil([&] { return ValuesReadByClient().size() >= 1; })) << row.name;
        const size_t startsBefore = ValuesReadByClient().size();

        row.act(*this);

        EXPECT_EQ(ServerValue(), row.value) << row.name;
        EXPECT_EQ(ServerValueType(), static_cast<DWORD>(REG_SZ)) << row.name;
        EXPECT_TRUE(running.WaitForExit(5s)) << row.name << ": the running client was not stopped";
        EXPECT_TRUE(ClientStartedWith(row.value, startsBefore)) << row.name;
        EXPECT_EQ(ValuesReadByClient().size(), startsBefore + 1) << row.name;
        StopProcessesNamed("msnmsgr.exe");
    }
}

TEST_F(Editor, LookupsCompleteTheEntry) {
    // The resolver's own list for a name with several addresses; the value takes its last address.
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    const hostent* several = gethostbyname("several.corvan.test");
    ASSERT_NE(several, nullptr) << "the sandbox's hosts file is not in place";
    std::string lastAddress;
    int count = 0;
    for (char** entry = several->h_addr_list; *entry; ++entry, ++count) lastAddress = inet_ntoa(*reinterpret_cast<in_addr*>(*entry));
    WSACleanup();
    ASSERT_GE(count, 2);

    const struct {
        ControlId edit, button;
        const wchar_t* input;
        std::string value;
    } rows[] = {
        {app::kTntEdit1, app::kTntButton1, L"127.0.0.2", "dispatch.corvan.test;127.0.0.2:1863"},
        {app::kTntEdit1, app::kTntButton1, L"127.0.0.99", ";127.0.0.99:1863"},  // no reverse name
        {app::kTntEdit1, app::kTntButton1, L"not an address", ";not an address:1863"},
        {app::kTntEdit2, app::kTntButton3, L"nowhere.corvan.test", "nowhere.corvan.test;:1863"},
        {app::kTntEdit2, app::kTntButton3, L"several.corvan.test", "several.corvan.test;" + lastAddress + ":1863"},
        {app::kTntEdit2, app::kTntButton3, L"\x65E5\x672C.corvan.test", "??.corvan.test;:1863"},  // outside the code page
        {app::kTntEdit2, app::kTntButton3, L"a\tb", "a\tb;:1863"},
    };
    for (const auto& row : rows) {
        SetText(row.edit, row.input);
        Click(row.button);
        EXPECT_EQ(ServerValue(), row.value);
        StopProcessesNamed("msnmsgr.exe");
    }
}

TEST_F(Editor, VeryLongEntriesAreWrittenWhole) {
    const std::wstring longName(100000, L'a');
    SetText(app::kTntEdit2, longName);
    Click(app::kTntButton3);
    EXPECT_EQ(ServerValue(), std::string(100000, 'a') + ";:1863");

    SetText(app::kTntEdit1, longName);
    Click(app::kTntButton1);
    EXPECT_EQ(ServerValue(), ";" + std::string(100000, 'a') + ":1863");
    EXPECT_TRUE(ClientStartedWith(";" + std::string(100000, 'a') + ":1863"));
}

TEST_F(Editor, EmptyFieldsDoNothingAtAll) {
    Click(app::kTntButton1);
    Click(app::kTntButton3);
    Pump(500ms);
    EXPECT_EQ(ServerValue(), "old.example;10.9.8.7:1863");
    EXPECT_TRUE(StandInLog().empty());
    EXPECT_TRUE(ProcessesNamed("msnmsgr.exe").empty());
}

TEST_F(Editor, WithoutClientKeyNothingHappensAndKeyIsNeverCreated) {
    DeleteClientKey();
    SetText(app::kTntEdit1, L"127.0.0.2");
    Click(app::kTntButton1);
    SetText(app::kTntEdit2, L"dispatch.corvan.test");
    Click(app::kTntButton3);
    PickServer(3);
    Click(app::kTntButton2);
    Pump(500ms);
    EXPECT_FALSE(ClientKeyExists());
    EXPECT_TRUE(StandInLog().empty());
    EXPECT_TRUE(ProcessesNamed("msnmsgr.exe").empty());
}

TEST_F(Editor, PickingTheFirstServerAtStartAppliesNothing) {
    Pump(300ms);
    EXPECT_EQ(ServerValue(), "old.example;10.9.8.7:1863");
    EXPECT_EQ(SendMessageW(window->Control(app::kTntComboBox1), CB_GETCURSEL, 0, 0), 0);
}

// Leaves the current user only the right to read the client's key (and to tidy it away afterwards).
void DenyWriting() {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\MSNMessenger", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    alignas(8) BYTE userBuffer[256];
    DWORD size = 0;
    ASSERT_TRUE(GetTokenInformation(token, TokenUser, userBuffer, sizeof userBuffer, &size));
    CloseHandle(token);
    const PSID user = reinterpret_cast<TOKEN_USER*>(userBuffer)->User.Sid;
    alignas(8) BYTE aclBuffer[256];
    auto* acl = reinterpret_cast<PACL>(aclBuffer);
    InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION);
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | WRITE_DAC | DELETE, user);
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    ASSERT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor), ERROR_SUCCESS);
    RegCloseKey(key);
    HKEY writable = nullptr;
    ASSERT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\MSNMessenger", 0, KEY_SET_VALUE, &writable), ERROR_SUCCESS)
        << "the registry ignored the key's permissions";
}

TEST_F(Editor, FailedWriteIsReportedAndClientLeftAlone) {
    Process running(ClientPath());
    ASSERT_TRUE(PumpUntil([&] { return ValuesReadByClient().size() == 1; }));
    DenyWriting();
    if (HasFatalFailure()) return;
    MessageBoxCatcher boxes;
    Click(app::kTntButton2);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Corvan v1.2");
    EXPECT_EQ(boxes.Boxes()[0].text, "Failed to set data for 'Server'");
    EXPECT_EQ(boxes.Boxes()[0].style, MB_ICONERROR);
    Pump(500ms);
    EXPECT_TRUE(running.Running());
    EXPECT_EQ(ValuesReadByClient().size(), 1u);
    EXPECT_EQ(ServerValue(), "old.example;10.9.8.7:1863");
    // A key the user may read but not write is still shown.
    window->form.Image2Click();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_NE(boxes.Boxes()[1].text.find("Domain Server: old.example\r"), std::string::npos);
}

TEST_F(Editor, EveryRunningClientIsStoppedWhateverItsFolderAndAsciiCase) {
    const std::string elsewhere = "C:\\elsewhere";
    CreateDirectoryA(elsewhere.c_str(), nullptr);
    CopyFileA(ClientPath().c_str(), (elsewhere + "\\MSNMSGR.EXE").c_str(), FALSE);
    Process first(ClientPath());
    Process second(ClientPath());
    Process shouting(elsewhere + "\\MSNMSGR.EXE");
    ASSERT_TRUE(PumpUntil([&] { return ValuesReadByClient().size() == 3; }));

    Click(app::kTntButton2);

    EXPECT_TRUE(first.WaitForExit(5s));
    EXPECT_TRUE(second.WaitForExit(5s));
    EXPECT_TRUE(shouting.WaitForExit(5s));
    EXPECT_TRUE(ClientStartedWith(messenger::FactoryServerValue()));
    EXPECT_EQ(ProcessesNamed("msnmsgr.exe").size(), 1u);
}

TEST_F(Editor, NamesDifferingInANonAsciiLetterAreSpared) {
    const std::string lower = "C:\\elsewhere\\caf\xE9.exe";  // é in Windows-1252
    CreateDirectoryA("C:\\elsewhere", nullptr);
    ASSERT_TRUE(CopyFileA(ClientPath().c_str(), lower.c_str(), FALSE));
    Process cafe(lower);
    ASSERT_TRUE(PumpUntil([&] { return ValuesReadByClient().size() == 1; }));

    messenger::WaitForEnd(messenger::TerminateProcessesByName("CAF\xC9.EXE"));  // É
    Pump(300ms);
    EXPECT_TRUE(cafe.Running());
    messenger::WaitForEnd(messenger::TerminateProcessesByName("CAF\xE9.EXE"));  // ASCII letters fold, é matches
    EXPECT_TRUE(cafe.WaitForExit(5s));
}

TEST_F(Editor, SingleCopyClientRunsAgainAfterEveryAction) {
    StopProcessesNamed("msnmsgr.exe");
    InstallStandIn(/*singleCopy=*/true);
    Process running(ClientPath());
    ASSERT_TRUE(PumpUntil([&] { return ValuesReadByClient().size() == 1; }));
    for (int round = 0; round < 3; ++round) {
        const size_t starts = ValuesReadByClient().size();
        Click(app::kTntButton2);
        ASSERT_TRUE(ClientStartedWith(messenger::FactoryServerValue(), starts)) << round;
        for (const std::string& line : StandInLog()) EXPECT_EQ(line.find("handed over"), std::string::npos) << line;
    }
}

TEST_F(Editor, PlantedProgramOnThePathIsNeverRunAndTheClientStartsInItsOwnFolder) {
    // With spaces in the client's path, an unquoted start would try C:\Program.exe first.
    ASSERT_NE(ClientPath().find(' '), std::string::npos);
    ASSERT_TRUE(CopyFileA(ClientPath().c_str(), "C:\\Program.exe", FALSE));
    Click(app::kTntButton2);
    ASSERT_TRUE(ClientStartedWith(messenger::FactoryServerValue()));
    for (const std::string& line : StandInLog()) {
        const auto fields = Fields(line);
        ASSERT_EQ(fields.size(), 4u) << line;
        EXPECT_EQ(fields[2], ClientPath());
        // Its own DLLs come first, never those of the folder this program runs in.
        EXPECT_EQ(fields[3], ClientPath().substr(0, ClientPath().rfind('\\')));
    }
    EXPECT_TRUE(ProcessesNamed("Program.exe").empty());
    DeleteFileA("C:\\Program.exe");
}

TEST(ClientCommandLine, FollowsProgramFilesDirectoryOrStartsFromTheRoot) {
    DeleteClientKey();
    {
        ProgramWindow window;
        EXPECT_EQ(messenger::ClientCommandLine, ClientPath());
    }
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    char saved[MAX_PATH] = {};
    DWORD size = sizeof saved;
    RegQueryValueExA(key, "ProgramFilesDir", nullptr, nullptr, reinterpret_cast<BYTE*>(saved), &size);
    RegDeleteValueA(key, "ProgramFilesDir");
    EXPECT_EQ(messenger::GetProgramFilesDir(), "");
    {
        ProgramWindow window;
        EXPECT_EQ(messenger::ClientCommandLine, "\\MSN Messenger\\msnmsgr.exe");
    }
    RegSetValueExA(key, "ProgramFilesDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(saved), size);
    RegCloseKey(key);
}

class CurrentValues : public testing::Test {
protected:
    void SetUp() override {
        DeleteClientKey();
        CreateClientKey();
    }
    std::string Expected(const std::string& domain, const std::string& address) {
        return messenger::CurrentUserName() + " MSN Values:\r\rDomain Server: " + domain + "\r\rIP Server: " + address + "\r";
    }
};

TEST_F(CurrentValues, BoxShowsTheSettingAsItNowStands) {
    SetServerValue(messenger::FactoryServerValue());
    ProgramWindow window;
    MessageBoxCatcher boxes;
    window.form.Image2Click();
    SetServerValue(";62.46.71.8:1863");  // behind the program's back
    window.form.MSNValues1Click();
    SetServerValue("plainhost:99");
    window.form.Image2Click();
    SetServerValueOfType(REG_SZ, "nul-less;1.2.3.4:1863");  // stored without its terminating NUL
    window.form.Image2Click();

    ASSERT_EQ(boxes.Boxes().size(), 4u);
    EXPECT_EQ(boxes.Boxes()[0].text, Expected("messenger.hotmail.com", messenger::ServerList()[0]));
    EXPECT_EQ(boxes.Boxes()[1].text, Expected("", "62.46.71.8"));
    EXPECT_EQ(boxes.Boxes()[2].text, Expected("plainhost:99", "plainhost"));
    EXPECT_EQ(boxes.Boxes()[3].text, Expected("nul-less", "1.2.3.4"));
    for (const auto& box : boxes.Boxes()) {
        EXPECT_EQ(box.caption, "Corvan v1.2");
        EXPECT_EQ(box.style, 0);
    }
}

TEST_F(CurrentValues, WrongTypeGivesErrorBoxAndKeepsTheParts) {
    SetServerValue("kept.example;10.0.0.1:1863");
    ProgramWindow window;
    SetServerValueOfType(REG_DWORD, std::string("\x01\x00\x00\x00", 4));
    MessageBoxCatcher boxes;
    window.form.Image2Click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Invalid data type for 'Server'");
    EXPECT_EQ(boxes.Boxes()[0].caption, "Corvan v1.2");
    EXPECT_EQ(boxes.Boxes()[0].style, MB_ICONERROR);
    EXPECT_EQ(messenger::ServerDomainPart, "kept.example");
    EXPECT_EQ(messenger::ServerAddressPart, "10.0.0.1");
}

TEST_F(CurrentValues, MissingKeyOrValueShowsLastOrEmptyParts) {
    SetServerValue("first.example;10.0.0.2:1863");
    ProgramWindow window;
    DeleteClientKey();
    MessageBoxCatcher boxes;
    window.form.Image2Click();  // the key is gone: the parts read at start stay
    CreateClientKey();          // the key without a value: both parts empty
    window.form.Image2Click();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, Expected("first.example", "10.0.0.2"));
    EXPECT_EQ(boxes.Boxes()[1].text, Expected("", ""));
}

TEST_F(CurrentValues, WrongTypeAtStartIsReportedAndTheWindowStillComesUp) {
    SetServerValueOfType(REG_BINARY, "xyz");
    MessageBoxCatcher boxes;
    ProgramWindow window;
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Invalid data type for 'Server'");
    wchar_t caption[64] = {};
    GetWindowTextW(window.Control(app::kTntButton2), caption, 64);
    EXPECT_STRNE(caption, L"") << "the start-up language was not applied";
}

// This process's HKEY_CURRENT_USER mapped onto an empty key for the length of a test.
class EmptyUserKey {
public:
    EmptyUserKey() {
        RegCreateKeyExA(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
        m_active = m_key && RegOverridePredefKey(HKEY_CURRENT_USER, m_key) == ERROR_SUCCESS;
    }
    ~EmptyUserKey() {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        for (const char* key : {"Software\\Microsoft\\MSNMessenger", "Software\\Microsoft", "Software"}) RegDeleteKeyA(m_key, key);
        RegCloseKey(m_key);
        RegDeleteKeyA(HKEY_CURRENT_USER, kPath);
    }
    EmptyUserKey(const EmptyUserKey&) = delete;
    EmptyUserKey& operator=(const EmptyUserKey&) = delete;
    bool Active() const { return m_active; }
    bool Has(const char* path) const {
        HKEY key = nullptr;
        if (RegOpenKeyExA(m_key, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }

private:
    static constexpr char kPath[] = "Software\\CorvanEmptyUserKey";
    HKEY m_key = nullptr;
    bool m_active = false;
};

TEST(ClientSetting, ReadingCreatesNoKeyAndWritingNeverTheClientsKey) {
    const EmptyUserKey user;
    ASSERT_TRUE(user.Active());
    EXPECT_EQ(messenger::ReadServerSetting(), messenger::ReadResult::NoClient);
    EXPECT_FALSE(user.Has("Software"));
    EXPECT_EQ(messenger::WriteServerSetting("x;1.2.3.4:1863"), messenger::WriteResult::NoClient);
    EXPECT_TRUE(user.Has("Software\\Microsoft"));
    EXPECT_FALSE(user.Has("Software\\Microsoft\\MSNMessenger"));
}

TEST(UserName, MenuItemAndFlagHintCarryIt) {
    DeleteClientKey();
    ProgramWindow window;
    const std::string user = messenger::CurrentUserName();
    ASSERT_FALSE(user.empty());
    wchar_t caption[300] = {};
    GetMenuStringW(window.form.PopupMenu(), app::kMSNValues1, caption, 300, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(caption), std::wstring(user.begin(), user.end()) + L" MSN");
    EXPECT_EQ(window.form.Hint(app::kImage2), std::wstring(caption));
}

}  // namespace

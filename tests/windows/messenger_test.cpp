// The main job end to end: the four editor actions write the client's setting and restart the
// stand-in client; the current-values box; the lookups through the sandbox's hosts file.

#include "messenger/client.h"
#include "messenger/lookup.h"
#include "messenger/restart.h"
#include "messenger/server_value.h"
#include "platform/system_library.h"
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
        InstallStandIn();
        DeleteClientKey();
        CreateClientKey();
        SetServerValue("old.example;10.9.8.7:1863");
    }

    void SetText(ControlId id, const std::wstring& text) { SetWindowTextW(window->Control(id), text.c_str()); }
    void Click(ControlId id) { Notify(*window, id, BN_CLICKED); }
    void PickServer(int index) {
        SendMessageW(window->Control(app::kTntComboBox1), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Notify(*window, app::kTntComboBox1, CBN_SELCHANGE);
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
    const std::string factory = "messenger.hotmail.com;207.46.104.20:1863";
    const std::string listed = ";207.46.109.75:1863";  // the list's sixth address, which has no name
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

// Stop, end, start: a stopped client still ending would take over the new one and quit with it. Under Wine a
// stopped process is gone before TerminateProcess returns, so a start that did not wait would look the same
// from outside: the restart's own calls are watched instead.
struct RestartCall {
    std::string what;
    HANDLE process;  // of a stopped client: the restart holds no right to ask for its id
};
std::vector<RestartCall> g_restartCalls;
messenger::ProcessCalls g_systemCalls;

BOOL WINAPI RecordStop(HANDLE process, UINT exitCode) {
    g_restartCalls.push_back({"stop", process});
    return g_systemCalls.TerminateProcess(process, exitCode);
}

DWORD WINAPI RecordWait(HANDLE process, DWORD milliseconds) {
    const DWORD result = g_systemCalls.WaitForSingleObject(process, milliseconds);
    if (result == WAIT_OBJECT_0) g_restartCalls.push_back({"ended", process});
    return result;
}

BOOL WINAPI RecordStart(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                        LPSECURITY_ATTRIBUTES threadAttributes, BOOL inherit, DWORD flags, LPVOID environment, LPCSTR folder,
                        LPSTARTUPINFOA startup, LPPROCESS_INFORMATION started) {
    g_restartCalls.push_back({"start", nullptr});
    return g_systemCalls.CreateProcessA(application, commandLine, processAttributes, threadAttributes, inherit, flags,
                                        environment, folder, startup, started);
}

TEST_F(Editor, TheClientStartsAgainOnlyAfterTheStoppedOneHasEnded) {
    Process running(ClientPath());
    ASSERT_TRUE(PumpUntil([&] { return ValuesReadByClient().size() == 1; }));
    g_restartCalls.clear();
    messenger::ProcessCalls& calls = messenger::Processes();
    g_systemCalls = std::exchange(calls, {&RecordStop, &RecordWait, &RecordStart});
    Click(app::kTntButton2);
    calls = g_systemCalls;
    std::vector<std::string> order;
    for (const RestartCall& call : g_restartCalls) order.push_back(call.what);
    ASSERT_EQ(order, (std::vector<std::string>{"stop", "ended", "start"}));
    EXPECT_EQ(g_restartCalls[1].process, g_restartCalls[0].process) << "the end waited for is the stopped client's";
    EXPECT_TRUE(running.WaitForExit(0ms));
    EXPECT_TRUE(ClientStartedWith("messenger.hotmail.com;207.46.104.20:1863", 1));
}

// Windows Sockets are cleaned up after a lookup only when they started: a cleanup without its start
// would end a session that something else in the process holds.
int g_socketCleanups = 0;
int WINAPI RefuseStartup(WORD, LPWSADATA) { return WSASYSNOTREADY; }
int WINAPI CountCleanup() { return ++g_socketCleanups, 0; }

TEST(Lookup, SocketsAreCleanedUpOnlyAfterAStartThatSucceeded) {
    platform::Ws2_32& sockets = platform::Sockets();
    const platform::Ws2_32 system = sockets;
    sockets.WSACleanup = &CountCleanup;
    sockets.WSAStartup = &RefuseStartup;
    messenger::LookupHostName("127.0.0.2");
    messenger::LookupHostAddress("dispatch.corvan.test");
    EXPECT_EQ(g_socketCleanups, 0) << "cleaned up after a start that failed";
    sockets.WSAStartup = system.WSAStartup;
    EXPECT_EQ(messenger::LookupHostAddress("dispatch.corvan.test"), "127.0.0.2");
    EXPECT_EQ(g_socketCleanups, 1);
    sockets = system;
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

// The actions run whole inside the click, a client's start included: once the queue has run dry,
// nothing more is coming.
TEST_F(Editor, EmptyFieldsDoNothingAtAll) {
    Click(app::kTntButton1);
    Click(app::kTntButton3);
    RunQueuedMessages();
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
    RunQueuedMessages();
    EXPECT_FALSE(ClientKeyExists());
    EXPECT_TRUE(StandInLog().empty());
    EXPECT_TRUE(ProcessesNamed("msnmsgr.exe").empty());
}

TEST_F(Editor, PickingTheFirstServerAtStartAppliesNothing) {
    RunQueuedMessages();
    EXPECT_EQ(ServerValue(), "old.example;10.9.8.7:1863");
    EXPECT_EQ(SendMessageW(window->Control(app::kTntComboBox1), CB_GETCURSEL, 0, 0), 0);
}

// While alive, the current user may only read the client's key (and tidy it away afterwards); the
// key's own permissions come back at the end.
class WritingDenied {
public:
    WritingDenied() { Deny(); }
    ~WritingDenied() {
        HKEY key = nullptr;
        if (m_saved.empty() || RegOpenKeyExA(HKEY_CURRENT_USER, kClientKey, 0, WRITE_DAC, &key) != ERROR_SUCCESS) return;
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, m_saved.data());
        RegCloseKey(key);
    }
    WritingDenied(const WritingDenied&) = delete;
    WritingDenied& operator=(const WritingDenied&) = delete;

private:
    static constexpr char kClientKey[] = "Software\\Microsoft\\MSNMessenger";

    void Deny() {
        HKEY opened = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kClientKey, 0, KEY_ALL_ACCESS, &opened), ERROR_SUCCESS);
        const platform::UniqueKey key(opened);
        DWORD savedSize = 0;
        RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, nullptr, &savedSize);
        std::vector<BYTE> saved(savedSize);
        ASSERT_EQ(RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, saved.data(), &savedSize), ERROR_SUCCESS);
        HANDLE openedToken = nullptr;
        ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &openedToken));
        const platform::UniqueHandle token(openedToken);
        alignas(8) BYTE userBuffer[256];
        DWORD size = 0;
        ASSERT_TRUE(GetTokenInformation(token.get(), TokenUser, userBuffer, sizeof userBuffer, &size));
        const PSID user = reinterpret_cast<TOKEN_USER*>(userBuffer)->User.Sid;
        alignas(8) BYTE aclBuffer[256];
        auto* acl = reinterpret_cast<PACL>(aclBuffer);
        InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION);
        AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | WRITE_DAC | DELETE, user);
        SECURITY_DESCRIPTOR descriptor;
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
        ASSERT_EQ(RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &descriptor), ERROR_SUCCESS);
        m_saved = std::move(saved);
        HKEY writable = nullptr;
        ASSERT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kClientKey, 0, KEY_SET_VALUE, &writable), ERROR_SUCCESS)
            << "the registry ignored the key's permissions";
    }

    std::vector<BYTE> m_saved;  // self-relative, as the key had it
};

TEST_F(Editor, FailedWriteIsReportedAndClientLeftAlone) {
    Process running(ClientPath());
    ASSERT_TRUE(PumpUntil([&] { return ValuesReadByClient().size() == 1; }));
    const WritingDenied denied;
    if (HasFatalFailure()) return;
    BoxRecorder boxes;
    Click(app::kTntButton2);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Corvan v1.2");
    EXPECT_EQ(boxes.Boxes()[0].text, "Failed to set data for 'Server'");
    EXPECT_TRUE(boxes.Boxes()[0].hasIcon);
    // A stop or a start would have happened inside the click, and a started client would be listed.
    RunQueuedMessages();
    EXPECT_TRUE(running.Running());
    EXPECT_EQ(ProcessesNamed("msnmsgr.exe"), std::vector<DWORD>{running.Id()});
    EXPECT_EQ(ValuesReadByClient().size(), 1u);
    EXPECT_EQ(ServerValue(), "old.example;10.9.8.7:1863");
    // A key the user may read but not write is still shown.
    window->form.Image2Click();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_NE(boxes.Boxes()[1].text.find("Domain Server: old.example\r"), std::string::npos);
}

TEST_F(Editor, EveryRunningClientIsStoppedWhateverItsFolderAndAsciiCase) {
    const PlantedFile elsewhere(ClientPath(), "C:\\elsewhere\\MSNMSGR.EXE");
    ASSERT_TRUE(elsewhere.Planted());
    Process first(ClientPath());
    Process second(ClientPath());
    Process shouting(elsewhere.Path());
    ASSERT_TRUE(PumpUntil([&] { return ValuesReadByClient().size() == 3; }));

    Click(app::kTntButton2);

    EXPECT_TRUE(first.WaitForExit(5s));
    EXPECT_TRUE(second.WaitForExit(5s));
    EXPECT_TRUE(shouting.WaitForExit(5s));
    EXPECT_TRUE(ClientStartedWith(messenger::FactoryServerValue()));
    EXPECT_EQ(ProcessesNamed("msnmsgr.exe").size(), 1u);
}

TEST_F(Editor, NamesDifferingInANonAsciiLetterAreSpared) {
    const PlantedFile lower(ClientPath(), "C:\\elsewhere\\caf\xE9.exe");  // é in Windows-1252
    ASSERT_TRUE(lower.Planted());
    Process cafe(lower.Path());
    ASSERT_TRUE(PumpUntil([&] { return ValuesReadByClient().size() == 1; }));

    // WaitForEnd waits for every process the stop took, so a wrong match would have ended by now.
    messenger::WaitForEnd(messenger::TerminateProcessesByName("CAF\xC9.EXE"));  // É
    EXPECT_TRUE(cafe.Running());
    messenger::WaitForEnd(messenger::TerminateProcessesByName("CAF\xE9.EXE"));  // ASCII letters fold, é matches
    EXPECT_TRUE(cafe.WaitForExit(5s));
}

TEST_F(Editor, SingleCopyClientRunsAgainAfterEveryAction) {
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
    const PlantedFile planted(ClientPath(), "C:\\Program.exe");
    ASSERT_TRUE(planted.Planted());
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
}

// The client is a 32-bit program: on 64-bit Windows it lives in the folder of 32-bit programs, and the
// program starts it from there whether it is a 32-bit or a 64-bit build.
TEST_F(Editor, ClientStartsFromTheFolderOfThirtyTwoBitPrograms) {
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    if (sizeof(void*) == 4 && !wow64) GTEST_SKIP() << "32-bit Windows has one Program Files folder";
    Click(app::kTntButton2);
    ASSERT_TRUE(PumpUntil([] { return !StandInLog().empty(); })) << "no client started";
    const auto fields = Fields(StandInLog().back());
    ASSERT_EQ(fields.size(), 4u) << StandInLog().back();
    EXPECT_EQ(fields[2], "C:\\Program Files (x86)\\MSN Messenger\\msnmsgr.exe");
}

TEST(ClientCommandLine, FollowsProgramFilesDirectoryOrStartsFromTheRoot) {
    DeleteClientKey();
    {
        ProgramWindow window;
        EXPECT_EQ(window.form.Client().CommandLine(), ClientPath());
    }
    SavedRegistryValue programFiles(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                                    KEY_WOW64_32KEY);
    ASSERT_EQ(programFiles.Delete(), ERROR_SUCCESS);
    EXPECT_EQ(messenger::GetProgramFilesDir(), "");
    {
        ProgramWindow window;
        EXPECT_EQ(window.form.Client().CommandLine(), "\\MSN Messenger\\msnmsgr.exe");
    }
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
    BoxRecorder boxes;
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
        EXPECT_FALSE(box.hasIcon);
    }
}

TEST_F(CurrentValues, WrongTypeGivesErrorBoxAndKeepsTheParts) {
    SetServerValue("kept.example;10.0.0.1:1863");
    ProgramWindow window;
    SetServerValueOfType(REG_DWORD, std::string("\x01\x00\x00\x00", 4));
    BoxRecorder boxes;
    window.form.Image2Click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Invalid data type for 'Server'");
    EXPECT_EQ(boxes.Boxes()[0].caption, "Corvan v1.2");
    EXPECT_TRUE(boxes.Boxes()[0].hasIcon);
    EXPECT_EQ(window.form.Client().DomainPart(), "kept.example");
    EXPECT_EQ(window.form.Client().AddressPart(), "10.0.0.1");
}

TEST_F(CurrentValues, MissingKeyOrValueShowsLastOrEmptyParts) {
    SetServerValue("first.example;10.0.0.2:1863");
    ProgramWindow window;
    DeleteClientKey();
    BoxRecorder boxes;
    window.form.Image2Click();  // the key is gone: the parts read at start stay
    CreateClientKey();          // the key without a value: both parts empty
    window.form.Image2Click();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, Expected("first.example", "10.0.0.2"));
    EXPECT_EQ(boxes.Boxes()[1].text, Expected("", ""));
}

TEST_F(CurrentValues, WrongTypeAtStartIsReportedAndTheWindowStillComesUp) {
    SetServerValueOfType(REG_BINARY, "xyz");
    BoxRecorder boxes;
    ProgramWindow window;
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Invalid data type for 'Server'");
    EXPECT_NE(WideText(window.Control(app::kTntButton2)), L"") << "the start-up language was not applied";
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
    EXPECT_EQ(messenger::Client().ReadServerSetting(), messenger::ReadResult::NoClient);
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
    const std::wstring caption = MenuCaption(window.form.Parts().PopupMenu(), app::kMSNValues1);
    EXPECT_EQ(caption, std::wstring(user.begin(), user.end()) + L" MSN");
    EXPECT_EQ(window.form.Parts().Hint(app::kImage2), caption);
}

}  // namespace

// The server value's rules: building, splitting, the factory value, registry strings, name matching.

#include "messenger/server_value.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace messenger;

TEST(ServerValue, BuildJoinsNameAddressAndPort) {
    const struct {
        const char* name;
        const char* address;
        const char* value;
    } rows[] = {
        {"dispatch.example", "10.0.0.1", "dispatch.example;10.0.0.1:1863"},
        {"", "62.46.71.8", ";62.46.71.8:1863"},
        {"nowhere.example", "", "nowhere.example;:1863"},
        {"", "", ";:1863"},
        {"a;b", "c:d", "a;b;c:d:1863"},
    };
    for (const auto& row : rows) EXPECT_EQ(BuildServerValue(row.name, row.address), row.value) << row.name;
}

TEST(ServerValue, SplitTakesDomainBeforeFirstSemicolonAndAddressBeforeFirstColon) {
    const struct {
        const char* value;
        const char* domain;
        const char* address;
    } rows[] = {
        {"messenger.hotmail.com;207.46.104.20:1863", "messenger.hotmail.com", "207.46.104.20"},
        {";62.46.71.8:1863", "", "62.46.71.8"},
        {"host.example;:1863", "host.example", ""},
        {"", "", ""},
        {"no-separator", "no-separator", "no-separator"},
        {"host:99", "host:99", "host"},
        {"a;b;c:d:e", "a", "b;c"},
        {"a;", "a", ""},
        {";", "", ""},
    };
    for (const auto& row : rows) {
        const ServerParts parts = SplitServerValue(row.value);
        EXPECT_EQ(parts.domain, row.domain) << row.value;
        EXPECT_EQ(parts.address, row.address) << row.value;
    }
}

TEST(ServerValue, SplitOfBuiltValueGivesBackItsFields) {
    for (const char* address : ServerList()) {
        const ServerParts parts = SplitServerValue(BuildServerValue("name.example", address));
        EXPECT_EQ(parts.domain, "name.example");
        EXPECT_EQ(parts.address, address);
    }
}

TEST(ServerList, HoldsDistinctDottedQuadsWithFactoryAddressFirst) {
    const auto list = ServerList();
    ASSERT_EQ(list.size(), 338u);
    std::set<std::string> seen;
    for (const char* address : list) {
        int parts[4];
        char tail = 0;
        ASSERT_EQ(sscanf(address, "%d.%d.%d.%d%c", &parts[0], &parts[1], &parts[2], &parts[3], &tail), 4) << address;
        for (int part : parts) EXPECT_TRUE(part >= 0 && part <= 254) << address;
        EXPECT_TRUE(seen.insert(address).second) << "twice: " << address;
    }
    // The factory address heads the list, as the README names it.
    EXPECT_STREQ(list[0], "207.46.104.20");
    EXPECT_EQ(FactoryServerValue(), "messenger.hotmail.com;207.46.104.20:1863");
}

TEST(RegistryString, EndsAtFirstNulWithinReturnedBytes) {
    const char stored[] = {'a', 'b', '\0', 'c', 'd'};
    EXPECT_EQ(StringFromRegistryData(stored, 5), "ab");
    const char unterminated[] = {'x', 'y', 'z'};
    EXPECT_EQ(StringFromRegistryData(unterminated, 3), "xyz");
    EXPECT_EQ(StringFromRegistryData(unterminated, 2), "xy");
    EXPECT_EQ(StringFromRegistryData(unterminated, 0), "");
}

TEST(ImageName, MatchesFileNamePartOrWholePathIgnoringAsciiCaseOnly) {
    const struct {
        const char* exeFile;
        bool matches;
    } rows[] = {
        {"msnmsgr.exe", true},
        {"MSNMSGR.EXE", true},
        {"MsnMsgr.Exe", true},
        {"C:\\Program Files\\MSN Messenger\\msnmsgr.exe", true},
        {"D:\\elsewhere\\MSNMSGR.exe", true},
        {"C:msnmsgr.exe", true},
        {"msnmsgr.exe.bak", false},
        {"xmsnmsgr.exe", false},
        {"C:\\msnmsgr.exe\\other.exe", false},
        {"explorer.exe", false},
        {"", false},
    };
    for (const auto& row : rows) EXPECT_EQ(ImageNameMatches(row.exeFile, "msnmsgr.exe"), row.matches) << row.exeFile;
}

TEST(ImageName, LettersOutsideAsciiAreComparedExactly) {
    // "\xE9" and "\xC9" are é and É in Windows-1252: no case folding for them.
    EXPECT_TRUE(ImageNameMatches("caf\xE9.exe", "CAF\xE9.EXE"));
    EXPECT_FALSE(ImageNameMatches("caf\xE9.exe", "caf\xC9.exe"));
    EXPECT_EQ(AsciiUpper("az\xE9Z09_"), "AZ\xE9Z09_");
}

TEST(ImageName, WholePathComparedWhenFileNamePartDiffers) {
    EXPECT_TRUE(ImageNameMatches("C:\\x\\client.exe", "c:\\X\\CLIENT.EXE"));
}

TEST(Messages, TextsAreExact) {
    EXPECT_EQ(FailedToSetDataMessage(), "Failed to set data for 'Server'");
    EXPECT_EQ(InvalidDataTypeMessage(), "Invalid data type for 'Server'");
    EXPECT_EQ(CurrentValuesText("alice", {"host.example", "10.1.2.3"}),
              "alice MSN Values:\r\rDomain Server: host.example\r\rIP Server: 10.1.2.3\r");
    EXPECT_EQ(CurrentValuesText("", {"", ""}), " MSN Values:\r\rDomain Server: \r\rIP Server: \r");
}

TEST(CommandLine, QuotesThePath) {
    EXPECT_EQ(QuotedCommandLine("C:\\Program Files (x86)\\MSN Messenger\\msnmsgr.exe"),
              "\"C:\\Program Files (x86)\\MSN Messenger\\msnmsgr.exe\"");
    EXPECT_EQ(QuotedCommandLine(std::string("") + kClientSubPath), "\"\\MSN Messenger\\msnmsgr.exe\"");
}

}  // namespace

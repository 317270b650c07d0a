// The text sets' data rules, the language list and the system language table.

#include "i18n/catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using namespace i18n;
using enum TextSet;

constexpr std::string_view kHost = "messenger.hotmail.com";

std::vector<std::string> Slots(const LanguageTexts& texts) {
    std::vector<std::string> slots;
    for (int slot = 0; slot < kSlotCount; ++slot) slots.push_back(SlotText(texts, static_cast<Slot>(slot)).utf8);
    return slots;
}

bool IsValidUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
        }
        i += length;
    }
    return true;
}

TEST(TextSets, EverySetHasTwelveNonEmptyUtf8TextsWithoutLineBreaks) {
    for (int set = 0; set < kTextSetCount; ++set) {
        const auto slots = Slots(TextsOf(static_cast<TextSet>(set)));
        for (size_t slot = 0; slot < slots.size(); ++slot) {
            EXPECT_FALSE(slots[slot].empty()) << "set " << set << " slot " << slot + 1;
            EXPECT_TRUE(IsValidUtf8(slots[slot])) << "set " << set << " slot " << slot + 1;
            EXPECT_EQ(slots[slot].find_first_of("\r\n\t"), std::string::npos) << "set " << set << " slot " << slot + 1;
        }
    }
}

TEST(TextSets, DomainHintEndsWithDispatchHostAndSevenSetsAddOneBlank) {
    int withBlank = 0;
    for (int set = 0; set < kTextSetCount; ++set) {
        const std::string hint = TextsOf(static_cast<TextSet>(set)).DomainHint.utf8;
        const bool blank = hint.ends_with(std::string(kHost) + " ");
        EXPECT_TRUE(blank || hint.ends_with(kHost)) << "set " << set << ": " << hint;
        EXPECT_FALSE(hint.ends_with(std::string(kHost) + "  ")) << "set " << set;
        withBlank += blank;
    }
    EXPECT_EQ(withBlank, 7);
}

TEST(TextSets, IpHintNamesBoundsAndExampleWithAcuteQuotedDot) {
    int namingZero = 0;
    int quotingExample = 0;
    for (int set = 0; set < kTextSetCount; ++set) {
        const std::string hint = TextsOf(static_cast<TextSet>(set)).IpHint.utf8;
        EXPECT_NE(hint.find("254"), std::string::npos) << "set " << set;
        EXPECT_NE(hint.find("\xC2\xB4.\xC2\xB4"), std::string::npos) << "set " << set << ": " << hint;
        const bool example = hint.find("62.46.71.8") != std::string::npos;
        quotingExample += example;
        // A 0 of its own, not one inside the example address or the 254.
        std::string rest = hint;
        for (const char* part : {"62.46.71.8", "254"}) {
            for (size_t at; (at = rest.find(part)) != std::string::npos;) rest.erase(at, strlen(part));
        }
        namingZero += rest.find('0') != std::string::npos;
    }
    EXPECT_EQ(namingZero, 37);
    EXPECT_EQ(quotingExample, 37);
}

TEST(TextSets, GivenSetsAreExact) {
    EXPECT_STREQ(TextsOf(English).IpHint.utf8,
                 "Put IP with \xC2\xB4.\xC2\xB4 of MSN server, for sample: 62.46.71.8 the value of what exists between them "
                 "\xC2\xB4.\xC2\xB4 it can never be < 0 not > 254");
    EXPECT_STREQ(TextsOf(English).DomainHint.utf8, "Put the name of domain MSN server for sample: messenger.hotmail.com");
    EXPECT_STREQ(TextsOf(SpanishSpain).FactoryCaption.utf8, "Poner valores de f\xC3\xA1" "brica de MSN");
    EXPECT_STREQ(TextsOf(BalearCatalaValencia).ServerListPrompt.utf8, "O elige 1 d\xC2\xB4" "aquests servidors de MSN");
    EXPECT_STREQ(TextsOf(Japanese).MenuCloseCaption.utf8, "\xE9\x96\x89\xE9\x8E\x96");  // 閉鎖
}

TEST(TextSets, SetsDifferFromEachOther) {
    std::set<std::string> prompts;
    for (int set = 0; set < kTextSetCount; ++set) prompts.insert(TextsOf(static_cast<TextSet>(set)).IpPrompt.utf8);
    EXPECT_EQ(prompts.size(), static_cast<size_t>(kTextSetCount));
}

TEST(TextSets, TwentySevenSetsLiveInStoresOncePerStore) {
    std::set<int> stores;
    for (int set = 0; set < kTextSetCount; ++set) {
        if (const auto store = StoreOf(static_cast<TextSet>(set))) {
            EXPECT_TRUE(*store >= 0 && *store < 27);
            EXPECT_TRUE(stores.insert(*store).second);
        }
    }
    EXPECT_EQ(stores.size(), 27u);
    EXPECT_EQ(StoreOf(Japanese), 0);   // TntComboBox2
    EXPECT_EQ(StoreOf(IrishGaelic), 26);  // TntComboBox28
    EXPECT_EQ(StoreOf(English), std::nullopt);
}

TEST(LanguageList, NamesLeadToSetsByWholeExactText) {
    const auto items = LanguageListItems();
    ASSERT_EQ(items.size(), 40u);
    EXPECT_STREQ(items[0], "Select other language:");
    EXPECT_STREQ(items[2], "Balear-Català-Valencià");
    EXPECT_STREQ(items[16], "Français");
    EXPECT_STREQ(items[39], "Welsh");
    EXPECT_EQ(TextSetOfName("Select other language:"), std::nullopt);
    EXPECT_EQ(TextSetOfName("Brazilian"), Portuguese);
    EXPECT_EQ(TextSetOfName("Portuguese"), Portuguese);
    EXPECT_EQ(TextSetOfName("Simplified Chinese"), SimplifiedChinese);
    EXPECT_EQ(TextSetOfName("deutsch"), std::nullopt);
    EXPECT_EQ(TextSetOfName("Deutsch "), std::nullopt);
    EXPECT_EQ(TextSetOfName(""), std::nullopt);
    std::set<TextSet> reached;
    for (size_t i = 1; i < items.size(); ++i) {
        const auto set = TextSetOfName(items[i]);
        ASSERT_TRUE(set.has_value()) << items[i];
        reached.insert(*set);
    }
    EXPECT_EQ(reached.size(), static_cast<size_t>(kTextSetCount));
}

// Each name of the list leads to the texts of its own language, told by the prompt of that language's
// text file: the table is written from the texts, not from the languages table. Arabic alone reads
// right to left.
TEST(LanguageList, EachNameAppliesTheTextsOfItsLanguage) {
    const struct {
        const char* name;
        const char* prompt;
    } rows[] = {
        {"Arabic", "أدخل عنوان IP لخادم MSN"},
        {"Balear-Català-Valencià", "Introdueix la IP del servidor MSN"},
        {"Brazilian", "Insira o endereço IP do servidor MSN"},
        {"Bulgarian", "Въведете IP адреса на MSN сървъра"},
        {"Chinese", "請輸入 MSN 伺服器的 IP 位址"},
        {"Croatian", "Unesite IP adresu MSN poslužitelja"},
        {"Czech", "Zadejte adresu IP serveru MSN"},
        {"Danish", "Angiv MSN-serverens IP-adresse"},
        {"Deutsch", "IP-Adresse des MSN-Servers eingeben"},
        {"Dutch", "Typ het IP-adres van de MSN-server"},
        {"English", "Put IP of the MSN server"},
        {"Esperanto", "Tajpu la IP-adreson de la MSN-servilo"},
        {"Euskera", "Idatzi MSN zerbitzariaren IP helbidea"},
        {"Filipino", "Ilagay ang IP address ng MSN server"},
        {"Finnish", "Anna MSN-palvelimen IP-osoite"},
        {"Français", "Saisissez l’adresse IP du serveur MSN"},
        {"Galego", "Escriba o enderezo IP do servidor MSN"},
        {"Greek", "Διεύθυνση IP του διακομιστή MSN"},
        {"Hungarian", "Adja meg az MSN-kiszolgáló IP-címét"},
        {"Icelandic", "Sláðu inn IP-tölu MSN-netþjónsins"},
        {"Irish Gaelic", "Seoladh IP an fhreastalaí MSN"},
        {"Italiano", "Inserire l’indirizzo IP del server MSN"},
        {"Japanese", "MSNサーバのIPを置いてください。"},
        {"Korean", "MSN 서버의 IP 주소를 입력하세요"},
        {"Latin", "Scribe inscriptionem IP servitri MSN"},
        {"Norwegian", "Skriv inn MSN-serverens IP-adresse"},
        {"Polish", "Wpisz adres IP serwera MSN"},
        {"Portuguese", "Insira o endereço IP do servidor MSN"},
        {"Romanian", "Introduceți adresa IP a serverului MSN"},
        {"Russian", "Введите IP-адрес сервера MSN"},
        {"Serbian", "Unesite IP adresu MSN servera"},
        {"Simplified Chinese", "请输入 MSN 服务器的 IP 地址"},
        {"Slovenian", "Vnesite naslov IP strežnika MSN"},
        {"Spanish Spain", "Introduce la IP del servidor MSN"},
        {"Spanish Argentina", "Ingresá la dirección IP del servidor MSN"},
        {"Swedish", "Ange MSN-serverns IP-adress"},
        {"Thai", "ป้อนที่อยู่ IP ของเซิร์ฟเวอร์ MSN"},
        {"Turkish", "MSN sunucusunun IP adresini girin"},
        {"Welsh", "Rhowch gyfeiriad IP y gweinydd MSN"},
    };
    ASSERT_EQ(std::size(rows), LanguageListItems().size() - 1);
    for (const auto& row : rows) {
        const auto set = TextSetOfName(row.name);
        ASSERT_TRUE(set.has_value()) << row.name;
        EXPECT_STREQ(TextsOf(*set).IpPrompt.utf8, row.prompt) << row.name;
        EXPECT_EQ(ReadingOrderOf(*set) == ReadingOrder::RightToLeft, std::string_view(row.name) == "Arabic") << row.name;
    }
}

TEST(SystemLanguage, TableGivesEachIdentifierItsSet) {
    const struct {
        std::vector<unsigned short> ids;
        TextSet set;
    } rows[] = {
        {{0x0401, 0x0801, 0x0C01, 0x1001, 0x1401, 0x1801, 0x1C01, 0x2001, 0x2401, 0x2801, 0x2C01, 0x3001, 0x3401, 0x3801,
          0x3C01, 0x4001},
         Arabic},
        {{0x0403}, BalearCatalaValencia},
        {{0x0416, 0x0816}, Portuguese},
        {{0x0402}, Bulgarian},
        {{0x0404, 0x0804, 0x0C04, 0x1004, 0x1404}, Chinese},
        {{0x041A, 0x101A}, Croatian},
        {{0x0405}, Czech},
        {{0x0406}, Danish},
        {{0x0407, 0x0807, 0x0C07, 0x1007, 0x1407}, Deutsch},
        {{0x0413, 0x0813}, Dutch},
        {{0x0409, 0x0809, 0x0C09, 0x1009, 0x1409, 0x1809, 0x1C09, 0x2009, 0x2409, 0x2809, 0x2C09, 0x3009, 0x3409}, English},
        {{0x042D}, Euskera},
        {{0x040B}, Finnish},
        {{0x040C, 0x080C, 0x0C0C, 0x100C, 0x140C, 0x180C}, Francais},
        {{0x0456}, Galego},
        {{0x0408}, Greek},
        {{0x040E}, Hungarian},
        {{0x040F}, Icelandic},
        {{0x0410, 0x0810}, Italiano},
        {{0x0411}, Japanese},
        {{0x0412}, Korean},
        {{0x0414, 0x0814}, Norwegian},
        {{0x0415}, Polish},
        {{0x0418}, Romanian},
        {{0x0419}, Russian},
        {{0x081A, 0x0C1A, 0x181A, 0x1C1A}, Serbian},
        {{0x0424}, Slovenian},
        {{0x2C0A}, SpanishArgentina},
        {{0x040A, 0x080A, 0x0C0A, 0x100A, 0x140A, 0x180A, 0x1C0A, 0x200A, 0x240A, 0x280A, 0x300A, 0x340A, 0x380A, 0x3C0A,
          0x400A, 0x440A, 0x480A, 0x4C0A, 0x500A},
         SpanishSpain},
        {{0x041D, 0x081D}, Swedish},
        {{0x041E}, Thai},
        {{0x041F}, Turkish},
        {{0x0452}, Welsh},
    };
    size_t count = 0;
    for (const auto& row : rows) {
        for (unsigned short id : row.ids) {
            EXPECT_EQ(TextSetOfSystemLanguage(id), row.set) << std::hex << id;
            ++count;
        }
    }
    EXPECT_EQ(count, 100u);
}

TEST(SystemLanguage, IdentifiersWithoutRowGiveEnglish) {
    for (unsigned short id : {0x0000, 0x040D, 0x0421, 0x0422, 0xFFFF, 0x0C1B, 0x2C1A}) {
        EXPECT_EQ(TextSetOfSystemLanguage(id), English) << std::hex << id;
    }
    // Reached only from the language list.
    for (unsigned id = 0; id <= 0xFFFF; ++id) {
        const TextSet set = TextSetOfSystemLanguage(static_cast<unsigned short>(id));
        ASSERT_TRUE(set != Esperanto && set != Filipino && set != IrishGaelic && set != Latin && set != SimplifiedChinese) << id;
    }
}

}  // namespace

#include "DeviceLanguage.h"

#include <filesystem>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "core/FileFinder.h"
#include "core/TempDir.h"
#include "text/LString.h"

using OKU::L10n_Language;

// The device's setting, in the order a user expects it to count, mapped to a
// table and its behaviour; English and the unknown get none.
TEST(DeviceLanguage, ComesFromTheFirstSettingInOrder)
{
    // An empty code: no table.
    const struct {
        std::map<std::string, std::string> environment;
        std::string code;
        L10n_Language behaviour;
    } cases[] = {
        {{}, "", L10n_Language::WESTERN},
        {{{"LANG", "de_DE.UTF-8"}}, "de", L10n_Language::DECIMAL_COMMA},
        {{{"LANG", "en_GB.UTF-8"}}, "", L10n_Language::WESTERN},
        {{{"LC_MESSAGES", "ar_EG.UTF-8"}, {"LANG", "de_DE"}}, "ar", L10n_Language::ARABIC_INDIC},
        {{{"LC_ALL", "fa_IR"}, {"LC_MESSAGES", "de_DE"}}, "fa",
         L10n_Language::EXTENDED_ARABIC_INDIC},
        {{{"LANGUAGE", "iw:en"}, {"LC_ALL", "de_DE"}}, "he", L10n_Language::WESTERN_RTL},
        {{{"LIFEBOAT_LANGUAGE", "th"}, {"LANGUAGE", "de"}}, "th", L10n_Language::THAI},
        {{{"LIFEBOAT_LANGUAGE", "zh-CN"}}, "zh", L10n_Language::WESTERN},
        // The program's own setting wins, also when it asks for English.
        {{{"LIFEBOAT_LANGUAGE", "en"}, {"LANG", "de_DE"}}, "", L10n_Language::WESTERN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const auto language = deviceLanguage([&c](const char* name) {
            const auto it = c.environment.find(name);
            return it == c.environment.end() ? std::string() : it->second;
        });
        ASSERT_EQ(!c.code.empty(), language.has_value());
        if (language) {
            EXPECT_EQ(std::make_pair(c.code, c.behaviour),
                      std::make_pair(language->code, language->behaviour));
        }
    }
}

// lifeboat in German and Arabic from the shipped tables: its own texts and
// the toolkit's words, Arabic right to left with its digits. A tree without
// lifeboat's table stays English as a whole; one without the toolkit's
// leaves only the toolkit's words in English.
TEST(DeviceLanguage, LoadsLifeboatsTableAndTheToolkitsBesideIt)
{
    const auto shown = [] {
        return OKU::LString(OKU::LString1(L"%1 %2 %3"))
            .arg(OKU::LString1(L"Lifeboat!"))
            .arg(OKU::LString1(L"Cancel"))
            .arg(OKU::LString(OKU::LString1(L"Elapsed: %1")).arg(OKU::LString::Number(12, 0, L' ')))
            .str();
    };
    const auto loadFrom = [](const std::string& code, const std::string& directory) {
        ScopedEnv language("LIFEBOAT_LANGUAGE", code.c_str());
        OKU::l10nLoadLanguage("", L10n_Language::WESTERN);
        OKU::l10nLoadToolkitLanguage("");
        loadDeviceLanguage(OKU::FileFinder(directory));
    };

    loadFrom("de", OKU_LNG_DIR);
    EXPECT_EQ(L"Rettungsboot! Abbrechen Verstrichen: 12", shown());
    EXPECT_TRUE(OKU::l10nIsLTR());
    loadFrom("ar", OKU_LNG_DIR);
    EXPECT_EQ(L"قارب النجاة! إلغاء الوقت المنقضي: ١٢", shown());
    EXPECT_FALSE(OKU::l10nIsLTR());

    TempDir onlyToolkit, onlyLifeboat;
    std::filesystem::create_directories(onlyToolkit / "oku");
    const std::string tables = OKU_LNG_DIR;
    std::filesystem::copy_file(tables + "/oku/de.lng", onlyToolkit / "oku/de.lng");
    std::filesystem::copy_file(tables + "/de.lng", onlyLifeboat / "de.lng");
    loadFrom("de", onlyToolkit.path());
    EXPECT_EQ(L"Lifeboat! Cancel Elapsed: 12", shown());
    loadFrom("de", onlyLifeboat.path());
    EXPECT_EQ(L"Rettungsboot! Cancel Verstrichen: 12", shown());

    OKU::l10nLoadLanguage("", L10n_Language::WESTERN);
}

#include "DeviceLanguage.h"

#include <map>
#include <string>

#include <gtest/gtest.h>

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

#include "DeviceLanguage.h"

#include "core/Paths.h"
#include "core/Trace.h"

using OKU::L10n_Language;

namespace {

const DeviceLanguage c_languages[] = {
    {"ar", L10n_Language::ARABIC_INDIC},  {"de", L10n_Language::DECIMAL_COMMA},
    {"el", L10n_Language::DECIMAL_COMMA}, {"es", L10n_Language::DECIMAL_COMMA},
    {"fa", L10n_Language::EXTENDED_ARABIC_INDIC},
    {"fr", L10n_Language::DECIMAL_COMMA}, {"he", L10n_Language::WESTERN_RTL},
    {"it", L10n_Language::DECIMAL_COMMA}, {"ja", L10n_Language::WESTERN},
    {"ko", L10n_Language::WESTERN},       {"nl", L10n_Language::DECIMAL_COMMA},
    {"pl", L10n_Language::DECIMAL_COMMA}, {"pt", L10n_Language::DECIMAL_COMMA},
    {"ru", L10n_Language::DECIMAL_COMMA}, {"th", L10n_Language::THAI},
    {"tr", L10n_Language::DECIMAL_COMMA}, {"zh", L10n_Language::WESTERN},
};

// "de_DE.UTF-8@euro" and "de:en" give "de"; "iw" is the old code of Hebrew.
std::string languageCode(const std::string& setting)
{
    const std::string code = setting.substr(0, setting.find_first_of("_.@:-"));
    return code == "iw" ? "he" : code;
}

void warnUntranslated(const std::string& table)
{
    OKU::traceMessage("Lifeboat", OKU::TRACE_WARNING,
                      "Cannot load the language table \"%s\"; its texts stay in English",
                      table.c_str());
}

} // namespace

std::optional<DeviceLanguage>
deviceLanguage(const std::function<std::string(const char*)>& getEnv)
{
    std::string setting;
    for (const char* name : {"LIFEBOAT_LANGUAGE", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        setting = getEnv(name);
        if (!setting.empty())
            break;
    }
    const std::string code = languageCode(setting);
    for (const DeviceLanguage& language : c_languages) {
        if (code == language.code)
            return language;
    }
    return std::nullopt;
}

void loadDeviceLanguage(const OKU::FileFinder& resources)
{
    const std::optional<DeviceLanguage> language =
        deviceLanguage([](const char* name) { return OKU::getEnv(name, ""); });
    if (!language)
        return;
    // Without lifeboat's own table the page stays English as a whole: the
    // toolkit's words alone would mix two languages on one page.
    const std::string name = language->code + ".lng";
    std::string path;
    if (!resources.find(name, path) || !OKU::l10nLoadLanguage(path, language->behaviour)) {
        warnUntranslated(name);
        return;
    }
    const std::string toolkitName = OKU::l10nToolkitTableName(language->code);
    if (!resources.find(toolkitName, path) || !OKU::l10nLoadToolkitLanguage(path))
        warnUntranslated(toolkitName);
}

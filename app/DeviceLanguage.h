#ifndef LIFEBOAT_DEVICELANGUAGE_H
#define LIFEBOAT_DEVICELANGUAGE_H

#include <functional>
#include <optional>
#include <string>

#include "core/FileFinder.h"
#include "text/L10n.h"

// A language lifeboat speaks besides English: its code, which names its
// tables, and how it writes numbers and which way it runs.
struct DeviceLanguage {
    std::string code;
    OKU::L10n_Language behaviour;
};

// The language the device is set to, from the environment as getEnv gives it:
// LIFEBOAT_LANGUAGE, else the first of LANGUAGE's colon-separated list, else
// LC_ALL, LC_MESSAGES and LANG, the first one set deciding ("de_DE.UTF-8"
// is "de"). None for English, "C", "POSIX" and languages without a table.
std::optional<DeviceLanguage>
deviceLanguage(const std::function<std::string(const char*)>& getEnv);

// Loads the tables of the device's language from the lng directory along the
// resource path, before any text is shown: the toolkit's (the words of its
// buttons and calibration page, l10nToolkitTableName) and lifeboat's own
// ("<code>.lng"). Without a language the program speaks English. A table
// that is missing or cannot be read is reported in the trace and leaves its
// texts in English; without lifeboat's own the toolkit's is not loaded
// either, so that the page never mixes two languages.
void loadDeviceLanguage(const OKU::FileFinder& resources);

#endif

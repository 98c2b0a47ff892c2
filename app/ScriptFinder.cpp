#include "ScriptFinder.h"

OKU::FileFinder s_scriptFinder("");

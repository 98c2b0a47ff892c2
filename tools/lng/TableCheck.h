#ifndef LNGTOOL_TABLECHECK_H
#define LNGTOOL_TABLECHECK_H

#include <string>
#include <vector>

#include "PoCatalog.h"
#include "SourceTexts.h"

namespace lng {

// What is wrong with a language source against the program's texts: a text
// it lacks, one the program no longer uses, one given twice, and a
// translation whose numbered markers (%1, %2, ...) differ from the text's.
// One line per fault, "file:line: ..."; none when the source is complete.
std::vector<std::string> checkCatalog(const std::vector<SourceText>& program,
                                      const std::vector<PoEntry>& catalog,
                                      const std::string& fileName);

} // namespace lng

#endif

#ifndef LIFEBOAT_SIM_SCENARIOWORDS_H
#define LIFEBOAT_SIM_SCENARIOWORDS_H

#include <string>
#include <vector>

namespace sim {

// The words of one scenario line; "#" starts a comment.
std::vector<std::string> scenarioWords(const std::string& line);

// The word as a whole number in minimum..maximum; anything else throws
// std::invalid_argument 'bad WHAT "WORD"'.
int scenarioNumber(const std::string& word, int minimum, int maximum, const char* what);

} // namespace sim

#endif

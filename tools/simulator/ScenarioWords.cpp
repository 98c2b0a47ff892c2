#include "ScenarioWords.h"

#include <sstream>
#include <stdexcept>

namespace sim {

std::vector<std::string> scenarioWords(const std::string& line)
{
    std::istringstream text(line.substr(0, line.find('#')));
    std::vector<std::string> words;
    for (std::string word; text >> word;)
        words.push_back(word);
    return words;
}

int scenarioNumber(const std::string& word, int minimum, int maximum, const char* what)
{
    size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(word, &used);
    } catch (const std::logic_error&) {
        used = 0;
    }
    if (used != word.size() || value < minimum || value > maximum)
        throw std::invalid_argument("bad " + std::string(what) + " \"" + word + "\"");
    return value;
}

} // namespace sim

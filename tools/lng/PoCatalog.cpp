#include "PoCatalog.h"

#include <fstream>
#include <stdexcept>

#include "QuotedText.h"

namespace lng {

namespace {

// The quoted text after a keyword and the quoted lines that continue it.
class Reader {
public:
    explicit Reader(const std::string& path) : m_path(path), m_in(path)
    {
        if (!m_in)
            throw std::runtime_error("Cannot open \"" + path + "\"");
        next();
    }

    bool atEnd() const { return m_atEnd; }
    int lineNumber() const { return m_lineNumber; }

    // The text of the entry line that starts with keyword.
    std::wstring field(const char* keyword)
    {
        const std::string prefix = std::string(keyword) + " ";
        if (m_atEnd || m_line.compare(0, prefix.size(), prefix) != 0)
            fail(std::string("expected ") + keyword);
        size_t pos = prefix.size();
        std::wstring text = quoted(pos);
        next();
        while (!m_atEnd && !m_line.empty() && m_line[0] == '"') {
            pos = 0;
            text += quoted(pos);
            next();
        }
        return text;
    }

    [[noreturn]] void fail(const std::string& what) const
    {
        throw std::runtime_error(m_path + ":" + std::to_string(m_lineNumber) + ": " + what);
    }

private:
    std::wstring quoted(size_t& pos) const
    {
        if (pos >= m_line.size() || m_line[pos] != '"')
            fail("expected a quoted text");
        std::wstring text;
        try {
            text = readQuoted(m_line, pos);
        } catch (const std::runtime_error& e) {
            fail(e.what());
        }
        if (pos != m_line.size())
            fail("text after the closing quote");
        return text;
    }

    // Moves to the next line that is neither blank nor a comment.
    void next()
    {
        while (std::getline(m_in, m_line)) {
            ++m_lineNumber;
            if (!m_line.empty() && m_line.back() == '\r')
                m_line.pop_back();
            if (!m_line.empty() && m_line[0] != '#')
                return;
        }
        m_atEnd = true;
    }

    std::string m_path;
    std::ifstream m_in;
    std::string m_line;
    int m_lineNumber = 0;
    bool m_atEnd = false;
};

} // namespace

std::vector<PoEntry> readPoFile(const std::string& path)
{
    Reader reader(path);
    std::vector<PoEntry> entries;
    while (!reader.atEnd()) {
        PoEntry entry;
        entry.line = reader.lineNumber();
        entry.id = reader.field("msgid");
        entry.text = reader.field("msgstr");
        if (!entry.id.empty())
            entries.push_back(entry);
    }
    return entries;
}

void writePoTemplate(const std::string& path, const std::vector<SourceText>& texts)
{
    std::ofstream out(path, std::ios::trunc);
    out << "# Every text the program translates. A language source <code>.po, a\n"
           "# copy of this file, gives each a msgstr in that language.\n";
    for (const SourceText& text : texts)
        out << "\n#: " << text.where << "\nmsgid " << quote(text.text) << "\nmsgstr \"\"\n";
    if (!out.flush())
        throw std::runtime_error("Cannot write \"" + path + "\"");
}

} // namespace lng

#ifndef OKU_TESTS_CORE_TRICKLEBUFFER_H
#define OKU_TESTS_CORE_TRICKLEBUFFER_H

#include <streambuf>
#include <string>

// Input like a pipe's: one byte per read and nothing reported as available.
class TrickleBuffer : public std::streambuf {
public:
    explicit TrickleBuffer(const std::string& data) : m_data(data) {}
    size_t consumed() const { return m_position; }

protected:
    int_type underflow() override
    {
        if (m_position >= m_data.size())
            return traits_type::eof();
        m_char = m_data[m_position++];
        setg(&m_char, &m_char, &m_char + 1);
        return traits_type::to_int_type(m_char);
    }

private:
    std::string m_data;
    size_t m_position = 0;
    char m_char = 0;
};

#endif

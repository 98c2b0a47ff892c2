#ifndef OKU_TESTS_CORE_TEMPDIR_H
#define OKU_TESTS_CORE_TEMPDIR_H

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <regex>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "core/Directories.h"
#include "core/FatalError.h"
#include "core/SetupError.h"

// A fresh directory under $TMPDIR (or /tmp) for one test, removed with
// everything in it when the test ends.
class TempDir {
public:
    TempDir() : m_path(OKU::createTempDir("")) { EXPECT_FALSE(m_path.empty()); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir()
    {
        if (!m_path.empty())
            OKU::removeTree(m_path, true);
    }

    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

    // Plain standard-library file access, independent of the code under test.
    void write(const std::string& name, const std::string& contents) const
    {
        std::ofstream out(*this / name, std::ios_base::binary);
        out << contents;
        ASSERT_TRUE(out.good()) << name;
    }
    std::string read(const std::string& name) const
    {
        std::ifstream in(*this / name, std::ios_base::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::string m_path;
};

// Makes path the working directory until the end of the scope.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& path) : m_previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(path);
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;
    ~WorkingDirectory() { std::filesystem::current_path(m_previous); }

private:
    std::filesystem::path m_previous;
};

// Sets an environment variable, or unsets it for nullptr, until the end of
// the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* previous = getenv(name))
            m_previous = previous;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ~ScopedEnv()
    {
        m_previous ? setenv(m_name.c_str(), m_previous->c_str(), 1) : unsetenv(m_name.c_str());
    }

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};

inline int openDescriptorCount()
{
    const std::filesystem::directory_iterator entries("/proc/self/fd");
    return static_cast<int>(std::distance(begin(entries), end(entries)));
}

// A fatal error handler for death tests: the message goes to standard error.
inline void printFatalMessage(const char* message)
{
    fprintf(stderr, "handled: %s\n", message);
}

// Expects action, run in a child, to end the program through a fatal error
// whose message matches the regular expression. The "fast" death test style
// forks without running the test again up to the action: quicker, and safe
// while no other thread runs.
inline void expectFatal(const std::function<void()>& action, const std::string& message,
                        const char* style = "threadsafe")
{
    GTEST_FLAG_SET(death_test_style, style);
    EXPECT_EXIT((OKU::setFatalErrorHandler(printFatalMessage), action()),
                testing::ExitedWithCode(1), "handled: " + message);
}

// Expects action to throw SetupError with the whole line matching the
// regular expression.
inline void expectSetupError(const std::function<void()>& action, const std::string& line)
{
    try {
        action();
        ADD_FAILURE() << "no SetupError; expected: " << line;
    } catch (const OKU::SetupError& error) {
        EXPECT_TRUE(std::regex_match(error.what(), std::regex(line))) << error.what();
    }
}

#endif

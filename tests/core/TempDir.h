#ifndef OKU_TESTS_CORE_TEMPDIR_H
#define OKU_TESTS_CORE_TEMPDIR_H

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "core/Directories.h"

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
    // The path of an entry inside the directory.
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
        std::ostringstream contents;
        contents << in.rdbuf();
        return contents.str();
    }

private:
    std::string m_path;
};

// Makes path the working directory until the end of the scope.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& path) : m_previous(getcwd(nullptr, 0))
    {
        EXPECT_EQ(0, chdir(path.c_str()));
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;
    ~WorkingDirectory()
    {
        EXPECT_EQ(0, chdir(m_previous));
        free(m_previous);
    }

private:
    char* m_previous;
};

#endif

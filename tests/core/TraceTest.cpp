#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>
#include <stdlib.h>
#include <gtest/gtest.h>

#include "HostileFiles.h"
#include "core/Directories.h"
#include "core/Paths.h"
#include "core/Trace.h"
#include "core/detail/Backtrace.h"
#include "core/detail/TraceConfig.h"

using namespace OKU;

namespace {

typedef std::vector<std::string> Lines;

// The lines of text from their "[category]" on: messages start with
// "{thread} YYYY-MM-DD hh:mm:ss.mmm ", the tracer's own warnings without the
// thread.
Lines entries(const std::string& text)
{
    static const std::regex c_line(
        R"((\{[0-9a-f]+\} )?\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} (\[.*))");
    Lines result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::smatch match;
        EXPECT_TRUE(std::regex_match(line, match, c_line)) << line;
        result.push_back(match[2].str());
        EXPECT_EQ(result.back().rfind("[OKU:trace]", 0) != 0, match[1].matched) << line;
    }
    return result;
}

// The trace environment is unset for each test and the outputs dropped
// afterwards, so that no test sees another one's files.
class TraceTest : public testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(traceInit(writeConfig(""))); }

    std::string writeConfig(const std::string& outputs)
    {
        m_dir.write("traceconfig.xml", "<traceconfig>\n" + outputs + "</traceconfig>\n");
        return m_dir / "traceconfig.xml";
    }
    std::string fileOutput(const std::string& name, const std::string& attributes = "",
                           const std::string& inside = "")
    {
        return "<output filename='" + m_dir / name + "' " + attributes + ">" + inside + "</output>";
    }
    std::string readLog(const std::string& name)
    {
        traceFlush();
        return m_dir.read(name);
    }

    ScopedEnv m_config{"OKU_TRACECONFIG", nullptr}, m_default{"OKU_TRACEDEFAULT", nullptr},
        m_pathDefault{"OKU_TRACEPATHDEFAULT", nullptr};
    TempDir m_dir;
};

TEST_F(TraceTest, FileOutputsApplyLimitsRotateAppendAndFollowThePathDefault)
{
    ASSERT_TRUE(traceInit(writeConfig(
        fileOutput("a.log", "defaultlimit='warning'",
                   "<category name='OKU::Widget' limit='info'/><category name='OKU::Widget' limit='debug'/>") +
        fileOutput("b.log", "type='file' defaultlimit='error' flush='yes'",
                   "<category name='OKU::RootWidget' limit='silly'/>"))));
    EXPECT_EQ(TRACE_SILLY, g_traceGlobalLimit);
    EXPECT_TRUE(traceTest__internal("OKU::Widget", TRACE_DEBUG) &&
                !traceTest__internal("OKU::A", TRACE_INFO));
    traceMessage("OKU::Sizer", TRACE_ERROR, "broken %d", 1);
    traceMessage("OKU::Sizer", TRACE_WARNING, "odd %s", "size");
    traceMessage("OKU::Sizer", TRACE_INFO, "sized");
    traceMessage("OKU::Widget", TRACE_DEBUG, "shown");
    traceMessage("OKU::Widget", TRACE_FUNCTION, "entered");
    traceMessage("OKU::RootWidget", TRACE_DEBUG, "redrawn");
    traceMessage("OKU::Sizer", TRACE_ERROR, "%s", std::string(3000, 'x').c_str());
    const std::string cut = "[OKU::Sizer]: " + std::string(1023, 'x');
    EXPECT_EQ(
        (Lines{"[OKU::Sizer]: broken 1", "[OKU::Sizer]: odd size", "[OKU::Widget]: shown", cut}),
        entries(readLog("a.log")));
    EXPECT_EQ((Lines{"[OKU::Sizer]: broken 1", "[OKU::RootWidget]: redrawn", cut}),
              entries(readLog("b.log")));

    m_dir.write("append.log", "earlier\n");
    m_dir.write("rewrite.log", "earlier\n");
    ASSERT_TRUE(makeDir(m_dir / "logs"));
    setenv("OKU_TRACEPATHDEFAULT", (m_dir / "logs").c_str(), 1);
    ASSERT_TRUE(traceInit(writeConfig(fileOutput("two.log", "maxBytes='100' backups='2'") +
                                      fileOutput("none.log", "maxBytes='100'") +
                                      fileOutput("three.log", "maxBytes='100' backups='3'") +
                                      fileOutput("append.log", "append='true'") +
                                      fileOutput("rewrite.log", "append='0'") +
                                      "<output filename='plain.log'/>")));
    // Every message is longer than 100 bytes, so each one after the first
    // rotates the files: four messages make three rotations.
    const std::string padding(100, '.');
    Lines all;
    for (int i = 1; i <= 4; ++i) {
        traceMessage("OKU::Test", TRACE_INFO, "message %d %s", i, padding.c_str());
        all.push_back("[OKU::Test]: message " + std::to_string(i) + " " + padding);
    }
    const std::pair<std::string, int> files[] = {
        {"two.log", 4},     {"two.log.0", 3},   {"two.log.1", 2},   {"three.log", 4},
        {"three.log.0", 3}, {"three.log.1", 2}, {"three.log.2", 1}, {"none.log", 4}};
    for (const auto& [name, number] : files)
        EXPECT_EQ(Lines{all[number - 1]}, entries(readLog(name))) << name;
    EXPECT_FALSE(pathExists(m_dir / "two.log.2") || pathExists(m_dir / "none.log.0"));
    EXPECT_EQ(all, entries(readLog("rewrite.log")));
    EXPECT_EQ(all, entries(readLog("logs/plain.log")));
    const std::string appended = readLog("append.log");
    ASSERT_EQ(0u, appended.find("earlier\n"));
    EXPECT_EQ(all, entries(appended.substr(8)));
}

TEST_F(TraceTest, BadConfigurationsAreReportedAndFallBackToStandardError)
{
    // A configuration, or the name of a missing one, and the warning it gives.
    const std::pair<std::string, std::string> cases[] = {
        {m_dir / "absent.xml", ""},
        {"", ""},
        {"<output type='stderr' defaultlimit='loud'/>", "unknown trace limit 'loud'"},
        {"<output type='stderr'><category name='OKU::A' limit='Debug'/></output>", "unknown trace limit 'Debug'"},
        {"<output type='stderr' backups='many'/>", "Wrong type of attribute backups in <output>"},
        {"<output type='stderr'>", "mismatched tag at line 2"},
    };
    for (const auto& [config, warning] : cases) {
        setenv("OKU_TRACECONFIG", config[0] == '<' ? writeConfig(config).c_str() : config.c_str(),
               1);
        testing::internal::CaptureStderr();
        EXPECT_TRUE(traceInit(TRACE_WARNING));
        EXPECT_EQ(TRACE_WARNING, g_traceGlobalLimit);
        traceMessage("OKU::Test", TRACE_WARNING, "still traced");
        traceMessage("OKU::Test", TRACE_INFO, "filtered");
        Lines expected{"[OKU::Test]: still traced"};
        if (!warning.empty())
            expected.insert(expected.begin(),
                            "[OKU:trace]: Exception parsing config file: " + warning);
        EXPECT_EQ(expected, entries(testing::internal::GetCapturedStderr()));
    }
    EXPECT_FALSE(traceInit(m_dir / "absent.xml"));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(traceInit(writeConfig("<output defaultlimit='loud'/>")));
    EXPECT_EQ(Lines{"[OKU:trace]: Exception parsing config file: unknown trace limit 'loud'"},
              entries(testing::internal::GetCapturedStderr()));
    EXPECT_EQ(0, g_traceGlobalLimit);
    // Outputs that cannot be used, a path default that is no directory and a
    // default level that is no level name are reported and passed over.
    const std::string notDirectory = m_dir / "traceconfig.xml";
    setenv("OKU_TRACEPATHDEFAULT", notDirectory.c_str(), 1);
    setenv("OKU_TRACEDEFAULT", "chatty", 1);
    WorkingDirectory cwd(m_dir.path());
    testing::internal::CaptureStderr();
    ASSERT_TRUE(traceInit(writeConfig("<output type='socket' defaultlimit='silly'/>" +
                                      fileOutput("missing/x.log", "defaultlimit='debug'") +
                                      "<output filename='here.log'/>")));
    EXPECT_EQ(TRACE_DEBUG, g_traceGlobalLimit);
    traceMessage("OKU::Test", TRACE_INFO, "here");
    traceInitStderr(TRACE_WARNING);
    EXPECT_EQ(TRACE_WARNING, g_traceGlobalLimit);
    EXPECT_EQ((Lines{"[OKU:trace]: Unsupported output type: socket",
                     "[OKU:trace]: Cannot open '" + m_dir / "missing/x.log" + "' for writing",
                     "[OKU:trace]: OKU_TRACEPATHDEFAULT\"=" + notDirectory +
                         "\" is not a valid directory, using current directory",
                     "[OKU:trace]: unknown trace limit 'chatty'"}),
              entries(testing::internal::GetCapturedStderr()));
    EXPECT_EQ(Lines{"[OKU::Test]: here"}, entries(readLog("here.log")));
    // A valid default level overrides the program's.
    setenv("OKU_TRACEDEFAULT", "debug", 1);
    traceInitStderr(TRACE_ERROR);
    EXPECT_EQ(TRACE_DEBUG, g_traceGlobalLimit);
}

// A configuration that is no regular file or too large is taken for a
// missing one: nothing changes and nothing is said.
TEST_F(TraceTest, ConfigurationThatIsNoFileOrTooLargeIsNotRead)
{
    for (const std::string& path : makeHostileFiles(m_dir, c_maxTraceConfigBytes)) {
        EXPECT_TRUE(refusedQuickly([&] {
            testing::internal::CaptureStderr();
            const bool loaded = traceInit(path);
            return loaded || !testing::internal::GetCapturedStderr().empty();
        })) << path;
    }
    // The largest configuration loads, one byte more is refused.
    const std::string config = writeConfig("<output type='stderr' defaultlimit='debug'/>");
    std::string text = m_dir.read("traceconfig.xml");
    text.resize(c_maxTraceConfigBytes, ' ');
    m_dir.write("traceconfig.xml", text);
    ASSERT_TRUE(traceInit(config));
    EXPECT_EQ(TRACE_DEBUG, g_traceGlobalLimit);
    m_dir.write("traceconfig.xml", text + " ");
    EXPECT_FALSE(traceInit(config));
    EXPECT_EQ(TRACE_DEBUG, g_traceGlobalLimit);
}

TEST(Backtrace, LinesAreDemangled)
{
    EXPECT_EQ(
        "[bt]: (3) ./lifeboat : OKU::Widget::draw(OKU::Painter&)+0x1c [0x4012f0]\n",
        formatBacktraceLine(3, "./lifeboat(_ZN3OKU6Widget4drawERNS_7PainterE+0x1c) [0x4012f0]"));
    EXPECT_EQ("[bt]: (4) ./lifeboat : not_mangled+0x8 [0x10]\n",
              formatBacktraceLine(4, "./lifeboat(not_mangled+0x8) [0x10]"));
    EXPECT_EQ("[bt]: (5) ./lifeboat [0x4012f0]\n", formatBacktraceLine(5, "./lifeboat [0x4012f0]"));
}

TEST_F(TraceTest, LinesOfSeveralThreadsStayWhole)
{
    ASSERT_TRUE(traceInit(writeConfig(fileOutput("threads.log"))));
    const int threadCount = 4, lineCount = 2000;
    const std::string padding(200, '#');
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([t, &padding] {
            for (int i = 0; i < lineCount; ++i)
                traceMessage("OKU::Test", TRACE_INFO, "%d %d %s", t, i, padding.c_str());
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    std::vector<int> next(threadCount, 0);
    for (const std::string& entry : entries(readLog("threads.log"))) {
        int t = -1, i = -1;
        char rest[256] = {};
        ASSERT_EQ(3, sscanf(entry.c_str(), "[OKU::Test]: %d %d %255s", &t, &i, rest)) << entry;
        ASSERT_TRUE(t >= 0 && t < threadCount) << entry;
        EXPECT_EQ(next[t], i);
        EXPECT_EQ(padding, rest);
        next[t] = i + 1;
    }
    EXPECT_EQ(std::vector<int>(threadCount, lineCount), next);
}

} // namespace

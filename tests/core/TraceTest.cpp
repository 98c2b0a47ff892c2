#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/Backtrace.h"
#include "core/Paths.h"
#include "core/Trace.h"
#include "core/TempDir.h"

using namespace OKU;

namespace {

const char* const c_envNames[] = {"OKU_TRACECONFIG", "OKU_TRACEDEFAULT", "OKU_TRACEPATHDEFAULT"};

// The way toolkit classes trace: the cheap global test first, then the writer.
void traceMessage(const char* category, TraceLevel level, const char* format, ...)
{
    if (level > g_traceGlobalLimit)
        return;
    va_list args;
    va_start(args, format);
    trace__internal(category, level, format, args, false);
    va_end(args);
}

void traceWithBacktrace(const char* category, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    trace__internal(category, TRACE_ERROR, format, args, true);
    va_end(args);
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

// "{thread} YYYY-MM-DD hh:mm:ss.mmm [category]: message"
const std::regex c_linePattern(
    R"(\{[0-9a-f]+\} \d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[([^\]]*)\]: (.*))");

// The messages of the trace lines in text, each prefixed by its category.
std::vector<std::string> messages(const std::string& text)
{
    std::vector<std::string> result;
    for (const std::string& line : lines(text)) {
        std::smatch match;
        EXPECT_TRUE(std::regex_match(line, match, c_linePattern)) << line;
        result.push_back(match[1].str() + " " + match[2].str());
    }
    return result;
}

// Sets the trace environment per test and restores it afterwards; the
// outputs are dropped again so that no test sees another test's files.
class TraceTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : c_envNames) {
            const char* value = getenv(name);
            if (value != nullptr)
                m_savedEnv[name] = value;
            unsetenv(name);
        }
    }

    void TearDown() override
    {
        m_dir.write("none.xml", "<traceconfig/>");
        EXPECT_TRUE(traceInit(m_dir / "none.xml"));
        for (const char* name : c_envNames) {
            const auto saved = m_savedEnv.find(name);
            if (saved == m_savedEnv.end())
                unsetenv(name);
            else
                setenv(name, saved->second.c_str(), 1);
        }
    }

    std::string writeConfig(const std::string& outputs)
    {
        m_dir.write("traceconfig.xml", "<traceconfig>\n" + outputs + "</traceconfig>\n");
        return m_dir / "traceconfig.xml";
    }

    std::string readLog(const std::string& name)
    {
        traceFlush();
        return m_dir.read(name);
    }

    TempDir m_dir;

private:
    std::map<std::string, std::string> m_savedEnv;
};

TEST_F(TraceTest, FileOutputsApplyDefaultAndCategoryLimits)
{
    const std::string config = writeConfig(
        "<output filename='" + m_dir / "a.log" + "' defaultlimit='warning'>"
        "  <category name='OKU::Widget' limit='info'/>"
        "  <category name='OKU::Widget' limit='debug'/>"
        "</output>"
        "<output type='file' filename='" + m_dir / "b.log" + "' defaultlimit='error' flush='yes'>"
        "  <category name='OKU::RootWidget' limit='silly'/>"
        "</output>");
    ASSERT_TRUE(traceInit(config));
    EXPECT_EQ(TRACE_SILLY, g_traceGlobalLimit);
    EXPECT_TRUE(traceTest__internal("OKU::RootWidget", TRACE_SILLY));
    EXPECT_TRUE(traceTest__internal("OKU::Widget", TRACE_DEBUG));
    EXPECT_FALSE(traceTest__internal("OKU::Widget", TRACE_FUNCTION));
    EXPECT_FALSE(traceTest__internal("OKU::Sizer", TRACE_INFO));

    traceMessage("OKU::Sizer", TRACE_ERROR, "broken %d", 1);
    traceMessage("OKU::Sizer", TRACE_WARNING, "odd %s", "size");
    traceMessage("OKU::Sizer", TRACE_INFO, "sized");
    traceMessage("OKU::Widget", TRACE_DEBUG, "shown");
    traceMessage("OKU::Widget", TRACE_FUNCTION, "entered");
    traceMessage("OKU::RootWidget", TRACE_DEBUG, "redrawn");
    traceMessage("OKU::Sizer", TRACE_ERROR, "%s", std::string(3000, 'x').c_str());

    const std::string cut = "OKU::Sizer " + std::string(1023, 'x');
    EXPECT_EQ((std::vector<std::string>{"OKU::Sizer broken 1", "OKU::Sizer odd size",
                                        "OKU::Widget shown", cut}),
              messages(readLog("a.log")));
    EXPECT_EQ((std::vector<std::string>{"OKU::Sizer broken 1", "OKU::RootWidget redrawn", cut}),
              messages(readLog("b.log")));
    EXPECT_EQ(std::string::npos, readLog("a.log").find('\033'));
}

TEST_F(TraceTest, RotationKeepsTheNewestBackups)
{
    const std::string log = m_dir / "rotated.log";
    ASSERT_TRUE(traceInit(writeConfig("<output filename='" + log +
                                      "' maxBytes='100' backups='2'/>"
                                      "<output filename='" + m_dir / "single.log" +
                                      "' maxBytes='100'/>"
                                      "<output filename='" + m_dir / "three.log" +
                                      "' maxBytes='100' backups='3'/>")));
    // Every message is longer than 100 bytes, so each one after the first
    // rotates the files: four messages make three rotations.
    const std::string padding(100, '.');
    for (int i = 1; i <= 4; ++i)
        traceMessage("OKU::Test", TRACE_INFO, "message %d %s", i, padding.c_str());

    const auto message = [&padding](int i) {
        return std::vector<std::string>{"OKU::Test message " + std::to_string(i) + " " + padding};
    };
    EXPECT_EQ(message(4), messages(readLog("rotated.log")));
    EXPECT_EQ(message(3), messages(readLog("rotated.log.0")));
    EXPECT_EQ(message(2), messages(readLog("rotated.log.1")));
    EXPECT_FALSE(pathExists(log + ".2"));

    EXPECT_EQ(message(3), messages(readLog("three.log.0")));
    EXPECT_EQ(message(2), messages(readLog("three.log.1")));
    EXPECT_EQ(message(1), messages(readLog("three.log.2")));

    // Without backups the full file is dropped.
    EXPECT_EQ(message(4), messages(readLog("single.log")));
    EXPECT_FALSE(pathExists(m_dir / "single.log.0"));
}

TEST_F(TraceTest, AppendKeepsAndRewriteDropsEarlierText)
{
    m_dir.write("append.log", "earlier\n");
    m_dir.write("rewrite.log", "earlier\n");
    ASSERT_TRUE(traceInit(
        writeConfig("<output filename='" + m_dir / "append.log" + "' append='true'/>"
                    "<output filename='" + m_dir / "rewrite.log" + "' append='0'/>")));
    traceMessage("OKU::Test", TRACE_INFO, "now");
    const std::vector<std::string> appended = lines(readLog("append.log"));
    ASSERT_EQ(2u, appended.size());
    EXPECT_EQ("earlier", appended[0]);
    EXPECT_EQ(std::vector<std::string>{"OKU::Test now"}, messages(appended[1]));
    EXPECT_EQ(std::vector<std::string>{"OKU::Test now"}, messages(readLog("rewrite.log")));
}

TEST_F(TraceTest, BadConfigurationsFallBackToStandardError)
{
    struct Case {
        std::string outputs;
        std::string warning;
    };
    const Case cases[] = {
        {"<output type='stderr' defaultlimit='loud'/>", "unknown trace limit 'loud'"},
        {"<output type='stderr'><category name='OKU::A' limit='Debug'/></output>",
         "unknown trace limit 'Debug'"},
        {"<output type='stderr' backups='many'/>", "Wrong type of attribute backups in <output>"},
        {"<output type='stderr' flush='maybe'/>", "Wrong type of attribute flush in <output>"},
        {"<output type='stderr'>", "mismatched tag"},
    };
    for (const Case& c : cases) {
        setenv("OKU_TRACECONFIG", writeConfig(c.outputs).c_str(), 1);
        testing::internal::CaptureStderr();
        EXPECT_TRUE(traceInit(TRACE_WARNING));
        EXPECT_EQ(TRACE_WARNING, g_traceGlobalLimit);
        traceMessage("OKU::Test", TRACE_WARNING, "still traced");
        traceMessage("OKU::Test", TRACE_INFO, "filtered");
        const std::vector<std::string> output = lines(testing::internal::GetCapturedStderr());
        ASSERT_EQ(2u, output.size()) << c.outputs;
        EXPECT_TRUE(std::regex_match(
            output[0], std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[OKU:trace\]: )"
                                  "Exception parsing config file: .*")))
            << output[0];
        EXPECT_NE(std::string::npos, output[0].find(c.warning)) << output[0];
        EXPECT_EQ(std::vector<std::string>{"OKU::Test still traced"}, messages(output[1]));
    }
    testing::internal::CaptureStderr();
    EXPECT_FALSE(traceInit(writeConfig("<output defaultlimit='loud'/>")));
    EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find("'loud'"));
    EXPECT_EQ(0, g_traceGlobalLimit);
}

TEST_F(TraceTest, UnusableOutputsAreReportedAndSkipped)
{
    testing::internal::CaptureStderr();
    ASSERT_TRUE(traceInit(writeConfig("<output type='socket' defaultlimit='silly'/>"
                                      "<output filename='" + m_dir / "missing/x.log" +
                                      "' defaultlimit='debug'/>")));
    EXPECT_EQ(TRACE_DEBUG, g_traceGlobalLimit);
    traceMessage("OKU::Test", TRACE_ERROR, "goes nowhere");
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, warnings.find(" [OKU:trace]: Unsupported output type: socket\n"));
    EXPECT_NE(std::string::npos, warnings.find(" [OKU:trace]: Cannot open '" +
                                               m_dir / "missing/x.log" + "' for writing\n"));
    EXPECT_EQ(2u, lines(warnings).size());
}

TEST_F(TraceTest, MissingOrSkippedConfigurationUsesTheFallbackLevel)
{
    const std::string configs[] = {m_dir / "absent.xml", ""};
    for (const std::string& config : configs) {
        setenv("OKU_TRACECONFIG", config.c_str(), 1);
        testing::internal::CaptureStderr();
        EXPECT_TRUE(traceInit(TRACE_WARNING));
        traceMessage("OKU::Test", TRACE_ERROR, "error");
        traceMessage("OKU::Test", TRACE_WARNING, "warning");
        traceMessage("OKU::Test", TRACE_INFO, "info");
        EXPECT_EQ((std::vector<std::string>{"OKU::Test error", "OKU::Test warning"}),
                  messages(testing::internal::GetCapturedStderr()));
    }
    EXPECT_FALSE(traceInit(m_dir / "absent.xml"));
}

TEST_F(TraceTest, TraceDefaultOverridesTheProgramsLevel)
{
    setenv("OKU_TRACEDEFAULT", "debug", 1);
    traceInitStderr(TRACE_ERROR);
    EXPECT_EQ(TRACE_DEBUG, g_traceGlobalLimit);

    setenv("OKU_TRACEDEFAULT", "", 1);
    traceInitStderr(TRACE_INFO);
    EXPECT_EQ(TRACE_INFO, g_traceGlobalLimit);

    setenv("OKU_TRACEDEFAULT", "chatty", 1);
    testing::internal::CaptureStderr();
    traceInitStderr(TRACE_WARNING);
    EXPECT_EQ(TRACE_WARNING, g_traceGlobalLimit);
    EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find(
                                     " [OKU:trace]: unknown trace limit 'chatty'\n"));
}

TEST_F(TraceTest, PathDefaultHoldsFilesWithoutDirectory)
{
    ASSERT_TRUE(makeDir(m_dir / "logs"));
    setenv("OKU_TRACEPATHDEFAULT", (m_dir / "logs").c_str(), 1);
    ASSERT_TRUE(traceInit(writeConfig("<output filename='plain.log'/>"
                                      "<output filename='" + m_dir / "placed.log" + "'/>")));
    traceMessage("OKU::Test", TRACE_INFO, "kept");
    EXPECT_EQ(std::vector<std::string>{"OKU::Test kept"}, messages(readLog("logs/plain.log")));
    EXPECT_EQ(std::vector<std::string>{"OKU::Test kept"}, messages(readLog("placed.log")));

    const std::string notDirectory = m_dir / "placed.log";
    setenv("OKU_TRACEPATHDEFAULT", notDirectory.c_str(), 1);
    WorkingDirectory cwd(m_dir.path());
    testing::internal::CaptureStderr();
    ASSERT_TRUE(traceInit(writeConfig("<output filename='here.log'/>")));
    EXPECT_NE(std::string::npos,
              testing::internal::GetCapturedStderr().find(
                  " [OKU:trace]: OKU_TRACEPATHDEFAULT\"=" + notDirectory +
                  "\" is not a valid directory, using current directory\n"));
    traceMessage("OKU::Test", TRACE_INFO, "here");
    EXPECT_EQ(std::vector<std::string>{"OKU::Test here"}, messages(readLog("here.log")));
}

TEST_F(TraceTest, TerminalsGetColouredCategories)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_LE(0, master);
    ASSERT_EQ(0, grantpt(master));
    ASSERT_EQ(0, unlockpt(master));
    ASSERT_TRUE(traceInit(writeConfig(std::string("<output filename='") + ptsname(master) +
                                      "' defaultlimit='silly' flush='on'/>")));
    const char* const colors[] = {"\033[41m\033[1;37m", "\033[1;31m", "\033[1;34m",
                                  "\033[35m", "\033[32m", ""};
    for (int level = TRACE_ERROR; level <= TRACE_SILLY; ++level)
        traceMessage("OKU::Test", static_cast<TraceLevel>(level), "%d", level);

    const std::string last = "[OKU::Test\033[0m]: 5";
    std::string text;
    pollfd readable = {master, POLLIN, 0};
    // The terminal hands the text on asynchronously; the time-out only guards
    // against a hang when something is missing.
    while (text.find(last) == std::string::npos && poll(&readable, 1, 10000) == 1) {
        char buffer[1024];
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, n);
    }
    close(master);
    for (int level = TRACE_ERROR; level <= TRACE_SILLY; ++level) {
        const std::string coloured =
            std::string("[") + colors[level] + "OKU::Test\033[0m]: " + std::to_string(level);
        EXPECT_NE(std::string::npos, text.find(coloured)) << coloured;
    }
}

TEST_F(TraceTest, BacktraceFollowsTheMessage)
{
    ASSERT_TRUE(traceInit(writeConfig("<output filename='" + m_dir / "bt.log" + "'/>")));
    traceWithBacktrace("OKU::fatal_error", "FATAL ERROR: %s", "gone");
    const std::vector<std::string> logged = lines(readLog("bt.log"));
    ASSERT_LE(2u, logged.size());
    EXPECT_EQ(std::vector<std::string>{"OKU::fatal_error FATAL ERROR: gone"}, messages(logged[0]));
    for (size_t i = 1; i < logged.size(); ++i)
        EXPECT_EQ(0u, logged[i].find("[bt]: (" + std::to_string(i + 1) + ") ")) << logged[i];
    EXPECT_LE(logged.size(), 9u);

    EXPECT_EQ("[bt]: (3) ./lifeboat : OKU::Widget::draw(OKU::Painter&)+0x1c [0x4012f0]\n",
              formatBacktraceLine(3, "./lifeboat(_ZN3OKU6Widget4drawERNS_7PainterE+0x1c) "
                                     "[0x4012f0]"));
    EXPECT_EQ("[bt]: (4) ./lifeboat : not_mangled+0x8 [0x10]\n",
              formatBacktraceLine(4, "./lifeboat(not_mangled+0x8) [0x10]"));
    EXPECT_EQ("[bt]: (5) ./lifeboat [0x4012f0]\n", formatBacktraceLine(5, "./lifeboat [0x4012f0]"));
}

TEST_F(TraceTest, LinesOfSeveralThreadsStayWhole)
{
    ASSERT_TRUE(traceInit(writeConfig("<output filename='" + m_dir / "threads.log" + "'/>")));
    const int threadCount = 4;
    const int lineCount = 2000;
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
    for (const std::string& message : messages(readLog("threads.log"))) {
        int t = -1;
        int i = -1;
        char rest[256] = {};
        ASSERT_EQ(3, sscanf(message.c_str(), "OKU::Test %d %d %255s", &t, &i, rest)) << message;
        ASSERT_TRUE(t >= 0 && t < threadCount) << message;
        EXPECT_EQ(next[t], i);
        EXPECT_EQ(padding, rest);
        next[t] = i + 1;
    }
    EXPECT_EQ(std::vector<int>(threadCount, lineCount), next);
}

} // namespace

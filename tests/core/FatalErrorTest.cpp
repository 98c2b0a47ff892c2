#include "core/FatalError.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <gtest/gtest.h>

#include "core/Trace.h"

using namespace OKU;

TEST(FatalErrorTest, HandlerGetsTheCutMessageAndExitsWithOneOtherwiseTraceAndAbort)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string longText(3000, 'x');
    const auto handled = [&longText] {
        setFatalErrorHandler(
            [](const char* message) { fprintf(stderr, "%zu %s\n", strlen(message), message); });
        fatalError("value %d of %s%s", 42, "answer", longText.c_str());
    };
    EXPECT_EXIT(handled(), testing::ExitedWithCode(1), "1023 value 42 of answerxxx");
    const auto unhandled = [] {
        setFatalErrorHandler(nullptr);
        traceInitStderr(TRACE_ERROR);
        fatalError("boom %d", 7);
    };
    EXPECT_EXIT(unhandled(), testing::KilledBySignal(SIGABRT),
                "FATAL ERROR: boom 7\n\\[bt\\]: \\(2\\) ");
}

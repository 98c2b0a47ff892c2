#include "core/FatalError.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "core/Trace.h"

using namespace OKU;

namespace {

void printMessage(const char* message)
{
    fprintf(stderr, "handled: %s\n", message);
}

void printLength(const char* message)
{
    fprintf(stderr, "length %zu\n", strlen(message));
}

} // namespace

TEST(FatalErrorTest, HandlerIsReplaceable)
{
    const FatalErrorHandler previous = getFatalErrorHandler();
    setFatalErrorHandler(printMessage);
    EXPECT_EQ(&printMessage, getFatalErrorHandler());
    setFatalErrorHandler(previous);
    EXPECT_EQ(previous, getFatalErrorHandler());
}

TEST(FatalErrorTest, HandlerGetsFormattedMessageAndProcessExitsWithOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setFatalErrorHandler(printMessage);
            fatalError("value %d of %s", 42, "answer");
        },
        ::testing::ExitedWithCode(1), "handled: value 42 of answer");
}

TEST(FatalErrorTest, LongMessagesAreCut)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string longText(3000, 'x');
    EXPECT_EXIT(
        {
            setFatalErrorHandler(printLength);
            fatalError("%s", longText.c_str());
        },
        ::testing::ExitedWithCode(1), "length 1023");
}

TEST(FatalErrorTest, WithoutHandlerTracesAndAborts)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setFatalErrorHandler(nullptr);
            traceInitStderr(TRACE_ERROR);
            fatalError("boom %d", 7);
        },
        ::testing::KilledBySignal(SIGABRT), "FATAL ERROR: boom 7");
}

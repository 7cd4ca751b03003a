#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/CommandLine.h"
#include "app/SingleInstance.h"

namespace qv {
namespace {

struct ArgumentCase {
    const wchar_t* commandLine;
    const wchar_t* first;
};

class FirstArgumentTest : public testing::TestWithParam<ArgumentCase> {};

TEST_P(FirstArgumentTest, FindsTheFirstArgument) {
    EXPECT_EQ(FirstArgument(GetParam().commandLine), GetParam().first);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FirstArgumentTest,
    testing::Values(ArgumentCase{L"", L""}, ArgumentCase{L"Quorvane.exe", L""},
                    ArgumentCase{L"Quorvane.exe   ", L""},
                    ArgumentCase{L"\"C:\\Program Files\\Q\\Quorvane.exe\"", L""},
                    ArgumentCase{L"Quorvane.exe x", L"x"},
                    ArgumentCase{L"Quorvane.exe \"\"", L""},  // empty quoted: no argument
                    ArgumentCase{L"Quorvane.exe \"\" x", L""},
                    ArgumentCase{L"\"C:\\a b\\Quorvane.exe\" /silent", L"/silent"},
                    ArgumentCase{L"Quorvane.exe \"a b\" c", L"a b"},
                    ArgumentCase{L"Quorvane.exe 下载", L"下载"}));

// A name of this test's own, so that a running program is not disturbed.
std::wstring TestMutexName() {
    return L"QuorvaneStartupTest_" + std::to_wstring(GetCurrentProcessId());
}

TEST(SingleInstanceGuardTest, SecondGuardSeesTheFirstUntilItEnds) {
    const std::wstring name = TestMutexName();
    {
        TSingleInstanceGuard first(name.c_str());
        EXPECT_FALSE(first.AnotherInstanceRuns());
        TSingleInstanceGuard second(name.c_str());
        EXPECT_TRUE(second.AnotherInstanceRuns());
    }
    TSingleInstanceGuard afterwards(name.c_str());
    EXPECT_FALSE(afterwards.AnotherInstanceRuns());
}

TEST(SingleInstanceGuardTest, AnUnusableNameRunsUnguarded) {
    // A backslash is not allowed in a local object name: creation fails with another error.
    TSingleInstanceGuard guard(L"No\\Such\\Namespace\\Quorvane");
    EXPECT_FALSE(guard.AnotherInstanceRuns());
}

TEST(SingleInstanceGuardTest, IsNotFooledByAnEarlierErrorCode) {
    const std::wstring name = TestMutexName() + L"_stale";
    SetLastError(ERROR_ALREADY_EXISTS);
    TSingleInstanceGuard guard(name.c_str());
    EXPECT_FALSE(guard.AnotherInstanceRuns());
}

}  // namespace
}  // namespace qv

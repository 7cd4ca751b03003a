#include <gtest/gtest.h>

#include "ProgressJson.h"
#include "QfetchOptions.h"
#include "common/StringConv.h"

namespace qv::qfetch {
namespace {

TEST(QfetchOptionsTest, AcceptsEveryOptionAndTwoPositionals) {
    const ParseResult parsed =
        ParseArguments({L"--no-resume", L"--retries", L"0", L"--timeout", L"1500", L"--buffer",
                        L"4096", L"--max-size", L"5368709121", L"--header", L"X-A: 1", L"--header",
                        L"X-B:2", L"--cancel-after", L"3", L"http://h/下载.exe", L"下载.exe"});
    ASSERT_TRUE(parsed.options) << WideToUtf8(parsed.error);
    const Options& o = *parsed.options;
    EXPECT_FALSE(o.resume);
    EXPECT_EQ(o.retries, 0);
    EXPECT_EQ(o.timeoutMs, 1500);
    EXPECT_EQ(o.bufferBytes, 4096);
    EXPECT_EQ(o.maxSize, 5368709121);
    EXPECT_EQ(o.headers, (std::vector<std::wstring>{L"X-A: 1", L"X-B:2"}));
    EXPECT_EQ(o.cancelAfter, 3);
    EXPECT_EQ(o.url, L"http://h/下载.exe");
    EXPECT_EQ(o.file, L"下载.exe");
}

TEST(QfetchOptionsTest, DefaultsResumeAndLeaveTheEngineSettingsAlone) {
    const ParseResult parsed = ParseArguments({L"http://h/x", L"x"});
    ASSERT_TRUE(parsed.options);
    EXPECT_TRUE(parsed.options->resume);
    EXPECT_FALSE(parsed.options->retries);
    EXPECT_FALSE(parsed.options->timeoutMs);
    EXPECT_FALSE(parsed.options->bufferBytes);
    EXPECT_FALSE(parsed.options->maxSize);
    EXPECT_EQ(parsed.options->cancelAfter, 0);
    // "--" ends the options: what follows is positional even if it looks like one.
    const ParseResult dashed = ParseArguments({L"--", L"--odd-url", L"f"});
    ASSERT_TRUE(dashed.options);
    EXPECT_EQ(dashed.options->url, L"--odd-url");
}

TEST(QfetchOptionsTest, RefusesBadArgumentsWithAReason) {
    const struct {
        std::vector<std::wstring> args;
        const wchar_t* mentions;
    } cases[] = {
        {{}, L"URL"},
        {{L"http://h/x"}, L"URL"},
        {{L"a", L"b", L"c"}, L"3"},
        {{L"--retries", L"x", L"a", L"b"}, L"--retries"},
        {{L"--retries", L"-1", L"a", L"b"}, L"--retries"},
        {{L"--retries", L"2147483648", L"a", L"b"}, L"--retries"},
        {{L"--timeout", L"", L"a", L"b"}, L"--timeout"},
        {{L"--buffer", L"0", L"a", L"b"}, L"--buffer"},
        {{L"--buffer", L"1073741825", L"a", L"b"}, L"--buffer"},
        {{L"--max-size", L"99999999999999999999", L"a", L"b"}, L"--max-size"},
        {{L"--cancel-after", L"0", L"a", L"b"}, L"--cancel-after"},
        {{L"--header", L"NoColon", L"a", L"b"}, L"--header"},
        {{L"--header", L": empty name", L"a", L"b"}, L"--header"},
        {{L"--header", L"X: a\r\nY: b", L"a", L"b"}, L"--header"},
        {{L"a", L"b", L"--header"}, L"--header"},
        {{L"--resume", L"a", L"b"}, L"--resume"},
        {{L"a", L""}, L"FILE"},
    };
    for (const auto& c : cases) {
        const ParseResult parsed = ParseArguments(c.args);
        EXPECT_FALSE(parsed.options) << c.args.size();
        EXPECT_NE(parsed.error.find(c.mentions), std::wstring::npos) << WideToUtf8(parsed.error);
    }
}

TEST(ProgressJsonTest, WritesEveryFieldWithTextAsUtf8) {
    THttpDownloadInfo info;
    info.Status = dsFail;
    info.Position = 5368709121;
    info.Size = -1;
    info.Speed = 1536;
    info.SpeedText.Assign(L"1.50KB/S");
    info.RemainTime = 86400000;
    info.RemainTimeText.Assign(L"1天 ");
    info.Tag = 7;
    info.ResultCode = -1;
    info.Message = L"删除[C:\\下载\\\"x\".exe]失败:\r\n\t";
    EXPECT_EQ(ReportToJson(info),
              WideToUtf8(L"{\"status\": \"fail\", \"position\": 5368709121, \"size\": -1, "
                         L"\"speed\": 1536, \"remain\": 86400000, \"speedText\": \"1.50KB/S\", "
                         L"\"remainText\": \"1天 \", \"tag\": 7, \"result\": -1, \"message\": "
                         L"\"删除[C:\\\\下载\\\\\\\"x\\\".exe]失败:\\u000d\\u000a\\u0009\"}"));
}

TEST(ProgressJsonTest, NamesEveryStatus) {
    const struct {
        THttpDownloadStatus status;
        const char* name;
    } cases[] = {{dsStart, "start"},
                 {dsProgress, "progress"},
                 {dsFinish, "finish"},
                 {dsFail, "fail"},
                 {dsError, "error"}};
    for (const auto& c : cases) EXPECT_STREQ(StatusName(c.status), c.name);
}

}  // namespace
}  // namespace qv::qfetch

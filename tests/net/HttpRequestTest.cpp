// GET and POST operations over real sockets to the local mirror.
#include <gtest/gtest.h>

#include "MirrorTestBase.h"
#include "NetTestSupport.h"
#include "net/HttpClient.h"

namespace qv {
namespace {

using test::HeaderValue;

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Header names of a recorded request head, in order.
std::vector<std::string> HeaderNames(const std::string& head) {
    std::vector<std::string> names;
    size_t start = head.find("\r\n");
    while (start != std::string::npos && start + 2 < head.size()) {
        start += 2;
        const size_t colon = head.find(':', start);
        const size_t end = head.find("\r\n", start);
        if (colon < end) names.push_back(head.substr(start, colon - start));
        start = end;
    }
    return names;
}

class HttpRequestTest : public test::MirrorTestBase {
protected:
    InterfacePtr<THttpClient> client_ = THttpClient::Create();
};

TEST_F(HttpRequestTest, GetDeliversTheBodyAndSendsTheFixedHeaderLines) {
    const std::string data = test::PatternBytes(70000);
    Serve(data);
    client_->SetBufferSize(4096);  // many reads into one stream
    TMemoryStream response;
    ASSERT_TRUE(client_->Get(Url(), L"", response));
    EXPECT_EQ(response.Bytes(), data);

    const std::vector<std::string> requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(StartsWith(requests[0], "GET /net/")) << requests[0];
    EXPECT_EQ(HeaderValue(requests[0], "User-Agent"),
              "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0) "
              "AppleWebKit/537.36 (KHTML, like Gecko) Chrome/30.0.1599.101 Safari/537.36");
    EXPECT_EQ(HeaderValue(requests[0], "Accept"),
              "text/html,application/xhtml+xml,application/xml,application/json;q=0.9,*/*;q=0.8");
    EXPECT_EQ(HeaderValue(requests[0], "Cache-control"), "no-cache");
    EXPECT_EQ(HeaderValue(requests[0], "Content-type"), "application/octet-stream");
    EXPECT_EQ(HeaderValue(requests[0], "Range"), "");
}

TEST_F(HttpRequestTest, CallerHeaderTextAddsOneLinePerNonEmptyTrimmedLine) {
    Serve("x");
    TMemoryStream response;
    ASSERT_TRUE(client_->Get(Url(), L"", response));
    ASSERT_TRUE(client_->Get(Url(), L"  X-First: 1  \r\n\r\n   \nX-Second: two\r", response));
    const std::vector<std::string> requests = Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(HeaderNames(requests[1]).size(), HeaderNames(requests[0]).size() + 2);
    EXPECT_EQ(HeaderValue(requests[1], "X-First"), "1");
    EXPECT_EQ(HeaderValue(requests[1], "X-Second"), "two");
}

TEST_F(HttpRequestTest, ARefusedCallerLineFailsBeforeAnythingIsSent) {
    Serve("x");
    TMemoryStream response;
    EXPECT_FALSE(client_->Get(Url(), L"X-Good: 1\nthis line has no colon\nX-Later: 2", response));
    EXPECT_EQ(response.Bytes(), WideToAnsi(L"组织请求头失败！"));
    EXPECT_TRUE(Requests().empty());
}

TEST_F(HttpRequestTest, StatusOtherThan200Or206IsSentRetryCountTimes) {
    Serve("x");
    Rule(R"("fail_first": 100, "fail_status": 404)");
    const struct {
        int32_t retries;
        size_t sends;
    } cases[] = {{3, 3}, {1, 1}, {0, 0}, {-2, 0}};
    for (const auto& c : cases) {
        ASSERT_TRUE(Mirror().Reset(Path()));
        Rule(R"("fail_first": 100, "fail_status": 404)");
        client_->SetRetryCount(c.retries);
        TMemoryStream response;
        EXPECT_FALSE(client_->Get(Url(), L"", response));
        EXPECT_TRUE(StartsWith(response.Bytes(), WideToAnsi(L"发生下载请求失败:")))
            << response.Bytes();
        EXPECT_EQ(Requests().size(), c.sends) << c.retries;
    }
}

TEST_F(HttpRequestTest, ALaterSuccessfulAttemptCounts) {
    Serve("payload");
    Rule(R"("fail_first": 2, "fail_status": 500)");
    TMemoryStream response;
    ASSERT_TRUE(client_->Get(Url(), L"", response));
    EXPECT_EQ(response.Bytes(), "payload");
    EXPECT_EQ(Requests().size(), 3u);
}

TEST_F(HttpRequestTest, PartialContentIsSuccessLike200) {
    const std::string data = test::PatternBytes(5000);
    Serve(data);
    TMemoryStream response;
    ASSERT_TRUE(client_->Get(Url(), L"Range: bytes=1000-", response));
    EXPECT_EQ(response.Bytes(), data.substr(1000));
}

TEST_F(HttpRequestTest, ABodyCutShortFailsAfterTheBytesReceived) {
    const std::string data = test::PatternBytes(300000);
    Serve(data);
    for (const char* reset : {"false", "true"}) {
        Rule(std::string(R"("drop_after": 100000, "drop_reset": )") + reset);
        TMemoryStream response;
        EXPECT_FALSE(client_->Get(Url(), L"", response)) << reset;
        const std::string failure = WideToAnsi(L"读取响应报文失败：");
        const size_t at = response.Bytes().find(failure);
        ASSERT_NE(at, std::string::npos) << reset;
        EXPECT_LE(at, 100000u);
        EXPECT_EQ(response.Bytes().substr(0, at), data.substr(0, at));
    }
}

TEST_F(HttpRequestTest, TheResponseStreamIsEmptiedFirst) {
    TMemoryStream response("old content");
    EXPECT_FALSE(client_->Get(L"https://127.0.0.1/x", L"", response));
    EXPECT_EQ(response.Bytes(), WideToAnsi(L"URL类型不是HTTP！"));
}

TEST_F(HttpRequestTest, GetTextDecodesAsAskedAndCarriesTheFailureText) {
    const std::string utf8 = WideToUtf8(L"下载完成");
    Serve(utf8);
    std::wstring text = L"old";
    ASSERT_TRUE(client_->GetText(Url(), L"", text, true));
    EXPECT_EQ(text, L"下载完成");
    ASSERT_TRUE(client_->GetText(Url(), L"", text, false));
    EXPECT_EQ(text, AnsiToWide(utf8));
    EXPECT_FALSE(client_->GetText(L"", L"", text, true));
    EXPECT_EQ(text, L"URL地址为空！");
}

TEST_F(HttpRequestTest, CheckUrlAnswersWhetherAGetSucceeds) {
    Serve("x");
    EXPECT_TRUE(client_->CheckUrl(Url()));
    EXPECT_FALSE(client_->CheckUrl(Mirror().Url(L"/net/no such file")));
}

TEST_F(HttpRequestTest, PostsSendTheirBodyAndReturnTheAnswer) {
    const std::wstring echo = Mirror().Url(L"/_echo");
    std::wstring headers;
    TMemoryStream answer;
    ASSERT_TRUE(client_->PostTextForStream(echo, L"", headers, L"abc", answer));
    EXPECT_EQ(answer.Bytes(), "abc");
    EXPECT_NE(headers.find(L"Content-Length: 3"), std::wstring::npos) << headers;

    std::wstring text;
    ASSERT_TRUE(client_->PostText(echo, L"", headers, L"下载", text, false));
    EXPECT_EQ(text, L"下载");  // sent as ANSI, answered as ANSI

    TMemoryStream body("0123456789");
    body.Seek(4);  // a stream is sent from its current position
    ASSERT_TRUE(client_->PostStreamForText(echo, L"", headers, body, text, true));
    EXPECT_EQ(text, L"456789");

    TMemoryStream raw(std::string("\0\1\2", 3));
    TMemoryStream rawAnswer;
    ASSERT_TRUE(client_->Post(echo, L"", headers, raw, rawAnswer));
    EXPECT_EQ(rawAnswer.Bytes(), std::string("\0\1\2", 3));
}

// A request body that cannot say how long it is.
class SizelessStream final : public IByteStream {
public:
    void Clear() override {}
    bool Write(const void*, size_t) override { return false; }
    int64_t Size() const override { return -1; }
    size_t Read(void*, size_t) override { return 0; }
};

TEST_F(HttpRequestTest, ABodyWithoutASizeFailsTheRequestWithItsMethodName) {
    std::wstring headers;
    SizelessStream body;
    TMemoryStream answer;
    EXPECT_FALSE(client_->Post(Mirror().Url(L"/_echo"), L"", headers, body, answer));
    EXPECT_EQ(answer.Bytes(), WideToAnsi(L"[THttpClient._HttpRequest]请求内容流不能报告其大小"));
}

}  // namespace
}  // namespace qv

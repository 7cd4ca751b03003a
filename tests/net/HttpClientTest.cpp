// Settings, copying, lifetime and the downloaded-size question of the client.
#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include "NetTestSupport.h"
#include "net/HttpClient.h"

namespace qv {
namespace {

using test::ScratchFolder;
using test::WriteWholeFile;

void ExpectDefaults(IHttpClient& client) {
    EXPECT_EQ(client.GetAgent(), L"net_tests.exe");
    EXPECT_EQ(client.GetAccessType(), atPreconfig);
    EXPECT_EQ(client.GetTimeout(), 60000);
    EXPECT_EQ(client.GetProxyServer(), L"");
    EXPECT_EQ(client.GetProxyUserName(), L"");
    EXPECT_EQ(client.GetProxyPassword(), L"");
    EXPECT_EQ(client.GetMaxSize(), 2097152000);
    EXPECT_EQ(client.GetBufferSize(), 524288);
    EXPECT_EQ(client.GetRetryCount(), 3);
    EXPECT_FALSE(client.GetAllowResume());
}

void ChangeEverySetting(IHttpClient& client) {
    client.SetAgent(L"agent");
    client.SetAccessType(atProxy);
    client.SetTimeout(5);
    client.SetProxyServer(L"proxy:8080");
    client.SetProxyUserName(L"user");
    client.SetProxyPassword(L"secret");
    client.SetMaxSize(7);
    client.SetBufferSize(9);
    client.SetRetryCount(0);
    client.SetAllowResume(true);
}

TEST(HttpClientTest, NewClientHasTheDefaults) {
    ExpectDefaults(*THttpClient::Create());
}

TEST(HttpClientTest, ResetRestoresDefaultsButKeepsHookAndLastError) {
    InterfacePtr<THttpClient> client = THttpClient::Create();
    int hookCalls = 0;
    client->SetOnBeforeDownload([&](IHttpClient*, std::wstring&, std::wstring&, int32_t&,
                                    const std::wstring&, std::wstring&, uint64_t&, uint64_t&, bool&,
                                    bool&) { ++hookCalls; });
    test::ProgressRecorder recorder;
    std::wstring noName;
    client->DownloadFile(L"http://127.0.0.1/", noName, recorder.Callback(), 0, L"GET", L"");
    ChangeEverySetting(*client);

    client->Reset();

    ExpectDefaults(*client);
    EXPECT_EQ(client->GetLastErrorText(), L"下载保存路径为空！");
    ASSERT_TRUE(client->GetOnBeforeDownload());
    std::wstring s;
    int32_t tag = 0;
    uint64_t a = 0, b = 0;
    bool r = false, h = false;
    client->GetOnBeforeDownload()(client.get(), s, s, tag, s, s, a, b, r, h);
    EXPECT_EQ(hookCalls, 1);
}

TEST(HttpClientTest, CloneCopiesEverythingAndIsIndependent) {
    InterfacePtr<THttpClient> client = THttpClient::Create();
    ChangeEverySetting(*client);
    bool hookCalled = false;
    client->SetOnBeforeDownload([&](IHttpClient*, std::wstring&, std::wstring&, int32_t&,
                                    const std::wstring&, std::wstring&, uint64_t&, uint64_t&, bool&,
                                    bool&) { hookCalled = true; });

    InterfacePtr<IHttpClient> copy = client->Clone();
    ASSERT_TRUE(copy);
    EXPECT_NE(static_cast<IHttpClient*>(client.get()), copy.get());
    EXPECT_EQ(copy->GetAgent(), L"agent");
    EXPECT_EQ(copy->GetAccessType(), atProxy);
    EXPECT_EQ(copy->GetTimeout(), 5);
    EXPECT_EQ(copy->GetProxyServer(), L"proxy:8080");
    EXPECT_EQ(copy->GetProxyUserName(), L"user");
    EXPECT_EQ(copy->GetProxyPassword(), L"secret");
    EXPECT_EQ(copy->GetMaxSize(), 7);
    EXPECT_EQ(copy->GetBufferSize(), 9);
    EXPECT_EQ(copy->GetRetryCount(), 0);
    EXPECT_TRUE(copy->GetAllowResume());
    std::wstring s;
    int32_t tag = 0;
    uint64_t a = 0, b = 0;
    bool r = false, h = false;
    copy->GetOnBeforeDownload()(copy.get(), s, s, tag, s, s, a, b, r, h);
    EXPECT_TRUE(hookCalled);

    copy->SetProxyServer(L"other:1");
    copy->Reset();
    EXPECT_EQ(client->GetProxyServer(), L"proxy:8080");
    EXPECT_EQ(client->GetAccessType(), atProxy);
    // The copy has its own count: one reference, released here.
    EXPECT_EQ(copy->AddRef(), 2u);
    EXPECT_EQ(copy->Release(), 1u);
}

TEST(HttpClientTest, QueryInterfaceAnswersItsTwoIdentifiers) {
    InterfacePtr<THttpClient> client = THttpClient::Create();
    void* object = nullptr;
    ASSERT_EQ(client->QueryInterface(IID_IHttpClient, &object), S_OK);
    EXPECT_EQ(object, static_cast<IHttpClient*>(client.get()));
    static_cast<IHttpClient*>(object)->Release();
    ASSERT_EQ(client->QueryInterface(IID_IUnknown, &object), S_OK);
    static_cast<IUnknown*>(object)->Release();
    EXPECT_EQ(client->QueryInterface(IID_IClassFactory, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
}

TEST(HttpClientTest, GetHttpClientHandsOutTheOneClientThatOutlivesItsReferences) {
    IHttpClient* first = nullptr;
    {
        InterfacePtr<IHttpClient> a = GetHttpClient();
        InterfacePtr<IHttpClient> b = GetHttpClient();
        ASSERT_TRUE(a);
        EXPECT_EQ(a.get(), b.get());
        first = a.get();
        a->SetRetryCount(42);
    }
    InterfacePtr<IHttpClient> again = GetHttpClient();
    EXPECT_EQ(again.get(), first);
    EXPECT_EQ(again->GetRetryCount(), 42);  // the same object, alive after both releases
    again->SetRetryCount(3);
}

TEST(HttpClientTest, TemporaryNameAppendsTmp) {
    InterfacePtr<THttpClient> client = THttpClient::Create();
    EXPECT_EQ(client->GetTmpFileName(L"C:\\d\\x.exe"), L"C:\\d\\x.exe.tmp");
    EXPECT_EQ(client->GetTmpFileName(L""), L".tmp");
}

TEST(HttpClientTest, DownloadedSizePrefersTheTemporaryFile) {
    ScratchFolder folder;
    InterfacePtr<THttpClient> client = THttpClient::Create();
    const std::wstring target = folder.File(L"x.exe");
    EXPECT_EQ(client->GetDownloadedSize(target), 0);
    ASSERT_TRUE(WriteWholeFile(target, std::string(100, 'a')));
    EXPECT_EQ(client->GetDownloadedSize(target), 100);
    ASSERT_TRUE(WriteWholeFile(target + L".tmp", std::string(40, 'b')));
    EXPECT_EQ(client->GetDownloadedSize(target), 40);
    ASSERT_TRUE(WriteWholeFile(target + L".tmp", ""));
    EXPECT_EQ(client->GetDownloadedSize(target), 0);  // an empty .tmp still counts as present
}

TEST(HttpClientTest, DownloadedSizeOfAFileAbove4GiBIsNotCutTo32Bits) {
    ScratchFolder folder;
    const std::wstring name = folder.File(L"big.bin");
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = 5LL * 1024 * 1024 * 1024 + 3;
    DWORD unused = 0;
    // A sparse file, so the test writes next to nothing.
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &unused, nullptr);
    ASSERT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
    EXPECT_EQ(THttpClient::Create()->GetDownloadedSize(name), size.QuadPart);
}

}  // namespace
}  // namespace qv

// Base of the tests that talk to the fixture's local mirror: each test gets its own URL path
// (named after the test) with its rule and recordings cleared.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "MirrorClient.h"
#include "common/StringConv.h"

namespace qv::test {

class MirrorTestBase : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!mirror_) mirror_ = MirrorClient::FromFixture();
    }

    void SetUp() override {
        ASSERT_TRUE(mirror_) << "the local mirror (ctest fixture \"mirror\") is not running";
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        path_ = L"/net/" + Utf8ToWide(info->test_suite_name()) + L"/" + Utf8ToWide(info->name()) +
                L"/文件（测试）.bin";
        for (wchar_t& c : path_) {
            if (c == L'\\') c = L'_';
        }
        ASSERT_TRUE(mirror_->Reset(path_));
    }

    MirrorClient& Mirror() { return *mirror_; }
    const std::wstring& Path() const { return path_; }
    std::wstring Url() const { return mirror_->Url(path_); }
    // Serves `bytes` at this test's path.
    void Serve(const std::string& bytes) { ASSERT_TRUE(MirrorClient::PutFile(path_, bytes)); }
    void Rule(const std::string& keys) { ASSERT_TRUE(mirror_->SetRule(path_, keys)); }
    std::vector<std::string> Requests() const { return mirror_->Requests(path_); }

private:
    static inline std::optional<MirrorClient> mirror_;
    std::wstring path_;
};

}  // namespace qv::test

// The program's own resources as linked into an executable: icon group, manifest, version.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "res/ArtworkIds.h"

namespace qv {
namespace {

std::wstring ProbePath() {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, length);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"app_resources_probe.exe";
}

class AppResources : public testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExW(ProbePath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << "cannot open the probe, error " << GetLastError();
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }
    std::string Resource(const wchar_t* type, const wchar_t* name) const {
        HRSRC found = FindResourceW(module_, name, type);
        if (!found) return {};
        const char* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return std::string(data, SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(AppResources, IconGroupHoldsEverySizeAtBothDepths) {
    const std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_APP));
    ASSERT_GE(group.size(), 6u);
    const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
    ASSERT_EQ(group.size(), 6 + count * sizeof(GroupIconEntry));
    std::set<std::pair<int, int>> found;  // size, bits per pixel
    for (WORD i = 0; i < count; ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
        const std::string image = Resource(RT_ICON, MAKEINTRESOURCEW(entry.id));
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER header;
        std::memcpy(&header, image.data(), sizeof header);
        EXPECT_EQ(header.biWidth, entry.width);
        EXPECT_EQ(header.biHeight, 2 * entry.height);  // colour and mask
        EXPECT_EQ(header.biBitCount, entry.bitCount);
        found.insert({entry.width, header.biBitCount});
        HICON icon = CreateIconFromResourceEx(
            reinterpret_cast<PBYTE>(const_cast<char*>(image.data())), DWORD(image.size()), TRUE,
            0x00030000, entry.width, entry.height, LR_DEFAULTCOLOR);
        EXPECT_NE(icon, nullptr) << "image " << int(entry.width) << " at " << header.biBitCount;
        if (icon) DestroyIcon(icon);
    }
    const std::set<std::pair<int, int>> expected = {{48, 8},  {32, 8},  {24, 8},  {16, 8}, {64, 32},
                                                    {48, 32}, {32, 32}, {24, 32}, {16, 32}};
    EXPECT_EQ(found, expected);
}

TEST_F(AppResources, ManifestAsksForAdministratorRightsOnly) {
    const std::string manifest = Resource(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
    EXPECT_EQ(manifest.find("dependency"), std::string::npos);
}

std::wstring VersionString(const std::vector<BYTE>& info, const wchar_t* key) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + key;
    if (!VerQueryValueW(info.data(), path.c_str(), &value, &length) || length == 0) return {};
    return std::wstring(static_cast<const wchar_t*>(value));
}

TEST_F(AppResources, VersionNamesTheProduct) {
    const std::wstring path = ProbePath();
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));
    EXPECT_EQ(VersionString(info, L"ProductName"), L"Quorvane");
    EXPECT_EQ(VersionString(info, L"FileVersion"), L"1.0.0.0");
    EXPECT_EQ(VersionString(info, L"FileDescription"), L"Quorvane 安装包下载器");
}

}  // namespace
}  // namespace qv

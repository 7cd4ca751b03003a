#include "common/ScopedHandles.h"

#include <gtest/gtest.h>

namespace {

TEST(ScopedHandleTest, KeepsLastErrorWhenStoringAFailedHandle) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    qv::ScopedFile file(CreateFileW(L"Z:\\no\\such\\folder\\file.bin", GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    const DWORD error = GetLastError();
    EXPECT_FALSE(file);
    EXPECT_TRUE(error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND) << error;
}

TEST(ScopedHandleTest, ClosesOnResetAndKeepsLastError) {
    qv::ScopedKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    HANDLE raw = event.get();
    SetLastError(1234);
    event.reset();
    EXPECT_EQ(GetLastError(), 1234u);
    EXPECT_FALSE(event);
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags));
}

TEST(ScopedHandleTest, MoveTransfersOwnershipOnce) {
    qv::ScopedKernelHandle a(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE raw = a.get();
    qv::ScopedKernelHandle b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), raw);
    qv::ScopedKernelHandle c;
    c = std::move(b);
    EXPECT_EQ(c.get(), raw);
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(raw, &flags));
}

TEST(ScopedHandleTest, GdiObjectsAreDeleted) {
    HGDIOBJ brushHandle = nullptr;
    HGDIOBJ penHandle = nullptr;
    {
        qv::ScopedBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
        qv::ScopedPen pen(CreatePen(PS_SOLID, 1, RGB(4, 5, 6)));
        ASSERT_TRUE(brush && pen);
        brushHandle = brush.get();
        penHandle = pen.get();
        ASSERT_EQ(GetObjectType(brushHandle), static_cast<DWORD>(OBJ_BRUSH));
    }
    // A deleted GDI object no longer has a type.
    EXPECT_EQ(GetObjectType(brushHandle), 0u);
    EXPECT_EQ(GetObjectType(penHandle), 0u);
}

}  // namespace

// The short texts of the progress record: speed, remaining time, and their 16-character holder.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <iterator>

#include "net/IHttpClient.h"

namespace qv {

void TShortText::Assign(std::wstring_view text) {
    length_ = static_cast<uint8_t>(std::min(text.size(), kCapacity));
    std::copy_n(text.data(), length_, text_);
}

std::wstring FormatSpeed(double BytesPerSecond) {
    if (std::isnan(BytesPerSecond) || BytesPerSecond < 0) return L"--";
    static const wchar_t* const kUnits[] = {L"KB", L"MB", L"GB", L"TB", L"PB"};
    const wchar_t* unit = L"B";
    double x = BytesPerSecond;
    for (const wchar_t* larger : kUnits) {
        if (x > 1024) {
            unit = larger;
            x /= 1024;
        }
    }
    wchar_t text[64];
    std::swprintf(text, std::size(text), L"%.2f%ls/S", x, unit);
    return text;
}

std::wstring FormatRemainTime(int64_t Milliseconds) {
    if (Milliseconds < 0) return L"--:--:--";
    const int64_t seconds = Milliseconds / 1000;
    const int64_t days = seconds / (24 * 3600);
    if (days > 999) return L"大于999天...";
    if (days >= 1) return std::to_wstring(days) + L"天 ";
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"%02d:%02d:%02d", static_cast<int>(seconds / 3600 % 24),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

}  // namespace qv

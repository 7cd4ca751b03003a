#include "app/PackageSource.h"

#include "app/MirrorHosts.h"

namespace qv {

std::wstring PackageUrl(TMirrorLine line) {
    std::wstring url(line == TMirrorLine::FirstLine ? FirstMirrorBase() : SecondMirrorBase());
    url += kPackagePath;
    return url;
}

std::wstring FileNameOfUrlPath(std::wstring_view urlPath) {
    const size_t lastSeparator = urlPath.find_last_of(L"/\\:");
    if (lastSeparator == std::wstring_view::npos) return std::wstring(urlPath);
    return std::wstring(urlPath.substr(lastSeparator + 1));
}

}  // namespace qv

// Where the package comes from: the URL of each network line and the file name taken from it.
#pragma once

#include <string>
#include <string_view>

namespace qv {

enum class TMirrorLine { FirstLine, SecondLine };

// Path of the package on both mirrors.
inline constexpr std::wstring_view kPackagePath = L"/uploads/Quorvane（湖北）（完整安装包）.exe";

std::wstring PackageUrl(TMirrorLine line);

// The last component of a URL path: the text after the last "/", "\" or ":". Empty when the path
// ends in a separator.
std::wstring FileNameOfUrlPath(std::wstring_view urlPath);

}  // namespace qv

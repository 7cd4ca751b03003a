// The base URLs (scheme, host and optional port) of the two mirror lines. They are fixed when the
// program is built: each executable is linked with its own generated definition of these two.
#pragma once

#include <string_view>

namespace qv {

std::wstring_view FirstMirrorBase();   // line "电信"
std::wstring_view SecondMirrorBase();  // line "联通"

}  // namespace qv

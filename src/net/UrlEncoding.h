// Making a URL safe for the request line: characters above 0x80 become UTF-8 percent escapes,
// everything else is left exactly as written.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// Encodes each run of characters above 0x80 with UrlEncodeRun; other characters pass unchanged.
std::wstring EncodeUrl(std::wstring_view Url);
// UTF-8 bytes (each UTF-16 unit on its own) as %xx in lower case, except ! $ ' ( ) * - . 0-9 @
// A-Z _ a-z, which pass, and the blank, which becomes "+".
std::wstring UrlEncodeRun(std::wstring_view Text);

}  // namespace qv

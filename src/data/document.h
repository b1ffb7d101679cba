#pragma once

#include <string>
#include <string_view>

namespace tervano {

// The external help file is HTML written either in UTF-8 or, like every data file, in code page
// 1250, with nothing in the file to say which. Returns its text as UTF-8: the bytes as they are
// when they are valid UTF-8 (a leading byte order mark dropped), otherwise their code page 1250
// decoding. Valid UTF-8 means what RFC 3629 allows: no overlong forms, no surrogates, nothing
// above U+10FFFF, no sequence cut short.
std::string decodeDocument(std::string_view bytes);

// True when the bytes are valid UTF-8 in the sense above.
bool isValidUtf8(std::string_view bytes);

}  // namespace tervano

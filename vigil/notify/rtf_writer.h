#pragma once
// Plain text as a rich-text (RTF) document, as the report window saves its log.
#include <string>
#include <string_view>

namespace vigil::notify {

// One paragraph a line (CR LF, a lone CR or a lone LF ends one); \ { } are escaped, tabs become
// \tab, and every byte above 0x7F is written as \'hh of the given ANSI code page, so the file is
// plain 7-bit text that any RTF reader turns back into the same characters.
std::string TextToRtf(std::string_view text, unsigned ansiCodePage);

} // namespace vigil::notify

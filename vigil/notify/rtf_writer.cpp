#include "vigil/notify/rtf_writer.h"

namespace vigil::notify {

std::string TextToRtf(std::string_view text, unsigned ansiCodePage) {
    static const char kHex[] = "0123456789abcdef";
    std::string out = "{\\rtf1\\ansi\\ansicpg" + std::to_string(ansiCodePage) +
                      "\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}}\r\n\\f0\\fs20 ";
    out.reserve(out.size() + text.size() + text.size() / 8 + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '{':
            out += "\\{";
            break;
        case '}':
            out += "\\}";
            break;
        case '\t':
            out += "\\tab ";
            break;
        case '\r':
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            [[fallthrough]];
        case '\n':
            out += "\\par\r\n";
            break;
        default:
            if (c >= 0x80 || c < 0x20) {
                out += "\\'";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += "}\r\n";
    return out;
}

} // namespace vigil::notify

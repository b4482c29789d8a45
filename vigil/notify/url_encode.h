#pragma once
// Form-encoding of a query value, as the web-service requests need it.
#include <string>
#include <string_view>

namespace vigil::notify {

// Each byte (a character of the ANSI code page) is kept when it is a letter "A"-"Z", "a"-"z"
// or a digit, a space becomes "+", and every other byte becomes "%" and its code as two
// upper-case hexadecimal digits: "a b/c.d" gives "a+b%2Fc%2Ed".
std::string UrlEncode(std::string_view text);

} // namespace vigil::notify

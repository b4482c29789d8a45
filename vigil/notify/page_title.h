#pragma once
// The title of an HTML page, as a browser shows it.
#include <string>
#include <string_view>

namespace vigil::notify {

// The text of the first <title> element (the tag's name in any case, attributes allowed),
// with the references &amp; &lt; &gt; &quot; &apos; &nbsp; (taken as a space) and &#NN; or
// &#xNN; (up to 255) decoded, runs of white space made one space and white space at either
// end removed. A title without its end tag runs to the end of the page. Empty when the page
// has none.
std::string ExtractTitle(std::string_view html);

} // namespace vigil::notify

#pragma once

#include <string>

// Plain text of a web page, in one pass: tags ("<" to the next ">") and "&nbsp;" removed, each
// "\n\n" turned into "\r\n", and runs of "\r\n" collapsed into one. A ">" outside a tag is
// text, and a "<" with no ">" after it keeps the rest as it stands.
std::string HtmlToText(const std::string& html);

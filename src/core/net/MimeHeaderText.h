#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Header text as people read it, in UTF-8. RFC 2047 encoded words ("=?UTF-8?B?...?=") are
// decoded from UTF-8, US-ASCII, ISO-8859-1 to -16 and Windows-1250 to -1258, in the B and Q
// encodings; the blanks between two encoded words go, and adjacent words of one charset are
// decoded together (a character may be split between them). A word that cannot be decoded (an
// unknown charset, bad Base64, bytes the charset does not have) stays as it was written.
// Bytes outside encoded words that are not UTF-8 are taken as Latin-1, so nothing is dropped.
std::string DecodeMimeWords(std::string_view text);

// What the new-mail window shows of a header field's raw value: decoded, cut at the first
// control character (a NUL would hide the rest of the text) and after kMaxShownChars
// characters, a cut marked with "…". Tabs become blanks. Only the first kMaxRawField bytes of
// raw are read; raw may be longer (then it counts as cut).
std::string ShownHeaderField(std::string_view raw);

constexpr std::size_t kMaxShownChars = 1000;
constexpr std::size_t kMaxRawField = 16 * 1024;

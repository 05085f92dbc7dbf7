#include "core/net/MimeHeaderText.h"

#include <cerrno>
#include <iconv.h>
#include <optional>

namespace {
constexpr const char* kCutMark = "\xE2\x80\xA6"; // "…"

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = Lower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The length of the UTF-8 sequence at text[at], or 0 when it is not one.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char c = b(0);
    if (c < 0x80) return 1;
    std::size_t n = 0;
    unsigned min = 0;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2, min = 0x80;
    else if (c >= 0xE0 && c <= 0xEF)
        n = 3, min = 0x800;
    else if (c >= 0xF0 && c <= 0xF4)
        n = 4, min = 0x10000;
    else
        return 0;
    if (at + n > text.size()) return 0;
    unsigned code = c & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i) {
        if ((b(i) & 0xC0) != 0x80) return 0;
        code = code << 6 | (b(i) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return n;
}

bool IsUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t n = Utf8Length(text, at);
        if (n == 0) return false;
        at += n;
    }
    return true;
}

// UTF-8 as it is; any other byte as the Latin-1 character of that number.
void AppendText(std::string& out, std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t n = Utf8Length(text, at);
        if (n > 0) {
            out.append(text, at, n);
            at += n;
            continue;
        }
        const auto c = static_cast<unsigned char>(text[at++]);
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The charsets offered to iconv: only these single-byte ones, never a stateful encoding.
bool IsKnownSingleByte(const std::string& name) {
    const auto numberAfter = [&](std::string_view prefix, int low, int high) {
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            return false;
        int n = 0;
        for (std::size_t i = prefix.size(); i < name.size(); ++i) {
            if (name[i] < '0' || name[i] > '9' || n > 9999) return false;
            n = n * 10 + (name[i] - '0');
        }
        return n >= low && n <= high && n != 12; // there is no ISO-8859-12
    };
    return numberAfter("iso-8859-", 1, 16) || numberAfter("windows-", 1250, 1258) ||
           numberAfter("cp", 1250, 1258);
}

std::optional<std::string> ToUtf8(const std::string& charset, const std::string& bytes) {
    if (charset == "utf-8" || charset == "utf8")
        return IsUtf8(bytes) ? std::optional(bytes) : std::nullopt;
    if (charset == "us-ascii" || charset == "ascii") {
        for (char c : bytes)
            if (static_cast<unsigned char>(c) >= 0x80) return std::nullopt;
        return bytes;
    }
    if (!IsKnownSingleByte(charset)) return std::nullopt;
    const iconv_t cd = iconv_open("UTF-8", charset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(bytes.size() * 4 + 4, '\0'); // a single byte gives at most 3
    char* in = const_cast<char*>(bytes.data());
    char* to = out.data();
    std::size_t inLeft = bytes.size(), outLeft = out.size();
    const std::size_t r = iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

std::optional<std::string> DecodeBase64(std::string_view text) {
    std::string out;
    unsigned bits = 0;
    int count = 0;
    std::size_t at = 0;
    for (; at < text.size() && text[at] != '='; ++at) {
        const char c = text[at];
        int v = -1;
        if (c >= 'A' && c <= 'Z')
            v = c - 'A';
        else if (c >= 'a' && c <= 'z')
            v = c - 'a' + 26;
        else if (c >= '0' && c <= '9')
            v = c - '0' + 52;
        else if (c == '+')
            v = 62;
        else if (c == '/')
            v = 63;
        if (v < 0) return std::nullopt;
        bits = (bits << 6 | static_cast<unsigned>(v)) & 0xFFFFFF;
        if (++count % 4 == 0) {
            out += static_cast<char>(bits >> 16);
            out += static_cast<char>(bits >> 8 & 0xFF);
            out += static_cast<char>(bits & 0xFF);
        }
    }
    for (; at < text.size(); ++at)
        if (text[at] != '=') return std::nullopt; // only padding after the first '='
    if (count % 4 == 1) return std::nullopt;
    if (count % 4 == 2) out += static_cast<char>(bits >> 4 & 0xFF);
    if (count % 4 == 3) {
        out += static_cast<char>(bits >> 10 & 0xFF);
        out += static_cast<char>(bits >> 2 & 0xFF);
    }
    return out;
}

std::optional<std::string> DecodeQ(std::string_view text) {
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '_') {
            out += ' ';
        } else if (text[at] == '=') {
            if (at + 2 >= text.size()) return std::nullopt;
            const int hi = HexValue(text[at + 1]), lo = HexValue(text[at + 2]);
            if (hi < 0 || lo < 0) return std::nullopt;
            out += static_cast<char>(hi << 4 | lo);
            at += 2;
        } else {
            out += text[at];
        }
    }
    return out;
}

// One encoded word at text[at]: its charset (lower case, without a language), its bytes, and
// where it ends.
struct Word {
    std::string charset, bytes;
    std::size_t end = 0;
    bool ok = false; // well formed and decoded
};

std::optional<Word> ReadWord(std::string_view text, std::size_t at) {
    if (text.compare(at, 2, "=?") != 0) return std::nullopt;
    const std::size_t q1 = text.find('?', at + 2);
    if (q1 == std::string_view::npos || q1 == at + 2 || q1 - at > 70) return std::nullopt;
    if (q1 + 2 >= text.size() || text[q1 + 2] != '?') return std::nullopt;
    const char encoding = Lower(text[q1 + 1]);
    if (encoding != 'b' && encoding != 'q') return std::nullopt;
    const std::size_t end = text.find("?=", q1 + 3);
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view charsetText = text.substr(at + 2, q1 - at - 2);
    const std::string_view payload = text.substr(q1 + 3, end - q1 - 3);
    for (char c : charsetText)
        if (c <= ' ' || c >= 0x7F) return std::nullopt;
    for (char c : payload)
        if (c <= ' ' || c >= 0x7F || c == '?') return std::nullopt;
    Word word;
    word.end = end + 2;
    for (char c : charsetText.substr(0, charsetText.find('*'))) // RFC 2231 language
        word.charset += Lower(c);
    const auto bytes = encoding == 'b' ? DecodeBase64(payload) : DecodeQ(payload);
    word.ok = bytes.has_value();
    if (word.ok) word.bytes = *bytes;
    return word;
}

bool IsBlankRun(std::string_view text) {
    for (char c : text)
        if (c != ' ' && c != '\t') return false;
    return true;
}
} // namespace

std::string DecodeMimeWords(std::string_view text) {
    std::string out;
    // A run of adjacent words of one charset, waiting to be converted together.
    std::string charset, bytes;
    std::size_t runStart = 0, runEnd = 0;
    bool inRun = false;
    const auto flush = [&] {
        if (!inRun) return;
        if (const auto decoded = ToUtf8(charset, bytes))
            out += *decoded;
        else
            AppendText(out, text.substr(runStart, runEnd - runStart));
        inRun = false;
    };

    std::size_t at = 0, literal = 0;
    while (at < text.size()) {
        const std::size_t next = text.find("=?", at);
        if (next == std::string_view::npos) break;
        const auto word = ReadWord(text, next);
        if (!word) {
            at = next + 1;
            continue;
        }
        const std::string_view between = text.substr(literal, next - literal);
        const bool joins = inRun && IsBlankRun(between);
        if (!joins) {
            flush();
            AppendText(out, between);
        }
        if (!word->ok) {
            flush();
            if (joins) AppendText(out, between);
            AppendText(out, text.substr(next, word->end - next));
        } else if (joins && word->charset == charset) {
            bytes += word->bytes;
            runEnd = word->end;
        } else {
            flush();
            charset = word->charset;
            bytes = word->bytes;
            runStart = next;
            runEnd = word->end;
            inRun = true;
        }
        at = literal = word->end;
    }
    flush();
    AppendText(out, text.substr(literal));
    return out;
}

std::string ShownHeaderField(std::string_view raw) {
    const bool longer = raw.size() > kMaxRawField;
    const std::string text = DecodeMimeWords(raw.substr(0, kMaxRawField));
    std::string out;
    std::size_t chars = 0;
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        const std::size_t n = Utf8Length(text, at); // never 0: the text is UTF-8 now
        const bool control = c < 0x20 && c != '\t';
        // DEL and the C1 controls (U+0080 to U+009F, "\xC2\x80" to "\xC2\x9F") too.
        const bool control2 =
            c == 0x7F || (c == 0xC2 && n == 2 && static_cast<unsigned char>(text[at + 1]) < 0xA0);
        if (control || control2 || chars == kMaxShownChars) return out + kCutMark;
        if (c == '\t')
            out += ' ';
        else
            out.append(text, at, n ? n : 1);
        at += n ? n : 1;
        ++chars;
    }
    return longer ? out + kCutMark : out;
}

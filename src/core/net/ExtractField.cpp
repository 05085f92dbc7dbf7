#include "core/net/ExtractField.h"

#include <algorithm>

namespace {
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (Lower(text[i]) != Lower(prefix[i])) return false;
    return true;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Index of the line feed that ends the (possibly folded) field value starting at from.
std::size_t ValueEnd(std::string_view header, std::size_t from) {
    for (;;) {
        const std::size_t lf = header.find('\n', from);
        if (lf == std::string_view::npos) return header.size();
        if (lf + 1 >= header.size() || !IsBlank(header[lf + 1])) return lf;
        from = lf + 1;
    }
}
} // namespace

std::string ExtractField(std::string_view header, std::string_view name, std::size_t maxValue) {
    if (name.empty()) return {};
    std::size_t line = 0;
    while (line < header.size()) {
        const std::string_view rest = header.substr(line);
        if (rest.front() == '\n' || rest.substr(0, 2) == "\r\n") break; // end of the header
        if (StartsWithNoCase(rest, name)) {
            const std::size_t start = line + name.size();
            const std::string_view raw = header.substr(start, ValueEnd(header, start) - start);
            // Unfold: drop every line break (CR LF, or a bare LF), keep what follows it.
            std::string value;
            value.reserve(std::min(raw.size(), maxValue));
            for (std::size_t i = 0; i < raw.size() && value.size() < maxValue; ++i) {
                if (raw[i] == '\r' && (i + 1 == raw.size() || raw[i + 1] == '\n')) continue;
                if (raw[i] == '\n') continue;
                value += raw[i];
            }
            return value;
        }
        const std::size_t lf = header.find('\n', line);
        if (lf == std::string_view::npos) break;
        line = lf + 1;
    }
    return {};
}

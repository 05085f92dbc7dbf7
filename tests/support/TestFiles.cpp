#include "support/TestFiles.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string WriteTempFile(const std::string& text) {
    char path[] = "/tmp/jotterly-test-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return {};
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    if (!written) unlink(path);
    return written ? path : "";
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

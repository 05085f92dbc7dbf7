#include "support/TestCertificates.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

TestCertificates::TestCertificates()
    : m_dir((fs::temp_directory_path() / "jotterly-certs-XXXXXX").string()) {
    if (!mkdtemp(m_dir.data())) {
        m_error = "mkdtemp failed";
        return;
    }
    chmod(m_dir.c_str(), 0755); // the server's processes read the files too
    const std::string d = m_dir;
    const std::string san = " -addext subjectAltName=DNS:localhost";
    const std::string script =
        "cd " + d +
        " && exec >openssl.log 2>&1 && "
        "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=Jotterly-Test-CA"
        " -addext basicConstraints=critical,CA:TRUE -keyout ca.key -out ca.pem && "
        "openssl req -newkey rsa:2048 -nodes -subj /CN=localhost -keyout server.key"
        " -out server.csr" +
        san +
        " && "
        "printf 'subjectAltName=DNS:localhost\\n' > server.ext && "
        "openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2"
        " -extfile server.ext -out server.pem && "
        "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost" +
        san + " -keyout self.key -out self.pem && chmod 644 *.key";
    if (std::system(script.c_str()) != 0) m_error = "openssl failed, see " + d + "/openssl.log";
}

TestCertificates::~TestCertificates() {
    std::error_code ec;
    if (Ok()) fs::remove_all(m_dir, ec);
}

#pragma once

#include <string>

// Certificates made for one test with the openssl tool, in a folder removed afterwards: a test
// CA, a server certificate it signed for "localhost", and a self-signed one for "localhost"
// that no CA vouches for.
class TestCertificates {
public:
    TestCertificates();
    ~TestCertificates();
    TestCertificates(const TestCertificates&) = delete;
    TestCertificates& operator=(const TestCertificates&) = delete;

    bool Ok() const { return m_error.empty(); }
    const std::string& Error() const { return m_error; }

    std::string CaFile() const { return m_dir + "/ca.pem"; }
    std::string ServerCert() const { return m_dir + "/server.pem"; }
    std::string ServerKey() const { return m_dir + "/server.key"; }
    std::string SelfSignedCert() const { return m_dir + "/self.pem"; }
    std::string SelfSignedKey() const { return m_dir + "/self.key"; }

private:
    std::string m_dir, m_error;
};

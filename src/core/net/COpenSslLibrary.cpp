#include "core/net/COpenSslLibrary.h"

#include "core/platform/CSharedLibrary.h"

#include <mutex>

namespace {

struct Loaded {
    COpenSslLibrary functions;
    std::string error;
    bool ok = false;
};

Loaded Load() {
    Loaded l;
    // libssl brings libcrypto, whose functions are found through it.
    static CSharedLibrary library("libssl.so.3");
    COpenSslLibrary& f = l.functions;
    l.ok = library.Resolve(f.err_get_error, "ERR_get_error") &&
           library.Resolve(f.err_peek_error, "ERR_peek_error") &&
           library.Resolve(f.err_clear_error, "ERR_clear_error") &&
           library.Resolve(f.err_error_string_n, "ERR_error_string_n") &&
           library.Resolve(f.x509_digest, "X509_digest") &&
           library.Resolve(f.evp_sha256, "EVP_sha256") &&
           library.Resolve(f.store_ctx_get_ex_data, "X509_STORE_CTX_get_ex_data") &&
           library.Resolve(f.store_ctx_get0_cert, "X509_STORE_CTX_get0_cert") &&
           library.Resolve(f.param_set_hostflags, "X509_VERIFY_PARAM_set_hostflags") &&
           library.Resolve(f.param_set1_ip_asc, "X509_VERIFY_PARAM_set1_ip_asc") &&
           library.Resolve(f.param_set1_host, "X509_VERIFY_PARAM_set1_host") &&
           library.Resolve(f.verify_cert_error_string, "X509_verify_cert_error_string") &&
           library.Resolve(f.tls_client_method, "TLS_client_method") &&
           library.Resolve(f.ctx_new, "SSL_CTX_new") &&
           library.Resolve(f.ctx_free, "SSL_CTX_free") &&
           library.Resolve(f.ctx_ctrl, "SSL_CTX_ctrl") &&
           library.Resolve(f.ctx_set_verify, "SSL_CTX_set_verify") &&
           library.Resolve(f.ctx_set_default_verify_paths, "SSL_CTX_set_default_verify_paths") &&
           library.Resolve(f.ctx_load_verify_locations, "SSL_CTX_load_verify_locations") &&
           library.Resolve(f.ssl_new, "SSL_new") && library.Resolve(f.ssl_free, "SSL_free") &&
           library.Resolve(f.ssl_ctrl, "SSL_ctrl") && library.Resolve(f.set_fd, "SSL_set_fd") &&
           library.Resolve(f.set_ex_data, "SSL_set_ex_data") &&
           library.Resolve(f.get_ex_data, "SSL_get_ex_data") &&
           library.Resolve(f.get_ex_data_store_ctx_idx, "SSL_get_ex_data_X509_STORE_CTX_idx") &&
           library.Resolve(f.get0_param, "SSL_get0_param") &&
           library.Resolve(f.connect, "SSL_connect") &&
           library.Resolve(f.get_error, "SSL_get_error") &&
           library.Resolve(f.get_verify_result, "SSL_get_verify_result") &&
           library.Resolve(f.read, "SSL_read") && library.Resolve(f.write, "SSL_write") &&
           library.Resolve(f.pending, "SSL_pending");
    if (!l.ok) l.error = "OpenSSL could not be loaded: " + library.Error();
    return l;
}

} // namespace

const COpenSslLibrary* COpenSslLibrary::Get(std::string& error) {
    static std::once_flag once;
    static Loaded loaded;
    std::call_once(once, [] { loaded = Load(); });
    if (!loaded.ok) error = loaded.error;
    return loaded.ok ? &loaded.functions : nullptr;
}

#pragma once

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <string>

// OpenSSL's functions, opened by the first secure mail connection: libcrypto alone is larger
// in memory than the rest of the core, and most sessions never check mail over TLS.
struct COpenSslLibrary {
    // The loaded library, ready for use on any thread; null when it cannot be loaded (error
    // says why). Loaded once; a failure is final for the process.
    static const COpenSslLibrary* Get(std::string& error);

    decltype(&ERR_get_error) err_get_error = nullptr;
    decltype(&ERR_peek_error) err_peek_error = nullptr;
    decltype(&ERR_clear_error) err_clear_error = nullptr;
    decltype(&ERR_error_string_n) err_error_string_n = nullptr;
    decltype(&X509_digest) x509_digest = nullptr;
    decltype(&EVP_sha256) evp_sha256 = nullptr;
    decltype(&X509_STORE_CTX_get_ex_data) store_ctx_get_ex_data = nullptr;
    decltype(&X509_STORE_CTX_get0_cert) store_ctx_get0_cert = nullptr;
    decltype(&X509_VERIFY_PARAM_set_hostflags) param_set_hostflags = nullptr;
    decltype(&X509_VERIFY_PARAM_set1_ip_asc) param_set1_ip_asc = nullptr;
    decltype(&X509_VERIFY_PARAM_set1_host) param_set1_host = nullptr;
    decltype(&X509_verify_cert_error_string) verify_cert_error_string = nullptr;
    decltype(&TLS_client_method) tls_client_method = nullptr;
    decltype(&SSL_CTX_new) ctx_new = nullptr;
    decltype(&SSL_CTX_free) ctx_free = nullptr;
    decltype(&SSL_CTX_ctrl) ctx_ctrl = nullptr;
    decltype(&SSL_CTX_set_verify) ctx_set_verify = nullptr;
    decltype(&SSL_CTX_set_default_verify_paths) ctx_set_default_verify_paths = nullptr;
    decltype(&SSL_CTX_load_verify_locations) ctx_load_verify_locations = nullptr;
    decltype(&SSL_new) ssl_new = nullptr;
    decltype(&SSL_free) ssl_free = nullptr;
    decltype(&SSL_ctrl) ssl_ctrl = nullptr;
    decltype(&SSL_set_fd) set_fd = nullptr;
    decltype(&SSL_set_ex_data) set_ex_data = nullptr;
    decltype(&SSL_get_ex_data) get_ex_data = nullptr;
    decltype(&SSL_get_ex_data_X509_STORE_CTX_idx) get_ex_data_store_ctx_idx = nullptr;
    decltype(&SSL_get0_param) get0_param = nullptr;
    decltype(&SSL_connect) connect = nullptr;
    decltype(&SSL_get_error) get_error = nullptr;
    decltype(&SSL_get_verify_result) get_verify_result = nullptr;
    decltype(&SSL_read) read = nullptr;
    decltype(&SSL_write) write = nullptr;
    decltype(&SSL_pending) pending = nullptr;
};

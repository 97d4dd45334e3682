#pragma once

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vela::sandbox {

struct X509Free {
    void operator()(X509* cert) const { X509_free(cert); }
};
struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};

/// A server certificate with its private key.
struct Identity {
    std::unique_ptr<X509, X509Free> certificate;
    std::unique_ptr<EVP_PKEY, KeyFree> key;
};

/// A self-signed certificate (P-256, 30 days) naming each host as a DNS name,
/// plus 127.0.0.1. It is its own trust anchor: a client trusts it by loading
/// the PEM that `certificatePem` gives.
std::optional<Identity> makeSelfSigned(const std::vector<std::string>& hosts);

/// Certificate and key from PEM files.
std::optional<Identity> loadIdentity(const std::string& certificateFile,
                                     const std::string& keyFile);

std::string certificatePem(const Identity& identity);

}  // namespace vela::sandbox

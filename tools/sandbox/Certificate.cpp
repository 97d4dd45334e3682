#include "Certificate.h"

#include <openssl/bio.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509v3.h>

#include <cstdio>

namespace vela::sandbox {
namespace {

bool addExtension(X509* cert, int nid, const std::string& value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, cert, cert, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
    if (extension == nullptr) return false;
    const bool added = X509_add_ext(cert, extension, -1) == 1;
    X509_EXTENSION_free(extension);
    return added;
}

}  // namespace

std::optional<Identity> makeSelfSigned(const std::vector<std::string>& hosts) {
    if (hosts.empty()) return std::nullopt;
    Identity identity;
    identity.key.reset(EVP_EC_gen("P-256"));
    identity.certificate.reset(X509_new());
    X509* cert = identity.certificate.get();
    if (!identity.key || cert == nullptr) return std::nullopt;

    unsigned char serial[16];
    RAND_bytes(serial, sizeof serial);
    serial[0] &= 0x7f;  // positive
    BIGNUM* number = BN_bin2bn(serial, sizeof serial, nullptr);
    BN_to_ASN1_INTEGER(number, X509_get_serialNumber(cert));
    BN_free(number);

    X509_set_version(cert, 2);
    X509_gmtime_adj(X509_getm_notBefore(cert), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert), 30L * 24 * 3600);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("Vela sandbox"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(hosts.front().c_str()), -1,
                               -1, 0);
    X509_set_issuer_name(cert, name);
    X509_set_pubkey(cert, identity.key.get());

    std::string names;
    for (const auto& host : hosts) names += (names.empty() ? "DNS:" : ",DNS:") + host;
    names += ",IP:127.0.0.1";
    if (!addExtension(cert, NID_subject_alt_name, names) ||
        !addExtension(cert, NID_basic_constraints, "critical,CA:TRUE") ||
        !addExtension(cert, NID_key_usage, "critical,digitalSignature,keyCertSign") ||
        !addExtension(cert, NID_ext_key_usage, "serverAuth") ||
        !addExtension(cert, NID_subject_key_identifier, "hash")) {
        return std::nullopt;
    }
    if (X509_sign(cert, identity.key.get(), EVP_sha256()) == 0) return std::nullopt;
    return identity;
}

std::optional<Identity> loadIdentity(const std::string& certificateFile,
                                     const std::string& keyFile) {
    Identity identity;
    if (FILE* in = std::fopen(certificateFile.c_str(), "r")) {
        identity.certificate.reset(PEM_read_X509(in, nullptr, nullptr, nullptr));
        std::fclose(in);
    }
    if (FILE* in = std::fopen(keyFile.c_str(), "r")) {
        identity.key.reset(PEM_read_PrivateKey(in, nullptr, nullptr, nullptr));
        std::fclose(in);
    }
    if (!identity.certificate || !identity.key) return std::nullopt;
    return identity;
}

std::string certificatePem(const Identity& identity) {
    BIO* out = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(out, identity.certificate.get());
    char* data = nullptr;
    const long length = BIO_get_mem_data(out, &data);
    std::string pem(data, static_cast<std::size_t>(length));
    BIO_free(out);
    return pem;
}

}  // namespace vela::sandbox

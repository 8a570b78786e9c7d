#include "test_certificates.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <stdexcept>
#include <unistd.h>

namespace {

using KeyPtr = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using CertPtr = std::unique_ptr<X509, decltype(&X509_free)>;

void check(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(what);
}

KeyPtr newKey() {
    KeyPtr key(EVP_EC_gen("P-256"), EVP_PKEY_free);
    check(key != nullptr, "EVP_EC_gen");
    return key;
}

void addExtension(X509* cert, X509* issuer, int nid, const char* value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    check(ext != nullptr, "X509V3_EXT_conf_nid");
    X509_add_ext(cert, ext, -1);
    X509_EXTENSION_free(ext);
}

CertPtr newCert(EVP_PKEY* key, const char* commonName, long serial) {
    CertPtr cert(X509_new(), X509_free);
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 7L * 24 * 3600);
    X509_set_pubkey(cert.get(), key);
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
    return cert;
}

std::string certToPem(X509* cert) {
    BIO* bio = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(bio, cert);
    char* data = nullptr;
    long length = BIO_get_mem_data(bio, &data);
    std::string pem(data, static_cast<size_t>(length));
    BIO_free(bio);
    return pem;
}

std::string keyToPem(EVP_PKEY* key) {
    BIO* bio = BIO_new(BIO_s_mem());
    PEM_write_bio_PrivateKey(bio, key, nullptr, nullptr, 0, nullptr, nullptr);
    char* data = nullptr;
    long length = BIO_get_mem_data(bio, &data);
    std::string pem(data, static_cast<size_t>(length));
    BIO_free(bio);
    return pem;
}

struct Authority {
    KeyPtr key{nullptr, EVP_PKEY_free};
    CertPtr cert{nullptr, X509_free};
    TestCertificate pem;
    std::string file;
};

Authority& authority() {
    static Authority* made = [] {
        auto* a = new Authority;
        a->key = newKey();
        a->cert = newCert(a->key.get(), "Tevrako Test Authority", 1);
        X509_set_issuer_name(a->cert.get(), X509_get_subject_name(a->cert.get()));
        addExtension(a->cert.get(), a->cert.get(), NID_basic_constraints, "critical,CA:TRUE");
        addExtension(a->cert.get(), a->cert.get(), NID_key_usage, "critical,keyCertSign,cRLSign");
        check(X509_sign(a->cert.get(), a->key.get(), EVP_sha256()) > 0, "X509_sign");
        a->pem = {certToPem(a->cert.get()), keyToPem(a->key.get())};

        char path[] = "/tmp/tevrako-test-ca-XXXXXX";
        int fd = mkstemp(path);
        check(fd >= 0, "mkstemp");
        close(fd);
        std::ofstream(path) << a->pem.certPem;
        a->file = path;
        setenv("SSL_CERT_FILE", path, 1);
        setenv("SSL_CERT_DIR", "/nonexistent", 1);
        std::atexit([] { unlink(authority().file.c_str()); });
        return a;
    }();
    return *made;
}

} // namespace

const TestCertificate& testAuthority() {
    return authority().pem;
}

TestCertificate makeServerCertificate(const std::vector<std::string>& dnsNames, bool withLoopbackIp,
                                      bool selfSigned) {
    static long serial = 100;
    Authority& ca = authority();
    KeyPtr key = newKey();
    std::string commonName = dnsNames.empty() ? "127.0.0.1" : dnsNames.front();
    CertPtr cert = newCert(key.get(), commonName.c_str(), ++serial);
    X509* issuer = selfSigned ? cert.get() : ca.cert.get();
    X509_set_issuer_name(cert.get(), X509_get_subject_name(issuer));
    std::string names;
    for (const std::string& dns : dnsNames) names += (names.empty() ? "DNS:" : ",DNS:") + dns;
    if (withLoopbackIp) names += names.empty() ? "IP:127.0.0.1" : ",IP:127.0.0.1";
    if (!names.empty()) addExtension(cert.get(), issuer, NID_subject_alt_name, names.c_str());
    addExtension(cert.get(), issuer, NID_ext_key_usage, "serverAuth");
    check(X509_sign(cert.get(), selfSigned ? key.get() : ca.key.get(), EVP_sha256()) > 0, "X509_sign");
    return {certToPem(cert.get()), keyToPem(key.get())};
}

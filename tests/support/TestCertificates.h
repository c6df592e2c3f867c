#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

// Certificates made for a test run with OpenSSL: a certificate authority of
// its own and a server certificate it signs for a host name and 127.0.0.1.
class TestCertificates {
public:
    using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
    using Certificate = std::unique_ptr<X509, decltype(&X509_free)>;

    // `authorityName` tells two authorities apart in their subjects.
    TestCertificates(const std::string& hostName, const std::string& authorityName)
        : _authorityKey(newKey()), _authority(nullptr, &X509_free), _serverKey(newKey()),
          _server(nullptr, &X509_free) {
        _authority = makeCertificate(authorityName, nullptr, _authorityKey.get(),
                                     _authorityKey.get(), true, "");
        _server = makeCertificate(hostName, _authority.get(), _serverKey.get(), _authorityKey.get(),
                                  false, "DNS:" + hostName + ",IP:127.0.0.1");
    }

    X509* serverCertificate() const { return _server.get(); }
    EVP_PKEY* serverKey() const { return _serverKey.get(); }
    // The authority as PEM text, for a file that a client trusts.
    std::string authorityPEM() const {
        std::unique_ptr<BIO, decltype(&BIO_free)> out(BIO_new(BIO_s_mem()), &BIO_free);
        PEM_write_bio_X509(out.get(), _authority.get());
        char* bytes = nullptr;
        const long length = BIO_get_mem_data(out.get(), &bytes);
        return std::string(bytes, static_cast<size_t>(length));
    }

private:
    static Key newKey() {
        Key key(EVP_EC_gen("P-256"), &EVP_PKEY_free);
        if (!key) {
            throw std::runtime_error("cannot make a test key");
        }
        return key;
    }

    static void addExtension(X509* certificate, X509* issuer, int nid, const std::string& value) {
        X509V3_CTX context;
        X509V3_set_ctx_nodb(&context);
        X509V3_set_ctx(&context, issuer ? issuer : certificate, certificate, nullptr, nullptr, 0);
        X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
        if (!extension) {
            throw std::runtime_error("cannot make a certificate extension");
        }
        X509_add_ext(certificate, extension, -1);
        X509_EXTENSION_free(extension);
    }

    static Certificate makeCertificate(const std::string& commonName, X509* issuer, EVP_PKEY* key,
                                       EVP_PKEY* signingKey, bool authority,
                                       const std::string& alternativeNames) {
        static long serial = 1;
        Certificate certificate(X509_new(), &X509_free);
        X509_set_version(certificate.get(), 2);
        ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()), serial++);
        X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -3600);
        X509_gmtime_adj(X509_getm_notAfter(certificate.get()), 7 * 24 * 3600);
        X509_set_pubkey(certificate.get(), key);
        X509_NAME* name = X509_get_subject_name(certificate.get());
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>(commonName.c_str()), -1,
                                   -1, 0);
        X509_set_issuer_name(certificate.get(), issuer ? X509_get_subject_name(issuer) : name);
        if (authority) {
            addExtension(certificate.get(), issuer, NID_basic_constraints, "critical,CA:TRUE");
            addExtension(certificate.get(), issuer, NID_key_usage, "critical,keyCertSign,cRLSign");
        } else {
            addExtension(certificate.get(), issuer, NID_basic_constraints, "critical,CA:FALSE");
            addExtension(certificate.get(), issuer, NID_ext_key_usage, "serverAuth");
            addExtension(certificate.get(), issuer, NID_subject_alt_name, alternativeNames);
        }
        addExtension(certificate.get(), issuer, NID_subject_key_identifier, "hash");
        if (!X509_sign(certificate.get(), signingKey, EVP_sha256())) {
            throw std::runtime_error("cannot sign a test certificate");
        }
        return certificate;
    }

    Key _authorityKey;
    Certificate _authority;
    Key _serverKey;
    Certificate _server;
};

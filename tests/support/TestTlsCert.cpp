#include "support/TestTlsCert.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

namespace
{

std::string DrainBio(BIO* pBio)
{
    char* pData = nullptr;
    long length = BIO_get_mem_data(pBio, &pData);
    return length > 0 ? std::string(pData, static_cast<std::size_t>(length)) : std::string();
}

} // namespace

bool MakeSelfSignedCertificate(std::string* pstrCertPem, std::string* pstrKeyPem)
{
    EVP_PKEY* pKey = EVP_EC_gen("P-256");
    X509* pCert = X509_new();
    bool bOk = pKey != nullptr && pCert != nullptr;
    if (bOk)
    {
        X509_set_version(pCert, 2);
        ASN1_INTEGER_set(X509_get_serialNumber(pCert), 1);
        X509_gmtime_adj(X509_getm_notBefore(pCert), -3600);
        X509_gmtime_adj(X509_getm_notAfter(pCert), 86400);
        X509_NAME* pName = X509_get_subject_name(pCert);
        X509_NAME_add_entry_by_txt(pName, "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
        X509_set_issuer_name(pCert, pName);
        bOk = X509_set_pubkey(pCert, pKey) == 1 && X509_sign(pCert, pKey, EVP_sha256()) > 0;
    }
    if (bOk)
    {
        BIO* pCertBio = BIO_new(BIO_s_mem());
        BIO* pKeyBio = BIO_new(BIO_s_mem());
        bOk = PEM_write_bio_X509(pCertBio, pCert) == 1 &&
              PEM_write_bio_PrivateKey(pKeyBio, pKey, nullptr, nullptr, 0, nullptr, nullptr) == 1;
        *pstrCertPem = DrainBio(pCertBio);
        *pstrKeyPem = DrainBio(pKeyBio);
        BIO_free(pCertBio);
        BIO_free(pKeyBio);
    }
    X509_free(pCert);
    EVP_PKEY_free(pKey);
    return bOk;
}

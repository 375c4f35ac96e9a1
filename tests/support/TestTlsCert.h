// A self-signed certificate for loopback TLS servers, made fresh by each test run.
#pragma once

#include <string>

// An EC P-256 key and a certificate for CN=127.0.0.1, valid for a day, both as PEM text.
bool MakeSelfSignedCertificate(std::string* pstrCertPem, std::string* pstrKeyPem);

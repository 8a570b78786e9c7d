// Certificates the network tests make for themselves: one authority per
// test process (trusted through SSL_CERT_FILE) and server certificates.
#pragma once

#include <string>
#include <vector>

struct TestCertificate {
    std::string certPem;
    std::string keyPem;
};

// The process's test authority; the first call also makes the TLS client
// trust it (and only it) through SSL_CERT_FILE.
const TestCertificate& testAuthority();

// A server certificate for the given DNS names (and 127.0.0.1 when
// withLoopbackIp), signed by the test authority, or self-signed when
// selfSigned is set.
TestCertificate makeServerCertificate(const std::vector<std::string>& dnsNames, bool withLoopbackIp,
                                      bool selfSigned = false);

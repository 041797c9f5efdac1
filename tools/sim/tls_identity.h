#pragma once

#include <string>

namespace varnola::sim {

// The PEM files of the https host: its certificate (which clients trust as their CA
// file) and its private key.
struct TlsFiles {
  std::string certFile;
  std::string keyFile;
};

// Makes a new P-256 key and a self-signed certificate for "localhost", 127.0.0.1 and
// ::1 (subjectAltName), valid from yesterday for a year, and writes them into `folder`
// as cert.pem and key.pem (the key readable by its owner only). Returns the reason on
// failure, else empty.
std::string WriteSelfSignedIdentity(const std::string& folder, TlsFiles& files);

// A new folder under the system's temporary folder that only this user can enter;
// empty on failure.
std::string MakePrivateTempFolder();

}  // namespace varnola::sim

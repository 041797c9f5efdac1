#include "sim/tls_identity.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

namespace varnola::sim {
namespace {

struct X509Deleter {
  void operator()(X509* x) const { X509_free(x); }
};
struct KeyDeleter {
  void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
struct BignumDeleter {
  void operator()(BIGNUM* b) const { BN_free(b); }
};
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

std::string OpenSslError(const char* what) {
  const unsigned long code = ERR_get_error();
  char text[256] = "unknown error";
  if (code != 0) ERR_error_string_n(code, text, sizeof text);
  return std::string(what) + ": " + text;
}

bool AddExtension(X509* cert, int nid, const char* value) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, cert, cert, nullptr, nullptr, 0);
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
  if (!extension) return false;
  const bool added = X509_add_ext(cert, extension, -1) == 1;
  X509_EXTENSION_free(extension);
  return added;
}

bool AddName(X509_NAME* name, const char* field, const char* value) {
  return X509_NAME_add_entry_by_txt(name, field, MBSTRING_ASC,
                                    reinterpret_cast<const unsigned char*>(value), -1, -1, 0) == 1;
}

std::unique_ptr<X509, X509Deleter> MakeCertificate(EVP_PKEY* key) {
  std::unique_ptr<X509, X509Deleter> cert(X509_new());
  std::unique_ptr<BIGNUM, BignumDeleter> serial(BN_new());
  if (!cert || !serial || !BN_rand(serial.get(), 63, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY)) {
    return nullptr;
  }
  X509_NAME* name = X509_get_subject_name(cert.get());
  const bool ok =
      X509_set_version(cert.get(), 2) == 1 &&
      BN_to_ASN1_INTEGER(serial.get(), X509_get_serialNumber(cert.get())) != nullptr &&
      X509_gmtime_adj(X509_getm_notBefore(cert.get()), -86400L) != nullptr &&
      X509_gmtime_adj(X509_getm_notAfter(cert.get()), 365L * 86400L) != nullptr &&
      X509_set_pubkey(cert.get(), key) == 1 && AddName(name, "O", "Varnola simulator") &&
      AddName(name, "CN", "localhost") && X509_set_issuer_name(cert.get(), name) == 1 &&
      AddExtension(cert.get(), NID_basic_constraints, "critical,CA:TRUE") &&
      AddExtension(cert.get(), NID_key_usage, "critical,digitalSignature,keyCertSign") &&
      AddExtension(cert.get(), NID_ext_key_usage, "serverAuth") &&
      AddExtension(cert.get(), NID_subject_key_identifier, "hash") &&
      AddExtension(cert.get(), NID_authority_key_identifier, "keyid:always") &&
      AddExtension(cert.get(), NID_subject_alt_name, "DNS:localhost,IP:127.0.0.1,IP:::1") &&
      X509_sign(cert.get(), key, EVP_sha256()) > 0;
  return ok ? std::move(cert) : nullptr;
}

}  // namespace

std::string WriteSelfSignedIdentity(const std::string& folder, TlsFiles& files) {
  std::unique_ptr<EVP_PKEY, KeyDeleter> key(EVP_EC_gen("P-256"));
  if (!key) return OpenSslError("making the key failed");
  const auto cert = MakeCertificate(key.get());
  if (!cert) return OpenSslError("making the certificate failed");

  const std::string certFile = (std::filesystem::path(folder) / "cert.pem").string();
  const std::string keyFile = (std::filesystem::path(folder) / "key.pem").string();
  {
    const mode_t previous = umask(077);
    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(keyFile.c_str(), "w"));
    umask(previous);
    if (!out ||
        !PEM_write_PrivateKey(out.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr)) {
      return "cannot write " + keyFile;
    }
  }
  {
    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(certFile.c_str(), "w"));
    if (!out || !PEM_write_X509(out.get(), cert.get())) return "cannot write " + certFile;
  }
  files = {certFile, keyFile};
  return {};
}

std::string MakePrivateTempFolder() {
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) return {};
  std::string pattern = (base / "varnola-sim-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) return {};  // mkdtemp makes it with mode 0700
  return buffer.data();
}

}  // namespace varnola::sim

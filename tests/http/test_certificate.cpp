#include "http/test_certificate.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace varnola::test {

TestCertificate::TestCertificate() {
  std::string pattern = (std::filesystem::temp_directory_path() / "varnola-tls-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return;
  m_folder = pattern;
  m_certFile = m_folder + "/cert.pem";
  m_keyFile = m_folder + "/key.pem";
  const std::string command =
      "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2"
      " -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1,DNS:localhost"
      " -keyout '" +
      m_keyFile + "' -out '" + m_certFile + "' >/dev/null 2>&1";
  m_valid = std::system(command.c_str()) == 0 && std::filesystem::exists(m_certFile) &&
            std::filesystem::exists(m_keyFile);
}

TestCertificate::~TestCertificate() {
  if (m_folder.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(m_folder, ignored);
}

}  // namespace varnola::test

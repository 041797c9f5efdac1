#pragma once

#include <string>

namespace varnola::test {

// A self-signed certificate for 127.0.0.1 and localhost with its key, made with the
// openssl tool in a fresh temporary folder that is removed again.
class TestCertificate {
 public:
  TestCertificate();
  ~TestCertificate();
  TestCertificate(const TestCertificate&) = delete;
  TestCertificate& operator=(const TestCertificate&) = delete;

  bool Valid() const { return m_valid; }
  const std::string& CertFile() const { return m_certFile; }
  const std::string& KeyFile() const { return m_keyFile; }

 private:
  std::string m_folder;
  std::string m_certFile;
  std::string m_keyFile;
  bool m_valid = false;
};

}  // namespace varnola::test

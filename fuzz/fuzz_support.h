#pragma once

// What the fuzz targets share: a check that stops the run with a message when a property
// that must hold for every input does not, and a scratch file for the readers that take a
// path.

#include <pthread.h>
#include <sanitizer/common_interface_defs.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace varnola::fuzz {

// A broken property is a finding like a crash: libFuzzer keeps the input.
inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", property);
  std::abort();
}

// Whether the bytes are well-formed local text (GB18030): ASCII, two-byte characters
// with a lead byte 81..FE and a trail byte 40..7E or 80..FE, four-byte characters of the
// form 81..FE 30..39 81..FE 30..39. Searches step over a lead byte and whatever follows
// it, so in ill-formed text a "/" or ";" after a lone lead byte is not found; properties
// that rest on finding them hold for well-formed text only.
inline bool IsWellFormedLocal(std::string_view text) {
  const auto in = [](unsigned char c, unsigned lo, unsigned hi) { return c >= lo && c <= hi; };
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    if (!in(lead, 0x81, 0xFE) || i + 1 >= text.size()) return false;
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if (in(second, 0x40, 0x7E) || in(second, 0x80, 0xFE)) {
      i += 2;
      continue;
    }
    if (!in(second, 0x30, 0x39) || i + 3 >= text.size()) return false;
    if (!in(static_cast<unsigned char>(text[i + 2]), 0x81, 0xFE) ||
        !in(static_cast<unsigned char>(text[i + 3]), 0x30, 0x39)) {
      return false;
    }
    i += 4;
  }
  return true;
}

// For readers that run a library in a child process: the child is a copy of the fuzzer,
// and a fault it contains must end only the child, not be recorded as a finding of the
// fuzzer's own (the fuzzer's crash handlers and death callback would write one).
inline void KeepFaultsOfChildrenToThem() {
  static const bool registered = [] {
    ::pthread_atfork(nullptr, nullptr, [] {
      __sanitizer_set_death_callback(nullptr);
      for (const int fault : {SIGSEGV, SIGBUS, SIGABRT, SIGILL, SIGFPE}) ::signal(fault, SIG_DFL);
    });
    return true;
  }();
  (void)registered;
}

// One file of the given name in a folder of this process's own, rewritten for every
// input and removed when the process ends normally.
class ScratchFile {
 public:
  explicit ScratchFile(const std::string& name) {
    std::string pattern = (std::filesystem::temp_directory_path() / "varnola-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    m_folder = pattern;
    m_path = m_folder + "/" + name;
  }
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::string& Path() const { return m_path; }

  const std::string& Write(const std::uint8_t* data, std::size_t size) {
    std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    Require(out.good(), "the scratch file can be written");
    return m_path;
  }

 private:
  std::string m_folder;
  std::string m_path;
};

}  // namespace varnola::fuzz

#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct pcre2_real_code_16;

namespace varnola {

// A stretch of the UTF-16 subject; `start` is -1 for a group that took no part.
struct MatchSpan {
  std::ptrdiff_t start = -1;
  std::ptrdiff_t end = -1;

  bool Found() const { return start >= 0; }
  std::size_t Length() const { return static_cast<std::size_t>(end - start); }
};

// The matches of one search, in subject order. Each match holds the whole match
// (group 0) and one span per group of the pattern.
class MatchList {
 public:
  explicit MatchList(int groupCount) : m_groupCount(groupCount) {}

  int Count() const { return static_cast<int>(m_spans.size() / Width()); }
  int GroupCount() const { return m_groupCount; }
  // 0-based match index; element 0 is the whole match, element k group k.
  std::span<const MatchSpan> Match(int index) const {
    return std::span<const MatchSpan>(m_spans).subspan(static_cast<std::size_t>(index) * Width(),
                                                       Width());
  }
  void Add(std::span<const MatchSpan> match) {
    m_spans.insert(m_spans.end(), match.begin(), match.end());
  }

 private:
  std::size_t Width() const { return static_cast<std::size_t>(m_groupCount) + 1; }

  int m_groupCount;
  std::vector<MatchSpan> m_spans;
};

// How many backtracking steps one search for the next match may take: enough for every
// real page many times over, few enough that a page that almost matches gives up within
// about a millisecond instead of backtracking for hours.
std::uint32_t DefaultMatchLimit(std::size_t subjectUnits);

// A pattern compiled (and JIT-compiled) once for a set of flags. Immutable, so threads
// share it; what a search needs to write is made per search or per thread.
class CompiledPattern {
 public:
  // The compiled pattern for local-text `pattern` and the flags; nullptr when the pattern
  // is invalid. Each distinct pattern and flag set is compiled once per process.
  static std::shared_ptr<const CompiledPattern> Get(const std::string& pattern, bool caseSensitive,
                                                    bool multiline);

  CompiledPattern(const CompiledPattern&) = delete;
  CompiledPattern& operator=(const CompiledPattern&) = delete;
  ~CompiledPattern();

  int GroupCount() const { return m_groupCount; }

  // Searches left to right, each search starting where the previous match ended (one
  // unit further after an empty match); only the first match unless `global`. A search
  // that hits `matchLimit` or any other engine limit ends the list there.
  MatchList FindAll(std::u16string_view subject, bool global, std::uint32_t matchLimit) const;

 private:
  CompiledPattern(pcre2_real_code_16* code, int groupCount)
      : m_code(code), m_groupCount(groupCount) {}
  static std::shared_ptr<const CompiledPattern> Compile(const std::string& pattern,
                                                        bool caseSensitive, bool multiline);

  pcre2_real_code_16* m_code;
  int m_groupCount;
};

}  // namespace varnola

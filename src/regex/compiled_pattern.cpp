#include "regex/compiled_pattern.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <optional>
#include <unordered_map>

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include "http/encodings.h"
#include "regex/pattern_dialect.h"

namespace varnola {
namespace {

// The dialect's meaning where PCRE2's default differs: "$" is the very end of the
// subject (not also before a final line feed); with multiline "^" also meets the end
// after a final line feed; a back-reference to a group that took no part matches the
// empty text; "[]" matches nothing and "[^]" anything. Each code unit is one character:
// UTF and Unicode properties stay off, also when a pattern asks for them (so "\d", "\w",
// "\s" and "\b" are ASCII, and ignoring case folds the ASCII letters only).
constexpr std::uint32_t kDialectOptions =
    PCRE2_DOLLAR_ENDONLY | PCRE2_ALT_CIRCUMFLEX | PCRE2_MATCH_UNSET_BACKREF |
    PCRE2_ALLOW_EMPTY_CLASS | PCRE2_NEVER_UTF | PCRE2_NEVER_UCP | PCRE2_NEVER_BACKSLASH_C;

// Room for the JIT's backtracking; the default 32 KB runs out on long pages with nested
// groups, and the stack grows only as far as a search needs.
constexpr std::size_t kJitStackStart = 32 * 1024;
constexpr std::size_t kJitStackMax = 1024 * 1024;

// The program uses a handful of patterns; the bound only keeps a caller that builds
// patterns from data from growing the cache without end.
constexpr std::size_t kCacheCapacity = 256;

constexpr std::uint32_t kMinimumMatchLimit = 1'000'000;
constexpr std::uint32_t kMatchLimitPerUnit = 4;

struct MatchDataFree {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

// A JIT stack may serve only one search at a time, so every thread that searches keeps
// its own, together with the match context that hands it and the limits to the engine.
class ThreadMatchContext {
 public:
  ThreadMatchContext()
      : m_context(pcre2_match_context_create(nullptr)),
        m_stack(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr)) {
    if (m_context && m_stack) pcre2_jit_stack_assign(m_context, nullptr, m_stack);
  }
  ThreadMatchContext(const ThreadMatchContext&) = delete;
  ThreadMatchContext& operator=(const ThreadMatchContext&) = delete;
  ~ThreadMatchContext() {
    pcre2_match_context_free(m_context);
    pcre2_jit_stack_free(m_stack);
  }

  // nullptr (the engine's defaults) only when the context could not be allocated.
  pcre2_match_context* WithLimit(std::uint32_t matchLimit) {
    if (!m_context) return nullptr;
    pcre2_set_match_limit(m_context, matchLimit);
    pcre2_set_depth_limit(m_context, matchLimit);
    return m_context;
  }

 private:
  pcre2_match_context* m_context;
  pcre2_jit_stack* m_stack;
};

pcre2_match_context* ThreadContext(std::uint32_t matchLimit) {
  thread_local ThreadMatchContext context;
  return context.WithLimit(matchLimit);
}

struct PatternCache {
  std::mutex mutex;
  std::unordered_map<std::string, std::shared_ptr<const CompiledPattern>> entries;
};

PatternCache& Cache() {
  // Never destroyed: detached worker threads may still search while the process exits.
  static auto* cache = new PatternCache;
  return *cache;
}

}  // namespace

std::uint32_t DefaultMatchLimit(std::size_t subjectUnits) {
  constexpr std::size_t kCeiling = std::numeric_limits<std::uint32_t>::max() / kMatchLimitPerUnit;
  return std::max(kMinimumMatchLimit, static_cast<std::uint32_t>(std::min(subjectUnits, kCeiling)) *
                                          kMatchLimitPerUnit);
}

std::shared_ptr<const CompiledPattern> CompiledPattern::Get(const std::string& pattern,
                                                            bool caseSensitive, bool multiline) {
  std::string key;
  key.reserve(pattern.size() + 2);
  key += caseSensitive ? 'C' : 'c';
  key += multiline ? 'M' : 'm';
  key += pattern;

  PatternCache& cache = Cache();
  {
    std::lock_guard lock(cache.mutex);
    if (auto found = cache.entries.find(key); found != cache.entries.end()) return found->second;
  }
  // Compiled outside the lock: two threads may compile the same pattern at once, and the
  // first one stored wins. An invalid pattern is remembered as nullptr.
  auto compiled = Compile(pattern, caseSensitive, multiline);
  std::lock_guard lock(cache.mutex);
  if (cache.entries.size() >= kCacheCapacity) cache.entries.clear();
  return cache.entries.emplace(std::move(key), std::move(compiled)).first->second;
}

std::shared_ptr<const CompiledPattern> CompiledPattern::Compile(const std::string& pattern,
                                                                bool caseSensitive,
                                                                bool multiline) {
  const std::optional<std::u16string> translated =
      TranslatePattern(ToWideText(pattern, kCodePageLocal), multiline);
  if (!translated) return nullptr;

  pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
  if (!context) return nullptr;
  pcre2_set_newline(context, PCRE2_NEWLINE_LF);  // "." stops at a line feed only
  std::uint32_t options = kDialectOptions;
  if (!caseSensitive) options |= PCRE2_CASELESS;
  if (multiline) options |= PCRE2_MULTILINE;
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(translated->data()),
                                   translated->size(), options, &error, &errorOffset, context);
  pcre2_compile_context_free(context);
  if (!code) return nullptr;

  // Without JIT support the interpreter runs the same pattern with the same results.
  pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);
  std::uint32_t groups = 0;
  pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &groups);
  return std::shared_ptr<const CompiledPattern>(
      new CompiledPattern(code, static_cast<int>(groups)));
}

CompiledPattern::~CompiledPattern() {
  pcre2_code_free(m_code);
}

MatchList CompiledPattern::FindAll(std::u16string_view subject, bool global,
                                   std::uint32_t matchLimit) const {
  MatchList matches(m_groupCount);
  std::unique_ptr<pcre2_match_data, MatchDataFree> data(
      pcre2_match_data_create_from_pattern(m_code, nullptr));
  if (!data) return matches;
  pcre2_match_context* context = ThreadContext(matchLimit);

  static constexpr char16_t kNoUnits[] = u"";
  const auto* units = reinterpret_cast<PCRE2_SPTR>(subject.empty() ? kNoUnits : subject.data());
  std::vector<MatchSpan> spans(static_cast<std::size_t>(m_groupCount) + 1);
  std::size_t start = 0;
  while (start <= subject.size()) {
    const int rc = pcre2_match(m_code, units, subject.size(), start, 0, data.get(), context);
    if (rc < 0) break;  // no further match, or a limit: the matches found so far stand
    const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(data.get());
    for (std::size_t group = 0; group < spans.size(); ++group) {
      const PCRE2_SIZE from = offsets[2 * group];
      spans[group] = from == PCRE2_UNSET
                         ? MatchSpan{}
                         : MatchSpan{static_cast<std::ptrdiff_t>(from),
                                     static_cast<std::ptrdiff_t>(offsets[2 * group + 1])};
    }
    matches.Add(spans);
    if (!global) break;
    // The next search starts where this match ended; after an empty match one unit on.
    const std::size_t end = std::max<std::size_t>(offsets[1], start);
    start = end > offsets[0] ? end : end + 1;
  }
  return matches;
}

}  // namespace varnola

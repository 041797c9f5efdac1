#include "regex/regex_object.h"

#include "http/encodings.h"
#include "http/local_text.h"
#include "http/text_between.h"
#include "regex/compiled_pattern.h"
#include "regex/replacement.h"

namespace varnola {

RegexObject::RegexObject() = default;
RegexObject::RegexObject(const RegexObject& other) = default;
RegexObject& RegexObject::operator=(const RegexObject& other) = default;
RegexObject::~RegexObject() = default;

bool RegexObject::Execute(const std::string& pattern, const std::string& subject,
                          bool caseSensitive, bool multiline, bool global, bool quotePlaceholders) {
  m_matches.reset();
  m_pattern = quotePlaceholders ? ReplaceAll(pattern, kQuotePlaceholder, "\"") : pattern;
  m_subject = ToWideText(subject, kCodePageLocal);
  const auto compiled = CompiledPattern::Get(m_pattern, caseSensitive, multiline);
  if (!compiled) return false;
  m_matches = std::make_shared<const MatchList>(
      compiled->FindAll(m_subject, global, DefaultMatchLimit(m_subject.size())));
  return true;
}

void RegexObject::NoOp() {}

std::string RegexObject::GetPattern() const {
  return m_pattern;
}

std::string RegexObject::Replace(const std::string& replacement) {
  // The matches of the last search are what a new search with the same pattern and flags
  // over the same subject would find, so they are replaced directly.
  if (!m_matches) return {};
  const std::u16string wideReplacement = ToWideText(replacement, kCodePageLocal);
  const std::u16string_view subject = m_subject;
  std::u16string out;
  std::size_t copied = 0;
  for (int i = 0; i < m_matches->Count(); ++i) {
    const auto match = m_matches->Match(i);
    const auto start = static_cast<std::size_t>(match[0].start);
    out += subject.substr(copied, start - copied);
    AppendReplacement(out, wideReplacement, subject, match);
    copied = static_cast<std::size_t>(match[0].end);
  }
  out += subject.substr(copied);
  return FromWideText(out, kCodePageLocal);
}

int RegexObject::MatchCount() const {
  return m_matches ? m_matches->Count() : 0;
}

std::string RegexObject::MatchText(int matchNumber, int* position) const {
  return Text(matchNumber, 0, position);
}

std::string RegexObject::SubMatchText(int matchNumber, int groupNumber, int* position) const {
  if (groupNumber < 1) {
    if (position) *position = -2;
    return {};
  }
  return Text(matchNumber, groupNumber, position);
}

int RegexObject::SubMatchCount() const {
  return MatchCount() > 0 ? m_matches->GroupCount() : 0;
}

// Group 0 is the whole match.
std::string RegexObject::Text(int matchNumber, int groupNumber, int* position) const {
  if (position) *position = -2;
  if (matchNumber < 1 || matchNumber > MatchCount() || groupNumber > m_matches->GroupCount()) {
    return {};
  }
  const MatchSpan span = m_matches->Match(matchNumber - 1)[static_cast<std::size_t>(groupNumber)];
  if (!span.Found()) return {};
  const std::u16string_view subject = m_subject;
  // The exact offset of the text's first unit: a search for the text could meet an
  // earlier copy of it inside the same match.
  if (position) {
    *position = static_cast<int>(
        FromWideText(subject.substr(0, static_cast<std::size_t>(span.start)), kCodePageLocal)
            .size());
  }
  return FromWideText(subject.substr(static_cast<std::size_t>(span.start), span.Length()),
                      kCodePageLocal);
}

}  // namespace varnola

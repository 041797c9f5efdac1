#pragma once

#include <memory>
#include <string>

namespace varnola {

class MatchList;

// The program's one pattern facility. `Execute` runs a pattern over a subject; the
// reading operations then refer to that search until the next `Execute` replaces it.
// All texts are local text; match and group numbers count from 1. Nothing fails loudly:
// an invalid pattern, a number out of range or a group that took no part gives an empty
// text or 0.
//
// Patterns follow the dialect described in regex/pattern_dialect.h: "." stops at a line
// feed, "[\s\S]" takes anything, "*?" and "+?" are lazy, groups count by their opening
// parenthesis, and with multiline "^" and "$" meet line boundaries. The subject is
// searched as UTF-16 code units, one unit one character.
//
// One object serves one caller at a time: an `Execute` and the reads of its results must
// not interleave with another `Execute` on the same object. Separate objects may be used
// from separate threads at once.
class RegexObject {
 public:
  RegexObject();
  // The copy shares the source's search results and gets a copy of its subject.
  RegexObject(const RegexObject& other);
  RegexObject& operator=(const RegexObject& other);
  virtual ~RegexObject();

  // True when the search ran, also when it found nothing; false for an invalid pattern.
  // With `quotePlaceholders` every "#引号" in the pattern stands for a double quote.
  // Without `global` only the first match is taken.
  virtual bool Execute(const std::string& pattern, const std::string& subject,
                       bool caseSensitive = false, bool multiline = true, bool global = true,
                       bool quotePlaceholders = false);
  virtual void NoOp();
  // The pattern of the last `Execute` (placeholders resolved); empty before the first.
  virtual std::string GetPattern() const;
  // The last subject with the matches of the last search replaced; "$1".."$99", "$&",
  // "$`", "$'" and "$$" in `replacement` are expanded. Empty when there is no search.
  virtual std::string Replace(const std::string& replacement);
  virtual int MatchCount() const;
  // `position`, when given, receives the 0-based byte offset of the text in the local
  // subject, or -2 when there is no such text.
  virtual std::string MatchText(int matchNumber, int* position = nullptr) const;
  virtual std::string SubMatchText(int matchNumber, int groupNumber, int* position = nullptr) const;
  // The number of groups of the first match; 0 when nothing matched.
  virtual int SubMatchCount() const;

 private:
  std::string Text(int matchNumber, int groupNumber, int* position) const;

  std::string m_pattern;  // of the last Execute, placeholders resolved
  // The results of the last search, shared with copies; empty before the first search and
  // after a search that did not run.
  std::shared_ptr<const MatchList> m_matches;
  std::u16string m_subject;  // of the last Execute
};

}  // namespace varnola

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "http/local_text.h"

namespace varnola::sim::test {

// The tool's two page patterns (UTF-8; convert with L()). They are built from literal
// text, lazy gaps "[\s\S]+?" and lazy one-line groups "(.*?)" only.
inline constexpr std::string_view kOrderListPattern =
    "<td>(.*?)</td>[\\s\\S]+?<td>(.*?)</td>[\\s\\S]+?<td>(.*?)</td>[\\s\\S]+?<td>(.*?)</td>"
    "[\\s\\S]+?<td>(.*?)</td>[\\s\\S]+?<td>(.*?)</td>[\\s\\S]+?<td>(.*?)</td>[\\s\\S]+?<td>\n"
    "[\\s\\S]+?<a href=\"/order/edit\\?id=(.*?)\"";

inline constexpr std::string_view kOrderDetailPattern =
    "<tbody>[\\s\\S]+?<tr>[\\s\\S]+?<td>(.*?)</td>[\\s\\S]+?<td>(.*?)</td>[\\s\\S]+?<td>包装方式:"
    "(.*?)</td>\n[\\s\\S]+?<td>(.*?)</td>[\\s\\S]+?<td>(.*?)</td>[\\s\\S]+?</tr>[\\s\\S]+?</tbody>"
    "[\\s\\S]+?</table>[\\s\\S]+? </div>[\\s\\S]+?</div>\n[\\s\\S]+?<div class=\"box\">[\\s\\S]+? "
    "<div class=\"box-body\">订单总价：(.*?)</div>[\\s\\S]+?</div>[\\s\\S]+?<div class=\"box\">\n"
    "[\\s\\S]+?<div class=\"box-body\">支付方式：(.*?)</div>[\\s\\S]+? </div>[\\s\\S]+?<div "
    "class=\"box\">\n[\\s\\S]+?<div class=\"box-body\">取件方式：(.*?)</div>[\\s\\S]+?</div>"
    "[\\s\\S]+? <div class=\"box\">[\\s\\S]+?<div class=\"box-body\">物流信息</div>[\\s\\S]+?<div "
    "class=\"box-body\">[\\s\\S]+?<table>[\\s\\S]+?<tr>[\\s\\S]+?<td>买家留言：</td>[\\s\\S]+?<td>"
    "(.*?)</td>[\\s\\S]+?</tr>[\\s\\S]+?<tr>[\\s\\S]+?<td>收 货 人：</td>[\\s\\S]+?<td>(.*?)</td>\n"
    "[\\s\\S]+?</tr>[\\s\\S]+?<tr>[\\s\\S]+?<td>联系电话：</td>[\\s\\S]+?<td>(.*?)</td>[\\s\\S]+?"
    "</tr>[\\s\\S]+?<tr>[\\s\\S]+?<td>地址：</td>[\\s\\S]+? <td>(.*?)</td>\n[\\s\\S]+?</tr>\n"
    "[\\s\\S]+?<tr>[\\s\\S]+?<td>物流单号：</td>[\\s\\S]+?<td>(.*?)</td>";

// Follows such a pattern through a page taking, at every gap and group, the first place
// where the next literal fits, which is the first thing a lazy regular-expression engine
// tries. When this walk succeeds the engine gives the same match; when it fails the page
// depends on backtracking, which a well-made page never needs. Searches step over whole
// characters of local text.
class PatternWalk {
 public:
  explicit PatternWalk(std::string_view pattern) {
    constexpr std::string_view kGap = "[\\s\\S]+?";
    constexpr std::string_view kGroup = "(.*?)";
    while (!pattern.empty()) {
      if (pattern.starts_with(kGap) || pattern.starts_with(kGroup)) {
        const bool gap = pattern.starts_with(kGap);
        m_tokens.push_back({gap ? Kind::Gap : Kind::Group, {}});
        pattern.remove_prefix(gap ? kGap.size() : kGroup.size());
        continue;
      }
      if (m_tokens.empty() || m_tokens.back().kind != Kind::Literal) {
        m_tokens.push_back({Kind::Literal, {}});
      }
      if (pattern.starts_with("\\?")) pattern.remove_prefix(1);
      m_tokens.back().text += pattern.front();
      pattern.remove_prefix(1);
    }
  }

  // Every match from the start of the page on, one after the other, each as its groups.
  std::vector<std::vector<std::string>> Matches(std::string_view page) const {
    std::vector<std::vector<std::string>> matches;
    long from = 1;
    while (auto match = MatchFrom(page, from)) {
      matches.push_back(std::move(match->groups));
      from = match->end;
    }
    return matches;
  }

 private:
  enum class Kind { Literal, Gap, Group };
  struct Token {
    Kind kind;
    std::string text;
  };
  struct Match {
    std::vector<std::string> groups;
    long end;  // 1-based position after the match
  };

  std::optional<Match> MatchFrom(std::string_view page, long from) const {
    if (m_tokens.empty() || m_tokens.front().kind != Kind::Literal) return std::nullopt;
    long pos = FindText(page, m_tokens.front().text, from);
    if (pos < 0) return std::nullopt;
    pos += static_cast<long>(m_tokens.front().text.size());
    Match match;
    for (std::size_t i = 1; i < m_tokens.size(); ++i) {
      const Token& token = m_tokens[i];
      if (token.kind == Kind::Literal) {
        if (page.substr(static_cast<std::size_t>(pos - 1), token.text.size()) != token.text) {
          return std::nullopt;
        }
        pos += static_cast<long>(token.text.size());
        continue;
      }
      if (i + 1 >= m_tokens.size()) return std::nullopt;  // patterns end in a literal
      const std::string& next = m_tokens[i + 1].text;
      const long start =
          token.kind == Kind::Gap
              ? pos + static_cast<long>(CharLengthAt(page, static_cast<std::size_t>(pos - 1)))
              : pos;
      const long found = FindText(page, next, start);
      if (found < 0) return std::nullopt;
      if (token.kind == Kind::Group) {
        std::string group(
            page.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(found - pos)));
        if (group.find('\n') != std::string::npos) return std::nullopt;
        match.groups.push_back(std::move(group));
      }
      pos = found;
    }
    match.end = pos;
    return match;
  }

  std::vector<Token> m_tokens;
};

}  // namespace varnola::sim::test

#include "http/header_text.h"

#include "http/local_text.h"
#include "http/text_between.h"

namespace varnola {
namespace {

constexpr std::string_view kAgentLabel = "User-Agent:";
constexpr std::string_view kSetCookie = "Set-Cookie";
constexpr std::string_view kSetCookieLabel = "Set-Cookie:";

// Every occurrence of `what`, in any letter case, removed.
std::string RemoveIgnoringCase(std::string_view text, std::string_view what) {
  std::string result(text);
  for (long at = FindText(result, what, 1, true); at > 0; at = FindText(result, what, at, true)) {
    result.erase(static_cast<std::size_t>(at - 1), what.size());
  }
  return result;
}

// A line break inside a value would start a header line of its own on the wire.
std::string OnOneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return line;
}

}  // namespace

std::string AgentString(std::string_view extraHeaders) {
  const long labelAt = FindText(extraHeaders, kAgentLabel, 1, true);
  if (labelAt < 0) return std::string(kDefaultAgent);

  std::string agent = TrimText(OnOneLine(TextBetween(extraHeaders, kAgentLabel, "\r\n")));
  if (!agent.empty()) return agent;

  // The line is the last one, or its label is spelt in another letter case: its value
  // runs from the label to the end of its line.
  std::string_view value =
      extraHeaders.substr(static_cast<std::size_t>(labelAt - 1) + kAgentLabel.size());
  value = value.substr(0, value.find("\r\n"));
  agent = TrimText(OnOneLine(value));
  return agent.empty() ? std::string(kDefaultAgent) : agent;
}

std::string BuildHeaderBlock(std::string_view extraHeaders, std::string_view url,
                             std::string_view cookieText) {
  std::string block(extraHeaders);
  if (block.empty()) {
    block = "Accept: */*";
  } else if (!ContainsText(block, "Accept:")) {
    block.append("\r\nAccept: */*");
  }
  if (!ContainsText(block, "Referer:")) block.append("\r\nReferer: ").append(url);
  if (!ContainsText(block, "Accept-Language:")) block.append("\r\nAccept-Language: zh-cn");
  if (!ContainsText(block, "Content-Type:")) {
    block.append("\r\nContent-Type: application/x-www-form-urlencoded");
  }
  if (!cookieText.empty()) block.append("\r\nCookie: ").append(cookieText);
  return block;
}

std::vector<std::string> HeaderLines(std::string_view headerBlock) {
  std::vector<std::string> lines;
  for (const std::string& line : SplitText(headerBlock, "\r\n")) {
    if (!line.empty()) lines.push_back(OnOneLine(line));
  }
  return lines;
}

std::string NormaliseSetCookie(std::string_view rawHeaders) {
  std::string text(rawHeaders);
  for (long at = FindText(text, kSetCookie, 1, true); at > 0;
       at = FindText(text, kSetCookie, at + static_cast<long>(kSetCookie.size()), true)) {
    text.replace(static_cast<std::size_t>(at - 1), kSetCookie.size(), kSetCookie);
  }
  return text;
}

std::string CookiesFromHeaders(std::string_view rawHeaders) {
  std::string cookies;
  for (const std::string& line : SplitText(rawHeaders, "\r\n")) {
    if (!ContainsText(line, kSetCookie)) continue;
    if (ContainsText(line, ";")) {
      cookies.append(TrimText(TextBetween(line, kSetCookieLabel, ";")));
    } else {
      cookies.append(TrimText(RemoveIgnoringCase(line, kSetCookieLabel)));
    }
    cookies.append("; ");
  }
  if (!cookies.empty()) cookies.resize(cookies.size() - 2);
  return cookies;
}

}  // namespace varnola

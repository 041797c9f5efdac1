#include "console_output.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace varnola::cli {
namespace {

std::string Written(std::FILE* file) {
  std::fflush(file);
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text.push_back(static_cast<char>(c));
  return text;
}

TEST(ConsoleOutputTest, EveryLineOfATextCarriesThePrefix) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  {
    ConsoleOutput out(file, false);
    out.Line("message: ", "first\r\nsecond\n");
    out.Line("say: ", "");
    out.Progress(50);  // no bar when the output is no terminal
  }
  EXPECT_EQ(Written(file), "message: first\nmessage: second\nsay: \n");
  std::fclose(file);
}

TEST(ConsoleOutputTest, ALineFirstClearsTheProgressBar) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  {
    ConsoleOutput out(file, true);
    out.Progress(150);
    out.Line("say: ", "x");
  }
  const std::string text = Written(file);
  EXPECT_NE(text.find("] 100%\r\033[Ksay: x\n"), std::string::npos) << text;
  std::fclose(file);
}

}  // namespace
}  // namespace varnola::cli

// The help text's layout: an empty first line, then seventeen lines in a fixed order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/help_window.h"

namespace {

// Splits at "\n", "\r\n" or a lone "\r", as the text box shows it.
std::vector<std::string> ShownLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += text[i];
    }
  }
  if (lines.back().empty()) lines.pop_back();
  return lines;
}

TEST(HelpText, StartsWithAnEmptyLineAndHasSeventeenPieces) {
  const std::string text = BuildHelpText();
  const auto lines = ShownLines(text);
  ASSERT_EQ(lines.size(), 18u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1].rfind("Draw in black canvas area", 0), 0u);
  EXPECT_EQ(lines[2].rfind("You can change various characteristics", 0), 0u);
  EXPECT_EQ(lines[17], "*Adjust Frequency Band Level: Adjust level in the final sound of each sinewave created from "
                       "each pixel row");
  for (std::size_t i = 3; i < lines.size(); ++i) EXPECT_EQ(lines[i][0], '*') << i;
}

TEST(HelpText, PiecesAreJoinedByLineFeedAndCarriageReturn) {
  const std::string text = BuildHelpText();
  EXPECT_EQ(text.front(), '\n');
  EXPECT_EQ(text.back(), '\r');
  EXPECT_NE(text.find("to hear image converted to sound\nYou can change"), std::string::npos);
  EXPECT_NE(text.find("right of the application\r\n*Color Selector button"), std::string::npos);
  EXPECT_EQ(text.find("\r\r"), std::string::npos);
  EXPECT_EQ(text.find("\n\n"), std::string::npos);
}

}  // namespace

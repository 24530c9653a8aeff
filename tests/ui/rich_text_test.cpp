// The read-only text box and how the program's line ends become displayed lines.
#include <QTest>

#include <ostream>
#include <QScrollBar>
#include <QTextEdit>

#include "ui/ui_line_breaks.h"
#include "ui_fixture.h"

namespace {

struct LineCase {
  const char* text;
  const char* shown;
};

// Shows the case with its control characters spelt out, so a failing case can be read.
void PrintTo(const LineCase& lineCase, std::ostream* out) {
  std::string spelt;
  for (const char* c = lineCase.text; *c; ++c) spelt += *c == '\r' ? "\\r" : *c == '\n' ? "\\n" : std::string(1, *c);
  *out << '"' << spelt << '"';
}

class LineBreakTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineBreakTest, LineEndsBecomeDisplayedLines) {
  EXPECT_EQ(DisplayLines(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LineBreakTest,
    ::testing::Values(LineCase{"", ""}, LineCase{"one", "one"}, LineCase{"a\nb", "a\nb"},
                      LineCase{"a\r\nb", "a\nb"}, LineCase{"a\rb", "a\nb"}, LineCase{"a\r", "a"},
                      LineCase{"a\n", "a"}, LineCase{"a\r\n", "a"}, LineCase{"\na", "\na"},
                      LineCase{"a\r\r\nb", "a\n\nb"}, LineCase{"a\n\rb", "a\n\nb"},
                      LineCase{"a\r\n\r\n", "a\n"}, LineCase{"\r", ""},
                      LineCase{"\nfirst\nsecond\r\nthird\r", "\nfirst\nsecond\nthird"}));

using RichTextTest = UiTest;

int MakeText() { return UiCreateControl(1, -1, ControlKind::RichText, 5, 5, 300, 100); }

const char* const Pieces[] = {"\nDraw in the black area", "\nSecond line\r", "\n*Third line\r"};

TEST_F(RichTextTest, TextIsShownLineByLineAndGivenBackAsSet) {
  ASSERT_TRUE(UiOpenWindow(1, "Help", 310, 110));
  const int text = MakeText();
  std::string whole;
  for (const char* piece : Pieces) whole += piece;
  UiSetText(text, whole);
  EXPECT_EQ(UiGetText(text), whole);
  auto* box = static_cast<QTextEdit*>(UiWidget(text));
  EXPECT_EQ(box->toPlainText(), QString("\nDraw in the black area\nSecond line\n*Third line"));
  EXPECT_EQ(box->document()->blockCount(), 4);
}

TEST_F(RichTextTest, TypingDoesNotChangeTheText) {
  ASSERT_TRUE(UiOpenWindow(1, "Help", 310, 110));
  const int text = MakeText();
  UiSetText(text, "fixed\r");
  KeyOnControl(text, Qt::Key_X);
  KeyOnControl(text, Qt::Key_Backspace);
  KeyOnControl(text, Qt::Key_Delete);
  QTest::keyClicks(UiWidget(text), "typed");
  auto* box = static_cast<QTextEdit*>(UiWidget(text));
  EXPECT_EQ(box->toPlainText(), QString("fixed"));
  EXPECT_TRUE(box->isReadOnly());
  EXPECT_TRUE(box->textInteractionFlags() & Qt::TextSelectableByMouse);
  EXPECT_TRUE(PumpEvents().empty());
}

TEST_F(RichTextTest, LongTextIsKeptWholeAndScrolls) {
  ASSERT_TRUE(UiOpenWindow(1, "Help", 310, 110));
  const int text = MakeText();
  std::string longText;
  for (int line = 0; line < 2000; ++line) longText += "\nA line that is rather longer than the box is wide, so it scrolls\r";
  UiSetText(text, longText);
  EXPECT_EQ(UiGetText(text), longText);
  auto* box = static_cast<QTextEdit*>(UiWidget(text));
  EXPECT_EQ(box->document()->blockCount(), 2001);
  EXPECT_GT(box->verticalScrollBar()->maximum(), 0);
  EXPECT_GT(box->horizontalScrollBar()->maximum(), 0);
}

}  // namespace

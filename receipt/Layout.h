#pragma once
// Lines of a printed slip (a receipt, an X or Z report) and how they sit on the
// paper's grid of character cells. Windows-free: the drawing, the printing and
// the plain text for the clipboard all place text by these rules, so that what
// the preview shows, what the printer prints and what is pasted agree.
#include <string>
#include <vector>

namespace receipt {

enum class Align { Left, Centre, Right };

// One line as the layout means it. With an amount, the text stands on the left
// and the amount ends at the right edge of the same line when both fit.
struct Line {
    std::wstring text;
    Align align = Align::Left;
    std::wstring amount;
};

Line Left(std::wstring text);
Line Centre(std::wstring text);
Line Right(std::wstring text);
Line Amount(std::wstring text, std::wstring amount);

// A report's line on paper: its caption on the left and its values, a space
// apart, ending at the right edge; the caption alone when it has none.
Line Captioned(std::wstring caption, const std::vector<std::wstring>& values);

// Lines from plain text (a report): one per line of the text (CR LF, LF or CR);
// a TAB splits a line into its text and a right-aligned amount.
std::vector<Line> FromText(const std::wstring& text);

// The cells a character takes in a fixed-pitch Japanese face: 1 for ASCII, the
// yen sign, Latin letters and half-width katakana, 2 for everything else
// (kanji, kana, full-width forms, and the marks such as "※" and "×" that the
// Japanese character set draws full-width).
int CellsOf(wchar_t c);
int Cells(const std::wstring& text);

// A piece of text starting at a column (0 = the left edge).
struct Piece {
    int column = 0;
    std::wstring text;
};
using Row = std::vector<Piece>;

// The lines as rows of at most `columns` cells. Nothing is ever cut: an amount
// that does not fit beside its text (one space between them) goes on a row of
// its own, right-aligned, under the text; a text wider than the paper is
// wrapped at its last space that fits, or between two characters when a word
// alone is too wide, each row aligned like its line.
std::vector<Row> Arrange(const std::vector<Line>& lines, int columns);

// The rows on pages of at most perPage rows. Rows that need more than one
// page carry a mark at the top of each page, right-aligned: mark (a receipt's
// "No.n"; empty for a report) and the page's place, "2/3", so that no slip can
// be taken for another receipt.
std::vector<std::vector<Row>> Pages(const std::vector<Row>& rows, int perPage, const std::wstring& mark, int columns);

// The lines as plain text: rows padded with spaces (for a fixed-pitch face),
// no trailing spaces, each row ended by CR LF.
std::wstring PlainText(const std::vector<Line>& lines, int columns);

}  // namespace receipt

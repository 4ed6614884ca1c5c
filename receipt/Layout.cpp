#include "receipt/Layout.h"

#include <algorithm>

namespace receipt {

Line Left(std::wstring text) { return Line{std::move(text), Align::Left, {}}; }
Line Centre(std::wstring text) { return Line{std::move(text), Align::Centre, {}}; }
Line Right(std::wstring text) { return Line{std::move(text), Align::Right, {}}; }
Line Amount(std::wstring text, std::wstring amount) { return Line{std::move(text), Align::Left, std::move(amount)}; }

Line Captioned(std::wstring caption, const std::vector<std::wstring>& values) {
    if (values.empty()) return Left(std::move(caption));
    std::wstring amount;
    for (const std::wstring& value : values) amount += (amount.empty() ? L"" : L" ") + value;
    return Amount(std::move(caption), std::move(amount));
}

std::vector<Line> FromText(const std::wstring& text) {
    std::vector<Line> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        size_t tab = line.find(L'\t');
        if (tab == std::wstring::npos) {
            lines.push_back(Left(line));
        } else {
            std::wstring amount = line.substr(tab + 1);
            std::replace(amount.begin(), amount.end(), L'\t', L' ');
            lines.push_back(Amount(line.substr(0, tab), amount));
        }
        start = end;
        if (start < text.size() && text[start] == L'\r') ++start;
        if (start < text.size() && text[start] == L'\n') ++start;
    }
    return lines;
}

int CellsOf(wchar_t c) {
    // The second half of a surrogate pair: the first half counts for both.
    if (c >= 0xDC00 && c <= 0xDFFF) return 0;
    if (c < 0x0370) {
        // Latin-1 marks that the Japanese character set has in full width.
        switch (c) {
        case 0x00A7:
        case 0x00A8:
        case 0x00B0:
        case 0x00B1:
        case 0x00B4:
        case 0x00B6:
        case 0x00D7:
        case 0x00F7: return 2;
        default: return 1;
        }
    }
    if ((c >= 0xFF61 && c <= 0xFF9F) || (c >= 0xFFE8 && c <= 0xFFEE)) return 1;  // half-width forms
    return 2;
}

int Cells(const std::wstring& text) {
    int cells = 0;
    for (wchar_t c : text) cells += CellsOf(c);
    return cells;
}

namespace {

std::wstring TrimRight(std::wstring text) {
    text.erase(text.find_last_not_of(L' ') + 1);
    return text;
}

// Text in rows of at most `columns` cells, broken at the last space that fits,
// else between characters (never inside a surrogate pair); an empty text is
// one empty row.
std::vector<std::wstring> Wrap(std::wstring text, int columns) {
    std::vector<std::wstring> rows;
    while (Cells(text) > columns) {
        size_t fits = 0;  // the longest start of the text that fits
        for (int used = 0; fits < text.size() && used + CellsOf(text[fits]) <= columns; ++fits)
            used += CellsOf(text[fits]);
        if (fits == 0) fits = text[0] >= 0xD800 && text[0] <= 0xDBFF && text.size() > 1 ? 2 : 1;
        size_t space = text.rfind(L' ', fits);
        size_t cut = fits, resume = fits;
        if (space != std::wstring::npos && space > 0 && !TrimRight(text.substr(0, space)).empty()) {
            cut = space;
            resume = space + 1;
        }
        rows.push_back(TrimRight(text.substr(0, cut)));
        resume = std::min(text.find_first_not_of(L' ', resume), text.size());
        text.erase(0, resume);
        if (text.empty()) return rows;
    }
    rows.push_back(text);
    return rows;
}

void AddRow(std::vector<Row>& rows, const std::wstring& text, Align align, int columns) {
    if (text.empty()) {
        rows.emplace_back();
        return;
    }
    int free = std::max(columns - Cells(text), 0);
    int column = align == Align::Left ? 0 : align == Align::Centre ? free / 2 : free;
    rows.push_back(Row{Piece{column, text}});
}

}  // namespace

std::vector<Row> Arrange(const std::vector<Line>& lines, int columns) {
    columns = std::max(columns, 1);
    std::vector<Row> rows;
    for (const Line& line : lines) {
        if (line.amount.empty()) {
            for (const std::wstring& part : Wrap(line.text, columns)) AddRow(rows, part, line.align, columns);
            continue;
        }
        int amountCells = Cells(line.amount);
        if (line.text.empty() || Cells(line.text) + 1 + amountCells <= columns) {
            Row row;
            if (!line.text.empty()) row.push_back(Piece{0, line.text});
            if (amountCells <= columns) {
                row.push_back(Piece{columns - amountCells, line.amount});
                rows.push_back(row);
                continue;
            }
            if (!row.empty()) rows.push_back(row);
        } else {
            for (const std::wstring& part : Wrap(line.text, columns)) AddRow(rows, part, Align::Left, columns);
        }
        // The amount did not fit beside its text: it goes under it, whole.
        for (const std::wstring& part : Wrap(line.amount, columns)) AddRow(rows, part, Align::Right, columns);
    }
    return rows;
}

std::vector<std::vector<Row>> Pages(const std::vector<Row>& rows, int perPage, const std::wstring& mark, int columns) {
    if (static_cast<int>(rows.size()) <= perPage || perPage < 2) return {rows};
    const std::size_t body = static_cast<std::size_t>(perPage - 1);
    const std::size_t count = (rows.size() + body - 1) / body;
    std::vector<std::vector<Row>> pages;
    for (std::size_t page = 0; page < count; ++page) {
        std::wstring place = std::to_wstring(page + 1) + L"/" + std::to_wstring(count);
        std::vector<Row> slip = Arrange({Right(mark.empty() ? place : mark + L" " + place)}, columns);
        auto first = rows.begin() + static_cast<std::ptrdiff_t>(page * body);
        slip.insert(slip.end(), first, first + static_cast<std::ptrdiff_t>(std::min(body, rows.size() - page * body)));
        pages.push_back(std::move(slip));
    }
    return pages;
}

std::wstring PlainText(const std::vector<Line>& lines, int columns) {
    std::wstring text;
    for (const Row& row : Arrange(lines, columns)) {
        std::wstring out;
        for (const Piece& piece : row) {
            int at = Cells(out);
            if (piece.column > at) out.append(static_cast<size_t>(piece.column - at), L' ');
            out += piece.text;
        }
        text += TrimRight(out) + L"\r\n";
    }
    return text;
}

}  // namespace receipt

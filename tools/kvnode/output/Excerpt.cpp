#include "output/Excerpt.h"

#include "output/Escape.h"

#include <algorithm>

namespace kvnode {

namespace {

// A window is at most this many columns wide, "..." included, and shows
// this many before the caret when the line goes on after it.
constexpr int kWidth = 120;
constexpr int kBefore = 40;
const std::string kCut = "...";

// the columns a character takes when a window is measured: a tab up to eight
int Columns(const ShownCharacter& c) { return c.tab ? 8 : c.width; }

size_t Previous(const std::string& text, size_t at, size_t floor)
{
    do
        --at;
    while (at > floor && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80);
    return at;
}

} // namespace

Excerpt MakeExcerpt(const SourceText& source, int line, int column, int endLine, int endColumn)
{
    Excerpt e;
    if (line < 1 || line > source.LineCount())
        return e;
    const std::string& text = source.Text();
    const size_t start = source.LineStart(line), end = source.LineEnd(line);
    const size_t caret = source.OffsetOf(line, column);

    // the window: the whole line when it fits, else kBefore columns before the caret and what fits after
    size_t from = start, to = start;
    int width = 0;
    while (to < end && width <= kWidth) {
        const ShownCharacter c = ShowCharacter(text, to, true);
        width += Columns(c);
        to += c.length;
    }
    if (width > kWidth) {
        const int room = kWidth - 2 * static_cast<int>(kCut.size());
        // takes in the characters before from while the window is narrower than limit
        const auto widenBack = [&](int limit) {
            while (from > start) {
                const size_t before = Previous(text, from, start);
                const int w = Columns(ShowCharacter(text, before, true));
                if (width + w > limit)
                    break;
                width += w;
                from = before;
            }
        };
        from = to = caret;
        width = 0;
        widenBack(kBefore);
        while (to < end) {
            const ShownCharacter c = ShowCharacter(text, to, true);
            if (width + Columns(c) > room)
                break;
            width += Columns(c);
            to += c.length;
        }
        if (to == end) // the line ends soon after the caret: show more before it
            widenBack(room);
    }

    // the range under the caret, as far as the window shows it
    const size_t rangeEnd = [&] {
        if (endLine > line)
            return to;
        size_t at = caret;
        for (int n = column; n < endColumn && at < to; ++n)
            at += ShowCharacter(text, at, true).length;
        return at;
    }();

    e.line = line;
    if (from > start) {
        e.text = kCut;
        e.marker.assign(kCut.size(), ' ');
    }
    for (size_t at = from; at < to;) {
        const ShownCharacter c = ShowCharacter(text, at, true);
        e.text += c.text;
        if (at < caret)
            e.marker += c.tab ? std::string("\t") : std::string(static_cast<size_t>(c.width), ' ');
        else if (at == caret)
            e.marker += "^" + std::string(static_cast<size_t>(c.width - 1), '~');
        else if (at < rangeEnd)
            e.marker += std::string(static_cast<size_t>(c.width), '~');
        at += c.length;
    }
    if (caret >= to)
        e.marker += '^'; // past the end of the line (or of the window)
    if (to < end)
        e.text += kCut;
    return e;
}

} // namespace kvnode

#pragma once
// The lines under a finding's message, as gcc and clang print them: the
// source line, and a caret under the finding's column with ~~~ under the
// rest of what it points at. A long line is shown as a window around the
// caret, marked "..." where it is cut, so a finding's output is bounded
// whatever the line. Control characters in the line show as escapes.
#include "model/SourceText.h"

#include <string>

namespace kvnode {

struct Excerpt {
    int line = 0;       // 0: nothing to show
    std::string text;   // the line, or the window of it
    std::string marker; // blanks (tabs where the line has tabs), then ^~~~
};

// the excerpt of source from line and column to just before endLine and endColumn
Excerpt MakeExcerpt(const SourceText& source, int line, int column, int endLine, int endColumn);

} // namespace kvnode

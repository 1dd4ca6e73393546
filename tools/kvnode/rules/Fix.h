#pragma once
// A rule's mending of one of its findings, as `kvnode check --fix` applies
// it: new text for the attribute's value, for the finding's subject within
// the value, for the attribute's name, or for the element's name (in its
// start and end tags). The rule says what to write; Lint finds where, in the
// bytes it read, and what bytes stand for the text in the file's encoding,
// so that a fix changes those bytes and no others.
#include "model/Spelling.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace kvnode {

struct Fix {
    enum class Part { Value, Subject, Name, Element };

    Part part = Part::Value;
    std::string text; // UTF-8, as the author would have written it
    bool safe = false; // the one reading of what the author meant; unsafe: a guess

    // set by Lint: the bytes [begin, end) of the file that the fix replaces,
    // and what with; one edit, or an element's name in both its tags
    struct Edit {
        size_t begin = 0, end = 0;
        std::string bytes;
    };
    std::vector<Edit> edits;

    static Fix Safe(Part part, std::string text) { return Make(part, std::move(text), true); }
    static Fix Unsafe(Part part, std::string text) { return Make(part, std::move(text), false); }

private:
    static Fix Make(Part part, std::string text, bool safe)
    {
        Fix fix;
        fix.part = part;
        fix.text = std::move(text);
        fix.safe = safe;
        return fix;
    }
};

// the suggestion differs from the word only in letter case or blanks
inline bool SameButCaseOrBlanks(const Suggestion& s) { return !s.word.empty() && s.distance == 0; }

} // namespace kvnode

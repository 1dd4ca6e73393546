#include "commands/Diff.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace kvnode {

namespace {

using Lines = std::vector<std::string_view>; // each with its line end, if it has one

Lines Split(const std::string& text)
{
    Lines lines;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size() - 1) + 1;
        lines.emplace_back(text.data() + start, end - start);
        start = end;
    }
    return lines;
}

enum class Op { Keep, Remove, Add };

// Myers' shortest edit script. Its trace grows with the square of the number
// of edits; past a bound the texts have little in common, and removing one
// and adding the other is as useful a diff.
std::vector<Op> EditScript(const Lines& a, const Lines& b)
{
    const int n = static_cast<int>(a.size()), m = static_cast<int>(b.size());
    const int maxEdits = std::min(n + m, 2000);
    const int offset = maxEdits + 1;
    std::vector<int> v(2 * static_cast<size_t>(offset) + 1, 0);
    std::vector<std::vector<int>> trace; // before each step d, v for k in -d..d
    int found = -1;
    for (int d = 0; d <= maxEdits && found < 0; ++d) {
        trace.emplace_back(v.begin() + offset - d, v.begin() + offset + d + 1);
        for (int k = -d; k <= d; k += 2) {
            int x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1])) ? v[offset + k + 1]
                                                                                     : v[offset + k - 1] + 1;
            int y = x - k;
            while (x < n && y < m && a[x] == b[y]) {
                ++x;
                ++y;
            }
            v[offset + k] = x;
            if (x >= n && y >= m) {
                found = d;
                break;
            }
        }
    }
    std::vector<Op> ops;
    if (found < 0) {
        ops.assign(static_cast<size_t>(n), Op::Remove);
        ops.insert(ops.end(), static_cast<size_t>(m), Op::Add);
        return ops;
    }
    int x = n, y = m;
    for (int d = found; d > 0; --d) {
        const std::vector<int>& prev = trace[static_cast<size_t>(d)];
        const auto at = [&](int k) { return prev[static_cast<size_t>(k + d)]; };
        const int k = x - y;
        const bool down = k == -d || (k != d && at(k - 1) < at(k + 1));
        const int prevK = down ? k + 1 : k - 1;
        const int prevX = at(prevK), prevY = prevX - prevK;
        for (; x > prevX && y > prevY; --x, --y)
            ops.push_back(Op::Keep);
        ops.push_back(down ? Op::Add : Op::Remove);
        x = prevX;
        y = prevY;
    }
    for (; x > 0; --x)
        ops.push_back(Op::Keep);
    std::reverse(ops.begin(), ops.end());
    return ops;
}

void AppendLine(std::string& out, char mark, std::string_view line)
{
    out += mark;
    out.append(line.data(), line.size());
    if (line.empty() || line.back() != '\n')
        out += "\n\\ No newline at end of file\n";
}

std::string Range(size_t start, size_t count)
{
    // an empty side is named by the line before it
    std::string s = std::to_string(count ? start + 1 : start);
    return count == 1 ? s : s + "," + std::to_string(count);
}

} // namespace

std::string UnifiedDiff(const std::string& before, const std::string& after, const std::string& name, int context)
{
    if (before == after)
        return std::string();
    const Lines a = Split(before), b = Split(after);
    const std::vector<Op> ops = EditScript(a, b);
    const size_t ctx = static_cast<size_t>(std::max(context, 0));
    std::string out = "--- " + name + "\n+++ " + name + "\n";
    size_t i = 0;
    while (i < ops.size()) {
        // a hunk: from ctx before the next change to ctx after the last change closer than 2*ctx
        size_t first = i;
        while (first < ops.size() && ops[first] == Op::Keep)
            ++first;
        if (first == ops.size())
            break;
        size_t start = first > ctx ? first - ctx : 0;
        start = std::max(start, i);
        size_t end = first, keeps = 0;
        for (size_t j = first; j < ops.size(); ++j) {
            keeps = ops[j] == Op::Keep ? keeps + 1 : 0;
            if (keeps > 2 * ctx)
                break;
            if (ops[j] != Op::Keep)
                end = j + 1;
        }
        end = std::min(end + ctx, ops.size());
        size_t ai = 0, bi = 0; // lines of a and b before start
        for (size_t j = 0; j < start; ++j) {
            ai += ops[j] != Op::Add;
            bi += ops[j] != Op::Remove;
        }
        size_t aCount = 0, bCount = 0;
        std::string body;
        for (size_t j = start; j < end; ++j) {
            if (ops[j] == Op::Keep)
                AppendLine(body, ' ', a[ai + aCount]);
            else if (ops[j] == Op::Remove)
                AppendLine(body, '-', a[ai + aCount]);
            else
                AppendLine(body, '+', b[bi + bCount]);
            aCount += ops[j] != Op::Add;
            bCount += ops[j] != Op::Remove;
        }
        out += "@@ -" + Range(ai, aCount) + " +" + Range(bi, bCount) + " @@\n" + body;
        i = end;
    }
    return out;
}

} // namespace kvnode

# Reads a header's comments as Doxygen documentation, keeping every line where
# it is (warnings then point at the header's own lines): a run of comment
# lines documents the one declaration that follows it, and a comment after a
# declaration on its line documents that declaration. A comment never spreads
# to the declarations after the first, so each needs one of its own, and one
# without fails the reference as undocumented.
/^[ \t]*\/\/([^\/!]|$)/ { line = $0; sub(/\/\//, "///", line); print line; next }
{
  line = $0
  # a trailing comment, unless a text before it could hold the "//"
  at = index(line, "//")
  if (at && line !~ /^[ \t]*#/ && substr(line, 1, at - 1) !~ /["']/)
    line = substr(line, 1, at - 1) " ///< " substr(line, at + 2)
  print line
}

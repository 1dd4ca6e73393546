# Reads a header's comments as Doxygen documentation, keeping every line where
# it is (warnings then point at the header's own lines): a comment line
# documents what follows it; a comment directly above a block of
# declarations documents each of them; a comment after a declaration
# documents that declaration.
function flush() { for (i = 1; i <= held; ++i) print comment[i]; held = 0 }
/^[ \t]*\/\/([^\/!]|$)/ {
  line = $0; sub(/\/\//, "///", line)
  if (!held && grouped) { line = "/** @} */ " line; grouped = 0 }
  comment[++held] = line; next
}
/^#/ { flush(); print; next }
/^[ \t]*$/ { flush(); print grouped ? "/// @}" : $0; grouped = 0; next }
/^[ \t]*(public|protected|private):/ || /^[ \t]*};/ || /^}/ {
  flush(); print (grouped ? "/** @} */ " : "") $0; grouped = 0; next
}
{
  line = $0
  if (line !~ /"/) sub(/[ \t]*\/\/[ \t]*/, " ///< ", line)
  if (held && line !~ /^[ \t]*(class|struct|enum|union|namespace|template)[ \t<]/) { comment[held] = comment[held] " @{"; grouped = 1 }
  flush(); print line
}
END { flush(); if (grouped) print "/// @}" }

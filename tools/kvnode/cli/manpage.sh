#!/bin/sh
# Writes the manual page kvnode(1) from the tool's own --help texts, so that
# the page says what the built tool says.
# Usage: manpage.sh KVNODE OUT
set -eu
kvnode=$1
out=$2
# all the text first, so that a tool that fails writes no page
help=$("$kvnode" --help)
for command in $(printf '%s\n' "$help" | sed -n 's/^  kvnode \([a-z]*\).*/\1/p'); do
  text=$("$kvnode" "$command" --help)
  help=$(printf '%s\n@command\n%s' "$help" "$text")
done
printf '%s\n' "$help" | awk '
# roff takes a backslash, and a line opening with a dot or quote, as markup;
# a plain "-" may print as a hyphen, which cannot be pasted into a shell
function roff(s) {
  gsub(/\\/, "\\e", s); gsub(/-/, "\\-", s)
  if (s ~ /^[.\047]/) s = "\\&" s
  return s
}
function indent(s) { match(s, /^ */); return RLENGTH }
function trim(s) { sub(/^ +/, "", s); sub(/ +$/, "", s); return s }
function bold(s) { return "\\fB" roff(s) "\\fR" }
function usage(s) { sub(/^(Usage:)? *kvnode/, "", s); return bold("kvnode") roff(s) }

{ line[++n] = $0 }

END {
  # the first line of the tool help names the tool; its usage lines and the
  # commands it lists make the synopsis
  version = line[1]; sub(/:.*/, "", version)
  name = line[1]; sub(/^[^:]*: */, "", name)
  printf ".TH KVNODE 1 \"\" \"%s\" \"User Commands\"\n", roff(version)
  print ".SH NAME\nkvnode \\- " roff(name) "\n.SH SYNOPSIS\n.nf"
  for (i = 2; i <= n && line[i] != "@command"; ++i)
    if (line[i] ~ /^(Usage:|  +kvnode )/)
      print usage(line[i])
  print ".fi\n.SH COMMANDS"

  # each command help makes a section: plain lines are filled paragraphs,
  # a line indented by two, or an option however indented, opens an item (an
  # option and what it does, or a heading over the lines indented deeper below it)
  for (; i <= n; ++i) {
    if (line[i] == "@command") {
      print ".SS \"" roff(substr(line[++i], 8)) "\""
      broken = 0; last = 0
      continue
    }
    if (line[i] == "") { broken = 1; continue }
    depth = indent(line[i])
    if (depth == 0) {
      if (broken || last > 0) print ".PP"
      print roff(line[i])
    } else if (depth == 2 || trim(line[i]) ~ /^-/) {
      print ".TP"
      item = trim(line[i])
      if (item !~ /^-/ && indent(line[i + 1]) > 2) {
        gsub(/  +/, " ", item); print bold(item)
      } else if (match(item, /   */)) {
        print bold(substr(item, 1, RSTART - 1)); print roff(substr(item, RSTART + RLENGTH))
      } else {
        print bold(item)
      }
    } else {
      print roff(trim(line[i]))
    }
    broken = 0; last = depth
  }
}' >"$out.tmp"
mv "$out.tmp" "$out"

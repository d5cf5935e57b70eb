#!/usr/bin/env bash
# Installs a build tree into a temporary prefix and checks what a Linux
# desktop finds there: the exact files and their modes, a valid desktop entry
# whose Exec line starts the installed program with the file, the file types
# as a MIME database reads them, and manual pages that render without a
# warning and show each program's usage line.
#
#   install_tree_test.sh BUILD_DIR GUI(ON|OFF) [MIME_PROBE]
# Exit status: 0 passed, 1 failed, 77 skipped (a tool is not installed).
set -euo pipefail
build="$1"
gui="$2"
probe="${3:-}"

need=(groff xmllint)
[ "$gui" = ON ] && need+=(desktop-file-validate update-mime-database)
for tool in "${need[@]}"; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed (tools/install-deps.sh installs it)"
    exit 77
  fi
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }
prefix="$tmp/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

# --- The tree: every file and folder with its mode, nothing more.
expected="$tmp/expected"
{
  echo "755 bin"
  echo "755 bin/torzalen-cli"
  echo "755 share"
  echo "755 share/man"
  echo "755 share/man/man1"
  echo "644 share/man/man1/torzalen-cli.1.gz"
  if [ "$gui" = ON ]; then
    echo "755 bin/torzalen"
    echo "755 share/applications"
    echo "644 share/applications/torzalen.desktop"
    echo "755 share/icons"
    echo "755 share/icons/hicolor"
    for size in 16 22 24 32 48 64 128 256; do
      echo "755 share/icons/hicolor/${size}x${size}"
      echo "755 share/icons/hicolor/${size}x${size}/apps"
      echo "644 share/icons/hicolor/${size}x${size}/apps/torzalen.png"
    done
    echo "644 share/man/man1/torzalen.1.gz"
    echo "755 share/mime"
    echo "755 share/mime/packages"
    echo "644 share/mime/packages/torzalen.xml"
  fi
} | LC_ALL=C sort >"$expected"
(cd "$prefix" && find . -mindepth 1 -printf '%m %P\n' | LC_ALL=C sort) >"$tmp/actual"
diff -u "$expected" "$tmp/actual" || fail "the installed tree differs (- expected, + installed)"

# --- Icons: PNG files of the size their folder names.
if [ "$gui" = ON ]; then
  for size in 16 22 24 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/torzalen.png"
    [ -f "$png" ] || continue
    # Width and height are the big-endian words at bytes 16 and 20 of the IHDR chunk.
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}')
    [ "$(head -c8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
      fail "$png is not a PNG file"
    [ "$dims" = "${size}x${size}" ] || fail "$png is $dims, not ${size}x${size}"
  done
fi

# --- Manual pages: no warning from groff, and each program's usage line as
# its synopsis. Rendered in ASCII without hyphenation, so words stay whole.
render() {  # page.gz -> text on stdout, warnings in $tmp/warnings
  gzip -dc "$1" | groff -man -Tascii -ww -rHY=0 -rLL=200n -P-cbou 2>"$tmp/warnings"
}
help_of() {  # program -> its --help text
  QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$tmp/run" "$1" --help 2>/dev/null
}
mkdir -m 700 "$tmp/run"
pages=(torzalen-cli)
[ "$gui" = ON ] && pages+=(torzalen)
for page in "${pages[@]}"; do
  gz="$prefix/share/man/man1/$page.1.gz"
  [ -f "$gz" ] || continue
  text=$(render "$gz")
  [ -s "$tmp/warnings" ] && fail "groff warns about $page(1): $(cat "$tmp/warnings")"
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" FILES EXAMPLES "SEE ALSO"; do
    grep -qx "$section" <<<"$text" || fail "$page(1) has no $section section"
  done
  help=$(help_of "$prefix/bin/$page")
  usage=$(sed -n 's/^Usage: //p' <<<"$help")
  [ -n "$usage" ] || fail "$page --help printed no usage line"
  synopsis=$(sed -n '/^SYNOPSIS$/,/^[A-Z]/p' <<<"$text" | sed 's/^ *//')
  grep -qxF "$usage" <<<"$synopsis" || fail "$page(1)'s synopsis lacks '$usage'"
  # Every option the program's help names heads an item of OPTIONS.
  options=$(sed -n '/^OPTIONS$/,/^[A-Z]/p' <<<"$text")
  while read -r option; do
    grep -qE -- "^ +(--?[a-z-]+, )*$option([ ,=]|\$)" <<<"$options" ||
      fail "$page(1) does not describe $option"
  done < <(grep -oE -- '(^|[ ,])--?[a-z][a-z-]*' <<<"$help" | sed 's/^[ ,]//' | sort -u)
done

vbt='Download of sampled vibrotorsional data from VRX7731'
tdm='Vibrotorsional Time Domain Analysis'
fdm='Vibrotorsional Frequency Domain Analysis'
if [ "$gui" = ON ]; then
  desktop="$prefix/share/applications/torzalen.desktop"
  mime="$prefix/share/mime/packages/torzalen.xml"

  # --- Desktop entry: valid, the program on the user's files.
  out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
  [ -z "$out" ] || fail "desktop-file-validate warns: $out"
  key() { sed -n "s/^$1=//p" "$desktop"; }
  [ "$(key Exec)" = "torzalen %f" ] || fail "Exec is '$(key Exec)'"
  [ "$(key Icon)" = torzalen ] || fail "Icon is '$(key Icon)'"
  grep -qE '(^|;)Science;' <<<"$(key Categories)" || fail "Categories lack Science"

  # --- File types: valid XML, the six globs, the types the entry opens.
  xmllint --noout "$mime" || fail "$mime is not well-formed XML"
  globs=$(xmllint --xpath '//*[local-name()="mime-type"]/*[local-name()="glob"]' "$mime" |
          grep -oE 'pattern="[^"]*"' | cut -d'"' -f2 | LC_ALL=C sort | tr '\n' ' ')
  [ "$globs" = "*.FDM *.TDM *.VBT *.fdm *.tdm *.vbt " ] || fail "globs are: $globs"
  types=$(xmllint --xpath '//*[local-name()="mime-type"]/@type' "$mime" |
          grep -oE '"[^"]*"' | tr -d '"' | LC_ALL=C sort | tr '\n' ';')
  opens=$(key MimeType | tr ';' '\n' | sed '/^$/d' | LC_ALL=C sort | tr '\n' ';')
  [ "$types" = "$opens" ] || fail "the entry opens '$opens', the XML defines '$types'"

  # The database built from the installed XML, as update-mime-database
  # builds it on a user's system, then asked as Qt's file dialogs ask it.
  db="$tmp/db/share"
  mkdir -p "$db/mime/packages"
  cp "$mime" "$db/mime/packages/"
  out=$(XDG_DATA_HOME="$tmp/nohome" XDG_DATA_DIRS="$db:/usr/share" \
        update-mime-database "$db/mime" 2>&1) || fail "update-mime-database: $out"
  [ -z "$out" ] || fail "update-mime-database warns: $out"
  if [ -n "$probe" ]; then
    f="$tmp/files"
    mkdir -p "$f"
    cases=(  # file name | first line | type expected
      "rec.vbt|$vbt|application/x-torzalen-vbt"
      "REC.VBT|$vbt|application/x-torzalen-vbt"
      "Rec.Vbt|$vbt|application/x-torzalen-vbt"
      "empty.VBT||application/x-torzalen-vbt"
      "run.tdm|$tdm|application/x-torzalen-tdm"
      "RUN.TDM|$tdm|application/x-torzalen-tdm"
      "run.fdm|$fdm|application/x-torzalen-fdm"
      "RUN.FDM|$fdm|application/x-torzalen-fdm"
      "recording|$vbt|application/x-torzalen-vbt"
      "analysis|$tdm|text/plain"
      "notes.txt|$vbt|text/plain"
    )
    names=()
    for c in "${cases[@]}"; do
      IFS='|' read -r name first _ <<<"$c"
      if [ -n "$first" ]; then printf '%s\r\n08/12/2026\r\n' "$first" >"$f/$name"; else : >"$f/$name"; fi
      names+=("$f/$name")
    done
    mapfile -t got < <(XDG_DATA_HOME="$tmp/nohome" XDG_DATA_DIRS="$db:/usr/share" "$probe" "${names[@]}")
    for i in "${!cases[@]}"; do
      IFS='|' read -r name _ want <<<"${cases[$i]}"
      [ "${got[$i]:-}" = "$want" ] || fail "$name is ${got[$i]:-nothing}, not $want"
    done
  fi

  # --- Opening a file from the file manager: the Exec line with %f replaced
  # by the file's path, as one argument, runs the installed program.
  read -ra exec_words <<<"$(key Exec)"
  launch() {  # seconds file -> status of the program (124: still running), stderr in $tmp/err
    local argv=() w
    for w in "${exec_words[@]}"; do [ "$w" = %f ] && argv+=("$2") || argv+=("$w"); done
    local rc=0
    PATH="$prefix/bin:$PATH" QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$tmp/run" \
      timeout "$1" "${argv[@]}" </dev/null >/dev/null 2>"$tmp/err" || rc=$?
    return "$rc"
  }
  # A missing file is named back whole: the path reached the program as one argument.
  missing="$tmp/no such recording.VBT"
  rc=0; launch 60 "$missing" || rc=$?
  [ "$rc" -eq 2 ] || fail "a missing file: status $rc, not 2"
  grep -qxF "torzalen: $missing: No such file or directory" "$tmp/err" || fail "a missing file: $(cat "$tmp/err")"
  # A recording: the program stays up, asking where to save (timeout ends it).
  rec="$tmp/my recording.VBT"
  printf '%s\r\n' "$vbt" >"$rec"
  rc=0; launch 4 "$rec" || rc=$?
  [ "$rc" -eq 124 ] || fail "a recording: the program ended with status $rc: $(cat "$tmp/err")"
fi

[ "$status" -eq 0 ] && echo "install tree: ok"
exit "$status"

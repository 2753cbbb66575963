#!/usr/bin/env bash
# Installs a build into a temporary DESTDIR and checks the installed tree: every
# file in its place, the desktop entry and the AppStream metainfo valid and
# pointing at each other, the manual complete (every page and picture it links
# to is installed), and the manual's copy beside the program in the build folder.
#
# Usage: check-install.sh BUILD_FOLDER APP_ID
set -uo pipefail

build=$1
app_id=$2
prefix=/usr/local
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

if ! DESTDIR="$dest" cmake --install "$build" --prefix "$prefix" >"$dest.log" 2>&1; then
    cat "$dest.log"
    rm -f "$dest.log"
    echo "FAIL: cmake --install"
    exit 1
fi
rm -f "$dest.log"
root="$dest$prefix"

# Nothing is installed outside the prefix.
stray=$(cd "$dest" && find . -mindepth 1 \( -type f -o -type l \) ! -path ".$prefix/*")
[ -z "$stray" ] || fail "files outside $prefix: $stray"

# Every file in its place.
desktop="$root/share/applications/$app_id.desktop"
icon="$root/share/icons/hicolor/scalable/apps/$app_id.svg"
metainfo="$root/share/metainfo/$app_id.metainfo.xml"
manual="$root/share/oribel/manual/index.html"
[ -x "$root/bin/oribel" ] || fail "bin/oribel is missing or not executable"
for file in "$desktop" "$icon" "$metainfo" "$manual"; do
    [ -s "$file" ] || fail "${file#"$root"/} is missing or empty"
done
grep -q '<svg' "$icon" 2>/dev/null || fail "the icon is not an SVG picture"

# The desktop entry starts the installed program with its installed icon.
if [ -f "$desktop" ]; then
    exec_line=$(sed -n 's/^Exec=//p' "$desktop")
    program=${exec_line%% *}
    [ -x "$root/bin/$program" ] || fail "Exec names '$program', which is not in bin/"
    [ "$(sed -n 's/^Icon=//p' "$desktop")" = "$app_id" ] || fail "Icon is not $app_id"
    grep -q '^Name\[ja\]=' "$desktop" || fail "no Japanese Name in the desktop entry"
    grep -q '^Comment\[ja\]=' "$desktop" || fail "no Japanese Comment in the desktop entry"
    if command -v desktop-file-validate >/dev/null; then
        # Hints are suggestions, not faults: only the rest is shown.
        validation=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate rejects the entry"
        grep -v ': hint: ' <<<"$validation" || true
    else
        echo "note: desktop-file-validate not installed, entry not validated"
    fi
fi

# The metainfo names this component and launches the installed desktop entry.
if [ -f "$metainfo" ]; then
    grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "metainfo does not launch $app_id.desktop"
    grep -q '@[A-Z_]*@' "$metainfo" && fail "metainfo holds an unreplaced @VARIABLE@"
    if command -v appstreamcli >/dev/null; then
        appstreamcli validate --no-net "$metainfo" >"$dest/appstream.log" 2>&1 ||
            { cat "$dest/appstream.log"; fail "appstreamcli rejects the metainfo"; }
    else
        echo "note: appstreamcli not installed, metainfo not validated"
    fi
fi

# The manual: Japanese UTF-8 pages whose every local link and picture is
# installed, and whose every link into a page finds its anchor there.
check_links() { # folder of the installed copy
    local folder=$1 page target path anchor
    for page in "$folder"/*.html; do
        [ -f "$page" ] || continue
        grep -q '<html lang="ja">' "$page" || fail "${page#"$root"/}: not marked as Japanese"
        grep -qi '<meta charset="utf-8">' "$page" || fail "${page#"$root"/}: no UTF-8 charset"
        while IFS= read -r target; do
            case "$target" in http:* | https:* | mailto:*) continue ;; esac
            path=${target%%#*}
            [ -n "$path" ] && path="$(dirname "$page")/$path" || path=$page
            if [ ! -f "$path" ]; then
                fail "${page#"$root"/} links to $target, which is not installed"
                continue
            fi
            anchor=${target#*#}
            if [ "$anchor" != "$target" ] && ! grep -q "id=\"$anchor\"" "$path"; then
                fail "${page#"$root"/} links to $target, which has no such anchor"
            fi
        done < <(grep -o -E '(href|src)="[^"]*"' "$page" | sed -E 's/^(href|src)="//; s/"$//')
    done
}
check_links "$root/share/oribel/manual"
pages=$(find "$root/share/oribel/manual" -name '*.html' 2>/dev/null | wc -l)
[ "$pages" -ge 1 ] || fail "no manual pages installed"

# A program started from the build folder finds the same manual beside itself.
cmp -s "$build/src/manual/index.html" "$manual" || fail "build folder: src/manual/index.html differs or is missing"

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) of the installed tree failed"
    exit 1
fi
echo "installed tree in order: $(cd "$root" && find . -type f | wc -l) files, $pages manual pages"

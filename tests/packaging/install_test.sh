#!/usr/bin/env bash
# install_test.sh PART BUILD_DIR VERSION: one group of checks on a fresh installation.
set -uo pipefail

part=$1
build=$2
version=$3

work=$(mktemp -d "${TMPDIR:-/tmp}/karvelo-install-XXXXXX")
trap 'rm -rf "$work"' EXIT
root=$work/root
usr=$root/usr

failures=0
sizes="16 32 48 64 128 256"
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# Missing tools skip the part (exit 77), never pass it.
need() {
    if ! command -v "$1" >/dev/null 2>&1; then
        echo "SKIP: $1 is missing (Debian package $2; scripts/setup installs it)"
        exit 77
    fi
}

# The Debian package, made from this build as scripts/package makes it from the release build.
package_part() {
    need dpkg-deb dpkg
    need dpkg-shlibdeps dpkg-dev
    if ! (cd "$build" && cpack -G DEB -B "$work/package") >"$work/cpack.log" 2>&1; then
        cat "$work/cpack.log"
        fail "cpack -G DEB"
        return
    fi
    local deb=$work/package/karvelo_${version}_$(dpkg --print-architecture).deb
    [ -f "$deb" ] || { fail "no $(basename "$deb"): $(ls "$work/package")"; return; }
    [ "$(dpkg-deb --field "$deb" Package)" = karvelo ] || fail "the package is not named karvelo"
    [ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
    # Found by dpkg-shlibdeps from what the binaries link, not written by hand.
    local depends
    depends=$(dpkg-deb --field "$deb" Depends)
    local library
    for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6; do
        sed 's/, /\n/g' <<<"$depends" | sed 's/ .*//' | grep -qxF "$library" ||
            fail "Depends lacks $library: $depends"
    done
    diff <(expected_files | sed 's|^|usr/|' | sort) \
        <(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | sort) ||
        fail "the package's files differ from the list above (< missing, > unexpected)"
}

# Every file an installation holds, relative to the prefix.
expected_files() {
    local size
    printf '%s\n' bin/karvelo bin/laytool \
        share/applications/karvelo.desktop \
        share/mime/packages/karvelo.xml \
        share/metainfo/karvelo.metainfo.xml \
        share/man/man1/karvelo.1 share/man/man1/laytool.1 \
        share/icons/hicolor/scalable/apps/karvelo.svg \
        share/icons/hicolor/scalable/mimetypes/application-x-karvelo-layout.svg \
        share/thumbnailers/karvelo.thumbnailer \
        share/bash-completion/completions/laytool
    for size in $sizes; do
        printf '%s\n' "share/icons/hicolor/${size}x${size}/apps/karvelo.png" \
            "share/icons/hicolor/${size}x${size}/mimetypes/application-x-karvelo-layout.png"
    done
}

files_part() {
    # Exactly these files: nothing missing, nothing stray.
    diff <(expected_files | sort) <(cd "$usr" && find . -type f -printf '%P\n' | sort) ||
        fail "the installed files differ from the list above (< missing, > unexpected)"

    local program
    for program in karvelo laytool; do
        [ -x "$usr/bin/$program" ] || fail "bin/$program is not executable"
    done
    local said
    said=$("$usr/bin/laytool" --version)
    [ "$said" = "laytool $version" ] || fail "installed laytool says '$said', not 'laytool $version'"

    # Every PNG has the size its folder names, with an alpha channel.
    local png
    for size in $sizes; do
        for png in "$usr/share/icons/hicolor/${size}x${size}"/*/*.png; do
            [ -f "$png" ] || continue
            local header
            header=$(od -An -tx1 -j12 -N14 "$png" | tr -d ' \n')
            local want
            want=$(printf '49484452%08x%08x0806' "$size" "$size")
            [ "$header" = "$want" ] || fail "$png: header $header, want $want (${size}x${size}, RGBA)"
        done
    done
    local svg
    for svg in "$usr"/share/icons/hicolor/scalable/*/*.svg; do
        grep -q '<svg' "$svg" || fail "$svg is no SVG"
    done
}

desktop_part() {
    need desktop-file-validate desktop-file-utils
    local entry=$usr/share/applications/karvelo.desktop
    local said
    # Warnings count as well as errors: the tool prints nothing for a clean entry.
    if ! said=$(desktop-file-validate "$entry" 2>&1) || [ -n "$said" ]; then
        fail "desktop-file-validate: $said"
    fi
    local line
    for line in 'Name=Karvelo' 'Exec=karvelo %F' 'MimeType=application/x-karvelo-layout;' \
        'Categories=Development;GUIDesigner;Qt;' 'Icon=karvelo' 'Type=Application'; do
        grep -qxF "$line" "$entry" || fail "karvelo.desktop lacks the line '$line'"
    done
    grep -q '^GenericName=.' "$entry" || fail "karvelo.desktop has no GenericName"
    grep -q '^Comment=.' "$entry" || fail "karvelo.desktop has no Comment"
}

appstream_part() {
    need appstreamcli appstream
    local metainfo=$usr/share/metainfo/karvelo.metainfo.xml
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
    grep -qF "<release version=\"$version\"" "$metainfo" || fail "no release $version in the metainfo"
    local provided
    for provided in '<binary>karvelo</binary>' '<binary>laytool</binary>' \
        '<mediatype>application/x-karvelo-layout</mediatype>' '<screenshot type="default">' \
        '<launchable type="desktop-id">karvelo.desktop</launchable>'; do
        grep -qF "$provided" "$metainfo" || fail "the metainfo lacks $provided"
    done
}

# A file's type as the desktop sees it, by xdg-mime and by gio where each is present.
filetype_of() {
    local file=$1 tool=$2
    case $tool in
    xdg-mime) xdg-mime query filetype "$file" 2>/dev/null ;;
    gio) gio info -a standard::content-type "$file" 2>/dev/null | sed -n 's/^ *standard::content-type: //p' ;;
    esac
}

filetype_part() {
    need xmllint libxml2-utils
    need update-mime-database shared-mime-info
    local xml=$usr/share/mime/packages/karvelo.xml
    xmllint --noout "$xml" || fail "xmllint: karvelo.xml is not well-formed"

    # The system's types and ours in one database, as an installation makes it.
    local data=$work/data
    mkdir -p "$data/mime/packages" "$data/applications" "$work/config" "$work/home"
    cp /usr/share/mime/packages/*.xml "$data/mime/packages/" 2>/dev/null
    cp "$xml" "$data/mime/packages/"
    export XDG_DATA_DIRS=$data XDG_DATA_HOME=$work/home XDG_CONFIG_HOME=$work/config
    update-mime-database "$data/mime" || fail "update-mime-database"
    grep -q '^application/x-karvelo-layout:\*\.lay$' "$data/mime/globs" || fail "no *.lay glob in the database"
    export XDG_CURRENT_DESKTOP=
    unset KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID MATE_DESKTOP_SESSION_ID DESKTOP_SESSION

    local samples=$work/samples
    mkdir -p "$samples"
    # Ours: the format GUID, version 2, no controls. Theirs: a .lay of another program.
    printf '\x41\xf9\xb3\x0a\x62\x93\xd1\x11\x9a\x2b\x08\x00\x00\x30\x05\x12\x02\x00\x00\x00\x00\x00\x00\x00' >"$samples/screen.lay"
    cp "$samples/screen.lay" "$samples/renamed-copy"
    printf 'LAYER 1\nnot a layout of ours\n\x01\x02' >"$samples/foreign-renamed"

    local tools=() tool
    command -v xdg-mime >/dev/null && tools+=(xdg-mime)
    command -v gio >/dev/null && tools+=(gio)
    if [ ${#tools[@]} -eq 0 ]; then
        echo "SKIP: neither xdg-mime (Debian package xdg-utils) nor gio is present"
        exit 77
    fi
    for tool in "${tools[@]}"; do
        local got before=$failures
        got=$(filetype_of "$samples/screen.lay" "$tool")
        [ "$got" = application/x-karvelo-layout ] || fail "$tool: screen.lay by glob is '$got'"
        got=$(filetype_of "$samples/renamed-copy" "$tool")
        [ "$got" = application/x-karvelo-layout ] || fail "$tool: renamed-copy by magic is '$got'"
        got=$(filetype_of "$samples/foreign-renamed" "$tool")
        [ "$got" != application/x-karvelo-layout ] || fail "$tool: another program's file is claimed by magic"
        [ "$failures" -gt "$before" ] || echo "$tool: a .lay by glob, a renamed copy by magic, not a foreign file"
    done

    # The editor is the default for the type once the desktop database knows its entry.
    if command -v update-desktop-database >/dev/null && command -v xdg-mime >/dev/null; then
        cp "$usr/share/applications/karvelo.desktop" "$data/applications/"
        update-desktop-database "$data/applications" || fail "update-desktop-database"
        local default
        default=$(xdg-mime query default application/x-karvelo-layout)
        [ "$default" = karvelo.desktop ] || fail "xdg-mime query default says '$default'"
    fi
}

manpages_part() {
    need man man-db
    local page
    for page in karvelo laytool; do
        local file=$usr/share/man/man1/$page.1 text warnings
        text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>"$work/warnings")
        warnings=$(cat "$work/warnings")
        [ -z "$warnings" ] || fail "$page.1: $warnings"
        grep -q '^NAME' <<<"$text" || fail "$page.1 has no NAME section"
        grep -q "Karvelo $version" <<<"$text" || fail "$page.1 does not name version $version"
    done
    # Every command that laytool --help lists is in its man page.
    local command
    for command in $("$usr/bin/laytool" --help | sed -n '/^commands:/,/^$/s/^  \([a-z]*\) .*/\1/p'); do
        grep -q "^\.B laytool $command" "$usr/share/man/man1/laytool.1" ||
            fail "laytool.1 has no synopsis of '$command'"
    done
}

# The Exec line of a thumbnailer entry run as a thumbnailer runs it: %s, %i and %o become
# the size, the input and the output, each one argument whatever it holds.
run_thumbnailer() {
    local exec=$1 size=$2 input=$3 output=$4 word words command=()
    read -ra words <<<"$exec"
    for word in "${words[@]}"; do
        case $word in
        %s) command+=("$size") ;;
        %i) command+=("$input") ;;
        %o) command+=("$output") ;;
        *) command+=("$word") ;;
        esac
    done
    "${command[@]}"
}

# A PNG's width and height from its IHDR chunk, as "W H".
png_size() {
    local hex
    hex=$(od -An -tx1 -j16 -N8 "$1" | tr -d ' \n')
    echo "$((16#${hex:0:8})) $((16#${hex:8:8}))"
}

milliseconds() {
    echo $(($(date +%s%N) / 1000000))
}

thumbnailer_part() {
    local entry=$usr/share/thumbnailers/karvelo.thumbnailer line
    for line in '[Thumbnailer Entry]' 'TryExec=laytool' 'Exec=laytool render --size %s %i %o' \
        'MimeType=application/x-karvelo-layout;'; do
        grep -qxF "$line" "$entry" || fail "karvelo.thumbnailer lacks the line '$line'"
    done
    local exec
    exec=$(sed -n 's/^Exec=//p' "$entry")
    # The installed laytool, found on the PATH as the entry names it.
    export PATH=$usr/bin:$PATH
    local samples=$work/samples
    mkdir -p "$samples"
    printf '{"controls": [{"name": "OK", "x1": 600, "y1": 540, "x2": 700, "y2": 570}]}' >"$samples/in.json"
    laytool make "$samples/in.json" "$samples/login screen.lay" || fail "laytool make"
    local size got
    for size in 128 256; do
        local out="$samples/thumbnail $size.png"
        run_thumbnailer "$exec" "$size" "$samples/login screen.lay" "$out" || fail "the thumbnailer failed at $size"
        got=$(png_size "$out")
        [ "$got" = "$size $((size * 3 / 4))" ] || fail "the thumbnail at $size is $got pixels"
    done
    # Broken and hostile files: exit status 2, no picture, at once.
    printf 'not a layout' >"$samples/broken.lay"
    ln -s /dev/zero "$samples/zero.lay"
    head -c 24 "$samples/login screen.lay" >"$samples/count.lay"
    printf '\xff\xff\xff\xff' | dd of="$samples/count.lay" bs=1 seek=20 conv=notrunc status=none
    truncate -s 1G "$samples/count.lay"
    local bad status start took
    for bad in broken zero count missing; do
        start=$(milliseconds)
        run_thumbnailer "$exec" 256 "$samples/$bad.lay" "$samples/$bad.png" 2>/dev/null
        status=$?
        took=$(($(milliseconds) - start))
        [ "$status" -eq 2 ] || fail "the thumbnailer's status for $bad.lay is $status, not 2"
        [ ! -e "$samples/$bad.png" ] || fail "the thumbnailer left a picture of $bad.lay"
        [ "$took" -lt 1000 ] || fail "the thumbnailer took $took ms for $bad.lay"
    done
    [ "$failures" -gt 0 ] || echo "thumbnails of 128 and 256 pixels; broken files refused at once"
}

# What bash offers for the words of a command line, the last one being completed.
completions() {
    (cd "$work/completion" && bash --norc --noprofile -c '
        source "$1"
        shift
        COMP_WORDS=("$@")
        COMP_CWORD=$(($# - 1))
        _laytool
        [ ${#COMPREPLY[@]} -eq 0 ] || printf "%s\n" "${COMPREPLY[@]}"' _ "$script" "$@" | LC_ALL=C sort | paste -sd ' ')
}

completion_part() {
    local script=$usr/share/bash-completion/completions/laytool
    [ -f "$script" ] || { fail "no completion for laytool"; return; }
    bash --norc --noprofile -c 'source "$1" && complete -p laytool' _ "$script" | grep -q -- '-F _laytool laytool' ||
        fail "loading the completion does not register it for laytool"
    mkdir -p "$work/completion/folder"
    touch "$work/completion/"{screen.lay,screen.json,screen.png,screen.h,notes.txt}
    local expected
    while IFS='|' read -r words expected; do
        local got
        # shellcheck disable=SC2086
        got=$(completions $words)
        [ "$got" = "$expected" ] || fail "laytool completion of '$words': '$got', not '$expected'"
    done <<'CASES'
laytool he|header
laytool --h|--help
laytool render --|--current --help --labels --size --trace
laytool header --|--constexpr --enum --help --namespace --prefix --trace
laytool check --s|--strict
laytool render --size 2|256
laytool make s|screen.json
laytool make screen.json s|screen.lay
laytool render screen.lay s|screen.png
laytool header --prefix P_ screen.lay s|screen.h
laytool diff screen.lay s|screen.lay
laytool check screen.lay screen.lay s|screen.lay
laytool dump f|folder
laytool dump screen.lay s|
CASES
    [ "$failures" -gt 0 ] || echo "commands, options and the files that fit are completed"
}

install_tree() {
    if ! DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1; then
        cat "$work/install.log"
        echo "FAIL: cmake --install"
        exit 1
    fi
}

[ "$part" = Package ] || install_tree
case $part in
Package) package_part ;;
Files) files_part ;;
Desktop) desktop_part ;;
AppStream) appstream_part ;;
FileType) filetype_part ;;
ManPages) manpages_part ;;
Thumbnailer) thumbnailer_part ;;
Completion) completion_part ;;
*) echo "unknown part $part"; exit 2 ;;
esac

if [ "$failures" -gt 0 ]; then
    echo "$part: $failures failure(s)"
    exit 1
fi
echo "$part: ok"

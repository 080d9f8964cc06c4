#!/usr/bin/env bash
# Collects every text of the code marked for translation (tr, trf, N_) into
# po/veltrano.pot and brings each po/<language>.po up to it with msgmerge.
#   scripts/update-pot.sh          write the template and merge the .po files
#   scripts/update-pot.sh --check  fail, naming the difference, if the
#                                  template is not what the code holds now
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

collect() {
    # Sorted, without places or the header's date, so the file changes only
    # when a text does.
    git ls-files -- '*.cpp' '*.h' ':!tests/*' ':!bench/*' ':!tools/driver/*' |
        xgettext --files-from=- --output=- --language=C++ --from-code=UTF-8 \
            --keyword= --keyword=tr --keyword=trf --keyword=N_ --add-comments=TRANSLATORS: \
            --flag=trf:1:python-brace-format \
            --package-name=Veltrano --sort-output --no-location --no-wrap |
        sed -e '/^"POT-Creation-Date:/d' -e 's/charset=CHARSET/charset=UTF-8/' |
        mark_placeholders
}

# xgettext flags no brace placeholders in C++: an entry whose English holds
# {0}..{9} is marked python-brace-format here, so that msgfmt --check fails
# a translation whose placeholders differ.
mark_placeholders() {
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
        {
            if ($0 ~ /msgid "[^\n]*\{[0-9]\}/ || $0 ~ /\n"[^\n]*\{[0-9]\}[^\n]*"\nmsgstr/) {
                if ($0 ~ /^#, /) sub(/^#, /, "#, python-brace-format, ")
                else $0 = "#, python-brace-format\n" $0
            }
            print
        }'
}

if [[ ${1:-} == --check ]]; then
    if ! diff -u po/veltrano.pot <(collect) >/tmp/veltrano-pot.diff.$$ 2>&1; then
        echo "po/veltrano.pot is older than the code: run scripts/update-pot.sh" >&2
        head -60 /tmp/veltrano-pot.diff.$$ >&2
        rm -f /tmp/veltrano-pot.diff.$$
        exit 1
    fi
    rm -f /tmp/veltrano-pot.diff.$$
    exit 0
fi

collect >po/veltrano.pot
for po in po/*.po; do
    [[ -e $po ]] || continue
    msgmerge --quiet --update --backup=none --no-wrap --no-fuzzy-matching "$po" po/veltrano.pot
done

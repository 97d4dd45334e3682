# ./run i18n [LANGUAGE...]: brings every translation table in resources/i18n
# up to date with the keys the kit looks up (the list in
# src/platform/qt/QtTextKeys.cpp, with the translators' comments): a new key
# is added unfinished to every table, translations are kept, and a key no
# longer listed is marked vanished. Each LANGUAGE named (e.g. "it" or
# "pt_PT") gets a new table first. The build compiles the tables; the
# translation_tables test fails while a table lacks a translation.
cmd_i18n() {
    cmd_setup >/dev/null
    local lupdate
    lupdate="$(command -v lupdate || command -v lupdate-qt6 || echo /usr/lib/qt6/bin/lupdate)"
    local keys="$ROOT/src/platform/qt/QtTextKeys.cpp"
    local dir="$ROOT/resources/i18n"
    local language
    for language in "$@"; do
        [[ "$language" =~ ^[a-z]{2,3}(_[A-Za-z0-9]+)*$ ]] ||
            { echo "i18n: not a language name: $language" >&2; return 64; }
        [ -f "$dir/velawidget_$language.ts" ] ||
            "$lupdate" -silent -locations none -no-ui-lines -target-language "$language" \
                "$keys" -ts "$dir/velawidget_$language.ts"
    done
    "$lupdate" -silent -locations none -no-ui-lines "$keys" -ts "$dir"/velawidget_*.ts
    local open
    open=$(grep -l 'type="unfinished"' "$dir"/velawidget_*.ts || true)
    if [ -n "$open" ]; then
        echo "i18n: texts to translate in:"
        echo "$open" | sed 's|.*/|  |'
    else
        echo "i18n: every table translates every key"
    fi
}

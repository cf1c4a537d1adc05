#!/usr/bin/env bash
# The programs' own help is where commands and options are described; the README and the man page repeat
# parts of it for readers who have not installed anything. This checks that every copy says what the programs
# print: the README's option block and command table, and the man page's command and option entries.
# usage: help_copies_check.sh PATH/TO/treadkeyctl PATH/TO/treadkey-setup SOURCE-DIR
set -uo pipefail
treadkeyctl=$1
window=$2
source_dir=$3
readme=$source_dir/README.md
man_page=$source_dir/packaging/treadkeyctl.1.in

failed=0
same() { # what expected actual
    if [ "$2" != "$3" ]; then
        failed=$((failed + 1))
        echo "FAIL: $1 differs from the program's help:"
        diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") | sed 's/^/    /'
    fi
}

# Troff as the man page writes it, reduced to its text: font changes and quotes go, "\-" is a dash, runs of
# blanks are one.
plain_troff() {
    sed -E -e 's/^\.B[IR]? //' -e 's/\\f[BIR]//g' -e 's/\\-/-/g' -e 's/"//g' -e 's/ +/ /g' -e 's/ $//'
}

overview=$("$treadkeyctl" --help)
# "  key SLOT COMBO [--delay MS] [--once]    store ..." -> "key SLOT COMBO [--delay MS] [--once]"
synopses=$(sed -n '/^Commands:$/,/^$/p' <<<"$overview" | sed -n 's/^  \(.*[^ ]\)  \+[^ ].*$/\1/p')
# "  --report-length N             the ..." -> "--report-length N"; continuation lines carry no option
shared_options=$(sed -n '/^Options for every command:$/,/^$/p' <<<"$overview" |
    sed -n 's/^  \(--[^ ]*\( [A-Z]\+\)\?\) .*$/\1/p')

# The README's command table: the first cell of each row below the header, "\|" unescaped.
readme_commands=$(sed -n '/^| command | writes |$/,/^$/p' "$readme" | sed -n 's/^| `\(.*\)` | .*$/\1/p' |
    sed 's/\\|/|/g')
same "the README's command table" "$(grep -v '^help ' <<<"$synopses")" "$readme_commands"

# The README's option block is the window's help, indented by two more spaces.
window_options=$("$window" --help | sed -n '/^Options:$/,$p' | sed -n 's/^  /    /p')
readme_options=$(sed -n '/^### Options$/,/^[^ ]/p' "$readme" | grep '^    ')
same "the README's option block" "$window_options" "$readme_options"

# The man page: the line after each .TP under COMMANDS, and each option entry under OPTIONS.
man_commands=$(sed -n '/^\.SH COMMANDS$/,/^\.SH /p' "$man_page" | sed -n '/^\.TP$/{n;p}' | plain_troff)
same "the man page's commands" "$synopses" "$man_commands"
man_options=$(sed -n '/^\.SH OPTIONS$/,/^\.SH /p' "$man_page" | sed -n '/^\.TP$/{n;p}' | plain_troff)
same "the man page's options" "$shared_options" "$man_options"

for list in synopses shared_options; do
    if [ -z "${!list}" ]; then
        failed=$((failed + 1))
        echo "FAIL: no $list read from 'treadkeyctl --help'"
    fi
done
echo "help copies: $failed differ"
[ "$failed" -eq 0 ]

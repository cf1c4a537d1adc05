#!/usr/bin/env bash
# The programs' own help is where commands and options are described; the docs and the man page repeat
# parts of it for readers who have not installed anything. This checks that every copy says what the programs
# print: the window's option block and treadkeyctl's command table in docs/, and the man pages' command and
# option entries. groff reads both man pages with every warning on, and any warning fails.
# usage: help_copies_check.sh PATH/TO/treadkeyctl PATH/TO/treadkey-setup SOURCE-DIR
set -uo pipefail
treadkeyctl=$1
window=$2
source_dir=$3
window_page=$source_dir/docs/usage-and-options.md
command_line_page=$source_dir/docs/command-line-and-profiles.md
man_page=$source_dir/packaging/treadkeyctl.1.in
window_man_page=$source_dir/packaging/treadkey-setup.1.in

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
# "  mouse SLOT left|middle|right    store ..." -> "mouse SLOT left|middle|right"; a long synopsis stands on
# its own line, above its summary, which the deeper indent leaves out
synopses=$(sed -n '/^Commands:$/,/^$/p' <<<"$overview" | sed -n '/^  [^ ]/{s/^  //;s/  \+[^ ].*$//;p}')
# "  --report-length N             the ..." -> "--report-length N"; continuation lines carry no option
# (the options of the commands that write, then those of every command)
shared_options=$(sed -n '/^Options for /,/^$/p' <<<"$overview" |
    sed -n 's/^  \(--[^ ]*\( [A-Z]\+\)\?\) .*$/\1/p')

# The command table: the first cell of each row below the header, "\|" unescaped.
docs_commands=$(sed -n '/^| command | writes |$/,/^$/p' "$command_line_page" |
    sed -n 's/^| `\(.*\)` | .*$/\1/p' | sed 's/\\|/|/g')
same "the command table in docs/" "$(grep -v '^help ' <<<"$synopses")" "$docs_commands"

# The window's option block is its help, indented by two more spaces.
window_options=$("$window" --help | sed -n '/^Options:$/,$p' | sed -n 's/^  /    /p')
docs_options=$(sed -n '/^## Options$/,/^[^ ]/p' "$window_page" | grep '^    ')
same "the option block in docs/" "$window_options" "$docs_options"

# The man page: the line after each .TP under COMMANDS, and each option entry under OPTIONS.
man_commands=$(sed -n '/^\.SH COMMANDS$/,/^\.SH /p' "$man_page" | sed -n '/^\.TP$/{n;p}' | plain_troff)
same "the man page's commands" "$synopses" "$man_commands"
man_options=$(sed -n '/^\.SH OPTIONS$/,/^\.SH /p' "$man_page" | sed -n '/^\.TP$/{n;p}' | plain_troff)
same "the man page's options" "$shared_options" "$man_options"

# The window's man page: each option entry under OPTIONS, as its --help names them.
window_option_names=$("$window" --help | sed -n '/^Options:$/,$p' |
    sed -n 's/^  \(--[^ ]*\( [A-Z]\+\)\?\) .*$/\1/p')
window_man_options=$(sed -n '/^\.SH OPTIONS$/,/^\.SH /p' "$window_man_page" | sed -n '/^\.TP$/{n;p}' |
    plain_troff)
same "the window's man page options" "$window_option_names" "$window_man_options"

# Troff that groff warns about renders wrong somewhere; -k reads the pages as UTF-8, as man does.
for page in "$man_page" "$window_man_page"; do
    warnings=$(groff -k -ww -man -Tutf8 -z "$page" 2>&1)
    if [ -n "$warnings" ]; then
        failed=$((failed + 1))
        echo "FAIL: groff warns about $(basename "$page"):"
        sed 's/^/    /' <<<"$warnings"
    fi
done

for list in synopses shared_options window_option_names; do
    if [ -z "${!list}" ]; then
        failed=$((failed + 1))
        echo "FAIL: no $list read from the programs' --help"
    fi
done
echo "help copies: $failed differ"
[ "$failed" -eq 0 ]

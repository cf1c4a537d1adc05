#!/usr/bin/env bash
# Prints the README's "What the commands install" list from the package lists, so that the README cannot drift
# from them. `--check` compares it with the README instead and fails on a difference.
set -euo pipefail
cd "$(dirname "$0")/.."

packages() { grep -v '^#' "$1" | tr '\n' ' ' | sed 's/ $//'; }
kernel_packages=$(sed -n 's/^readonly HOST_PACKAGES=(\(.*\))$/\1/p' tests/kernel/run-guest.sh)

# One item a line, folded for the README with its continuation lines indented.
list() {
    echo "- \`start.sh\`: $(packages scripts/build-packages.txt)"
    echo "- \`test.sh\`, besides those: $(packages scripts/test-packages.txt); the kernel test adds $kernel_packages" \
        "and downloads Debian 12's kernel package (\`apt-get download\`) into \`~/.cache/treadkey-setup\`."
}

if [ "${1:-}" != --check ]; then
    list | while IFS= read -r item; do fold -s -w 114 <<<"$item" | sed 's/ $//; 2,$ s/^/  /'; done
    exit 0
fi
written=$(sed -n '/^<!-- packages: begin -->$/,/^<!-- packages: end -->$/p' README.md | sed '1d;$d')
expected=$("$0")
if [ "$written" != "$expected" ]; then
    echo "README.md's package list differs from the package lists; scripts/readme-packages.sh prints it:" >&2
    diff <(echo "$written") <(echo "$expected") >&2 || true
    exit 1
fi
echo "README package list matches the package lists"

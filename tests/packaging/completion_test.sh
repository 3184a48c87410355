#!/usr/bin/env bash
# COMPLETIONS: the bash completions of both programs offer the commands, options and files a
# user would type next.
set -uo pipefail
dir=$1
source /usr/share/bash-completion/bash_completion 2>/dev/null ||
    { echo "bash-completion is not installed: ./scripts/install-deps.sh --tests installs it"; exit 1; }
source "$dir/kvr5507ctl"
source "$dir/kvr5507"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" && touch backup.bin shot.png

failures=0
# The line typed so far (the cursor at its end) and the words the completion must offer, exactly.
check() {
    local line=$1 want=$2
    COMP_LINE=$line COMP_POINT=${#line}
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    local fn=_${COMP_WORDS[0]}
    $fn
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
    if [ "$got" != "$want" ]; then
        echo "FAIL: '$line' offers '$got', not '$want'"
        failures=$((failures + 1))
    fi
}

check "kvr5507ctl " "dump list macro profile reset restore set show"
check "kvr5507ctl ma" "macro"
check "kvr5507ctl --emulate ma" "macro"
check "kvr5507ctl macro " "add del export import list"
check "kvr5507ctl profile l" "load"
check "kvr5507ctl --j" "--json"
check "kvr5507ctl set nt" "nt1-time nt2-hold nt2-time nt3-count nt3-time"
check "kvr5507ctl dump b" "backup.bin"
check "kvr5507ctl --library b" "backup.bin"
check "kvr5507ctl --emulate=b" "backup.bin"
check "kvr5507ctl --library backup.bin sh" "show"
check "kvr5507 --d" "--diagnose"
check "kvr5507 --screenshot s" "shot.png"
[ $failures -eq 0 ] && echo "both completions offer what comes next"
exit $((failures > 0))

# bash completion for mm_cli: verbs, global options, each verb's options,
# catalogue variable and function names after -v and -f, page names and
# their field names. Names come from the program itself (mm_cli --names),
# so they follow the installed catalogue (GUI_MM_DIR).
_mm_cli_names() {
    "${COMP_WORDS[0]}" --names "$@" 2>/dev/null
}

_mm_cli() {
    local cur prev verb i
    cur="${COMP_WORDS[COMP_CWORD]}"
    prev="${COMP_WORDS[COMP_CWORD-1]}"
    verb=""
    for ((i = 1; i < COMP_CWORD; i++)); do
        case "${COMP_WORDS[i]}" in
        -mrx | -l | -c | -t | -r | -fsmax) ((i++)) ;;
        -*) ;;
        *) verb="${COMP_WORDS[i]}"; break ;;
        esac
    done
    case "$prev" in
    -l | -o | --files | --mrx-file)
        COMPREPLY=($(compgen -f -- "$cur")); return ;;
    -v)
        # A comma list: complete its last name.
        local head="${cur%,*}" last="${cur##*,}"
        [ "$head" = "$cur" ] && head="" || head="$head,"
        COMPREPLY=($(compgen -P "$head" -W "$(_mm_cli_names vars)" -- "$last")); return ;;
    -f)
        COMPREPLY=($(compgen -W "$(_mm_cli_names funcs)" -- "$cur")); return ;;
    -p)
        COMPREPLY=($(compgen -W "asy syn ptr en ds1inf channels" -- "$cur")); return ;;
    -mrx | -c | -t | -r | -fsmax | -P | -dn | -ds | -dt | --search | --port | --count | --timeout | --host | --address | --community) return ;;
    esac
    if [ -z "$verb" ]; then
        if [[ "$cur" == -* ]]; then
            COMPREPLY=($(compgen -W "-mrx -l -c -t -r -fsmax -fresh -y -debug --json --help" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$(_mm_cli_names verbs)" -- "$cur"))
        fi
        return
    fi
    local words=""
    case "$verb" in
    show) words="-d -p -P -v -f --json" ;;
    set) words="-p -P $(_mm_cli_names vars | sed 's/$/=/')" ;;
    status) words="mrx asy syn itf imdm pri t1 pricsu dvs mp -P --period -I --sort -R --json" ;;
    compare) words="--mrx --mrx-file --files --code -p -v -f -P -P1 -P2 -o --json" ;;
    script) words="create view exec -a -w --category -v -f --ports --json" ;;
    list) words="-o --json" ;;
    discover) words="-dn -ds -dt --search -o --json" ;;
    info) words="--json" ;;
    modem) words="list set remove defaults --json" ;;
    modems) words="set available busy" ;;
    copy) words="--from --to --code -p --from-port --to-ports -v -f" ;;
    boot) words="bootNow timedBoot cancelBoot dumpAndBoot flashBoot loadFlash shutdown --load --dump --gateway --image --time --message" ;;
    bcast) words="allPorts activePorts console" ;;
    group) words="list show create modify delete" ;;
    edit-config) words="--reset" ;;
    events) words="--port --count --timeout --log --json" ;;
    send-traps-here) words="--host --address --community" ;;
    get-file | put-file) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    page)
        local page="" j
        for ((j = i + 1; j < COMP_CWORD; j++)); do
            [[ "${COMP_WORDS[j]}" != -* ]] && { page="${COMP_WORDS[j]}"; break; }
        done
        if [ -z "$page" ]; then
            words="$(_mm_cli_names pages) --json"
        else
            compopt -o nospace 2>/dev/null
            words="$(_mm_cli_names fields "$page" | sed 's/$/=/') -P --json"
        fi ;;
    esac
    COMPREPLY=($(compgen -W "$words" -- "$cur"))
}
complete -F _mm_cli mm_cli

# Bash completion for tallowmere-cli and tallowmere: verbs, each verb's
# options, and file names of the kind each argument takes.

_tallowmere_files()
{
    # _tallowmere_files WORD [EXTENSION...]: the files ending in one of the
    # extensions (any letter case) and folders to walk into; without an
    # extension, every file.
    local IFS=$'\n' cur=$1 f e
    shift
    if (($# == 0)); then
        COMPREPLY+=($(compgen -f -- "$cur"))
    else
        COMPREPLY+=($(compgen -d -S / -- "$cur"))
        for f in $(compgen -f -- "$cur"); do
            for e in "$@"; do
                [[ -f $f && ${f,,} == *."$e" ]] && COMPREPLY+=("$f")
            done
        done
    fi
    compopt -o filenames -o nospace 2>/dev/null
}

_tallowmere_cli_options()
{
    case $1 in
        parse) echo "--json --explain --help" ;;
        config | show | find | query) echo "--json --help" ;;
        list) echo "--fields --sort --where --json --help" ;;
        create | fields | info | compact | help) echo "--help" ;;
        log) echo "--since --json --help" ;;
        import) echo "--relative-to --again --json --help" ;;
        fetch) echo "--password-file --ca-file --since --again --json --help" ;;
        template) echo "--yes --help" ;;
        render) echo "--html --help" ;;
        export)
            echo "--type -o --ids --fields --title --template --delimiter --quotes" \
                "--replace-quotes --join-lines --protect-formulas --rfc4180 --header --omit" \
                "--pseudonymise --yes" \
                "--find --query --sort --where --help"
            ;;
        delete | transfer) echo "--ids --find --query --yes --help" ;;
        duplicates) echo "--json --key --whole-response --within --save --mark --help" ;;
        merge) echo "--keep --yes --help" ;;
        stats) echo "--json --find --query --chart --help" ;;
        retention) echo "--set --list --apply --dry-run --yes --help" ;;
        person) echo "--text --export --erase --yes --help" ;;
    esac
}

_tallowmere_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local verbs="parse config create import fetch list show fields info find query template render
        export delete transfer duplicates merge stats retention person log compact help"
    COMPREPLY=()

    # The verb, and the database and positional arguments given so far.
    local verb="" db="" i word positional=0 skip=0 operands=0
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if ((skip > 0)); then
            ((skip--))
            continue
        fi
        if [[ -z $verb ]]; then
            [[ $word == -* ]] || verb=$word
            continue
        fi
        if ((!operands)) && [[ $word == -* ]]; then
            case $word in
                --) operands=1 ;;
                --find | --where) skip=2 ;;
                --relative-to | --type | -o | --ids | --fields | --title | --template | \
                    --delimiter | --query | --key | --within | --keep | --password-file | \
                    --ca-file | --since | --chart | --sort) skip=1 ;;
            esac
            continue
        fi
        [[ -z $db && ${word,,} == *.fdb ]] && db=$word
        ((positional++))
    done

    if [[ -z $verb ]]; then
        COMPREPLY=($(compgen -W "$verbs --help --version --verbose" -- "$cur"))
        return
    fi

    # The value of an option.
    case $prev in
        --type)
            COMPREPLY=($(compgen -W "text html delimited screen pdf" -- "$cur"))
            return
            ;;
        --delimiter)
            COMPREPLY=($(compgen -W "Comma Semi-Colon Tab Space" -- "$cur"))
            return
            ;;
        --template)
            local IFS=$'\n'
            COMPREPLY=($(compgen -W "$(tallowmere-cli template list 2>/dev/null | cut -f1)" \
                -- "$cur"))
            return
            ;;
        --query)
            _tallowmere_files "$cur" qry
            return
            ;;
        --relative-to)
            COMPREPLY=($(compgen -d -- "$cur"))
            compopt -o filenames 2>/dev/null
            return
            ;;
        -o | --password-file | --ca-file | --chart)
            _tallowmere_files "$cur"
            return
            ;;
        --find | --key | --fields | --where | --sort)
            if [[ -n $db ]]; then
                local IFS=$'\n'
                COMPREPLY=($(compgen -W "$(tallowmere-cli fields "$db" 2>/dev/null)" -- "$cur"))
            fi
            return
            ;;
        --ids | --title | --within | --keep | --since) return ;;
    esac

    if [[ $cur == -* ]] && ((!operands)); then
        COMPREPLY=($(compgen -W "$(_tallowmere_cli_options "$verb")" -- "$cur"))
        return
    fi

    # A positional argument, by verb and place.
    case $verb:$positional in
        help:0) COMPREPLY=($(compgen -W "$verbs" -- "$cur")) ;;
        parse:* | import:[1-9]*) _tallowmere_files "$cur" ;;
        config:0) _tallowmere_files "$cur" cfg ;;
        query:1) _tallowmere_files "$cur" qry ;;
        template:0) COMPREPLY=($(compgen -W "list convert" -- "$cur")) ;;
        template:1) [[ ${COMP_WORDS[*]} == *convert* ]] && _tallowmere_files "$cur" rpt ;;
        render:2)
            local IFS=$'\n'
            COMPREPLY=($(compgen -W "$(tallowmere-cli template list 2>/dev/null | cut -f1)" \
                -- "$cur"))
            ;;
        stats:[1-9]*)
            [[ -n $db ]] &&
                COMPREPLY=($(compgen -W "$(tallowmere-cli fields "$db" 2>/dev/null)" -- "$cur"))
            ;;
        *:0 | transfer:1) _tallowmere_files "$cur" fdb ;;
    esac
}

_tallowmere()
{
    COMPREPLY=()
    _tallowmere_files "${COMP_WORDS[COMP_CWORD]}" fdb qry
}

complete -F _tallowmere_cli tallowmere-cli
complete -F _tallowmere tallowmere

# bash completion for kvnode. Commands and options come from the tool's own
# --help, so that completion offers what the installed tool accepts.
_kvnode()
{
    local cur prev words cword
    _init_completion || return

    if ((cword == 1)); then
        COMPREPLY=($(compgen -W "$("$1" --help 2>/dev/null |
            sed -n 's/^  kvnode \([a-z]*\).*/\1/p') --help --version" -- "$cur"))
        return
    fi
    case $prev in
        -o | --output) _filedir; return ;;
        --encoding) COMPREPLY=($(compgen -W "utf-8 gbk" -- "$cur")); return ;;
        --node) return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_parse_help "$1" "${words[1]} --help") --help" -- "$cur"))
        return
    fi
    _filedir xml
}
complete -F _kvnode kvnode

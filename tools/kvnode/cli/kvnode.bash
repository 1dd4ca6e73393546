# bash completion for kvnode: commands, options, their values and rule ids.
# The words come from kvnode itself (--list-commands, --list-options,
# --list-value-options, --list-values), so they are those of the kvnode
# being completed.

_kvnode()
{
    local cur prev words cword split=false
    if declare -F _init_completion >/dev/null; then
        _init_completion -s || return
    else
        # without bash-completion, --opt=value arrives as three words
        words=("${COMP_WORDS[@]}") cword=$COMP_CWORD
        cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
        if [[ $cur == = ]]; then
            cur= split=true
        elif [[ $prev == = ]]; then
            prev=${COMP_WORDS[COMP_CWORD-2]} split=true
        fi
    fi
    local kvnode=${words[0]} command=${words[1]}

    if ((cword == 1)); then
        COMPREPLY=($(compgen -W "$("$kvnode" --list-commands 2>/dev/null) --help --version" -- "$cur"))
        return
    fi

    if [[ $split == true ]] || "$kvnode" --list-value-options "$command" 2>/dev/null | grep -qxF -- "$prev"; then
        local values
        values=$("$kvnode" --list-values "$command" "$prev" 2>/dev/null)
        if [[ -z $values ]]; then
            COMPREPLY=($(compgen -f -- "$cur"))
            return
        fi
        # rule lists: complete the id after the last comma
        local done=
        [[ $cur == *,* ]] && done=${cur%,*},
        COMPREPLY=($(compgen -P "$done" -W "$values" -- "${cur##*,}"))
        return
    fi

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$("$kvnode" --list-options "$command" 2>/dev/null)" -- "$cur"))
        [[ ${#COMPREPLY[@]} == 1 && ${COMPREPLY[0]} == *= ]] && compopt -o nospace 2>/dev/null
        return
    fi
    # explain takes a rule, help a command or a rule
    if [[ $command == explain || $command == help ]]; then
        local topics
        topics=$("$kvnode" --list-rules 2>/dev/null)
        [[ $command == help ]] && topics+=" $("$kvnode" --list-commands 2>/dev/null)"
        COMPREPLY=($(compgen -W "$topics" -- "$cur"))
        return
    fi
    COMPREPLY=($(compgen -f -X '!*.xml' -- "$cur") $(compgen -d -- "$cur"))
}

complete -F _kvnode kvnode

# Sourced by the install tests: starting an installed game as a player's machine would, watching its
# log and ending it as the session does.

# Starts the given game binary in a fresh home and XDG data, config and cache folders under RUN from
# an empty working directory, drawn by SDL's offscreen driver. (Mesa keeps its shader cache in the
# XDG cache folder, else in the account's own home whatever HOME says.) Leaves the process running;
# sets game_pid and game_log.
#   start_game BINARY RUN
start_game() {
    local binary=$1 run=$2
    mkdir -p "$run/cwd" "$run/home" "$run/data" "$run/config" "$run/cache"
    game_log=$run/game.log
    (cd "$run/cwd" && exec env -u DISPLAY -u WAYLAND_DISPLAY HOME="$run/home" XDG_DATA_HOME="$run/data" \
        XDG_CONFIG_HOME="$run/config" XDG_CACHE_HOME="$run/cache" SDL_VIDEODRIVER=offscreen \
        SDL_AUDIODRIVER=dummy "$binary" >"$game_log" 2>&1) &
    game_pid=$!
}

# Waits until the game's log shows the pattern (true) or the game ended or the time is up (false).
#   wait_for_log PATTERN SECONDS
wait_for_log() {
    local pattern=$1 seconds=$2
    local until=$((SECONDS + seconds))
    while ((SECONDS < until)); do
        grep -qE "$pattern" "$game_log" && return 0
        kill -0 "$game_pid" 2>/dev/null || return 1
        sleep 0.2
    done
    return 1
}

# Ends the game as the session would (SIGTERM) and gives its exit status.
end_game() {
    kill -TERM "$game_pid" 2>/dev/null || true
    local until=$((SECONDS + 30))
    while kill -0 "$game_pid" 2>/dev/null && ((SECONDS < until)); do
        sleep 0.2
    done
    if kill -0 "$game_pid" 2>/dev/null; then
        kill -KILL "$game_pid" 2>/dev/null || true
    fi
    local status=0
    wait "$game_pid" || status=$?
    return "$status"
}

# Starts the game, waits for the end of the loading screen (which logs where it goes once it has
# preloaded every texture and drawn its bar) and ends it; checks that it found every resource file
# and saved into the XDG data folder and nowhere else. Calls fail for each fault.
#   check_game_run BINARY RUN
check_game_run() {
    local binary=$1 run=$2
    start_game "$binary" "$run"
    if ! wait_for_log '^loading -> ' 240; then
        fail "$binary did not get past the loading screen; its log:"
        tail -40 "$game_log" >&2
    fi
    local status=0
    end_game || status=$?
    ((status == 0)) || fail "$binary ended with status $status after SIGTERM"

    if grep -E 'not found|could not be read' "$game_log" >&2; then
        fail "$binary missed resource files (above)"
    fi
    local name
    for name in UserData.bin CheckSum.cs UserDataSecondary.bin CheckSumSecondary.cs; do
        [[ -f "$run/data/Kestrova/$name" ]] || fail "$binary left no save $name in the XDG data folder"
    done
    [[ -z "$(ls -A "$run/cwd")" ]] || fail "$binary wrote into its working directory: $(ls -A "$run/cwd")"
}

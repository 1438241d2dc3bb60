# Sourced by test.sh: the folders of the user's own that no test may touch, listed before the tests
# and compared after them. They are the XDG data folder (the game's saves live under it), the pictures
# folder (exported wallpapers), each found as the game finds it, and the source tree outside its build
# folders (a test writing into its current folder). The game's own save folder is listed with each
# file's size and time, since there a test would change files rather than add them.
#   user_folders_listing ROOT PRUNED_FOLDER...

# $1 when it names an absolute folder (the XDG rules ignore relative ones), else $2.
xdg_folder() {
    if [[ ${1:-} == /* ]]; then echo "$1"; else echo "$2"; fi
}

# XDG_PICTURES_DIR of user-dirs.dirs, else ~/Pictures, as the game reads it.
pictures_folder() {
    local config line value
    config=$(xdg_folder "${XDG_CONFIG_HOME:-}" "$HOME/.config")
    line=$(grep -m1 '^XDG_PICTURES_DIR=' "$config/user-dirs.dirs" 2>/dev/null) || true
    value=${line#XDG_PICTURES_DIR=}
    value=${value#\"}
    value=${value%\"}
    if [[ $value == '$HOME'* ]]; then
        value=$HOME${value#'$HOME'}
    fi
    while [[ $value == */ && $value != / ]]; do
        value=${value%/}
    done
    if [[ $value == /* && $value != "$HOME" ]]; then echo "$value"; else echo "$HOME/Pictures"; fi
}

user_folders_listing() {
    local root=$1
    shift
    local data pictures prune=() folder
    data=$(xdg_folder "${XDG_DATA_HOME:-}" "$HOME/.local/share")
    pictures=$(pictures_folder)
    for folder in "$root/.git" "$@"; do
        prune+=(-path "$folder" -prune -o)
    done
    {
        for folder in "$data" "$pictures"; do
            if [[ -e $folder ]]; then
                find "$folder" -xdev -print 2>/dev/null || true
            else
                echo "$folder (none)"
            fi
        done
        if [[ -d $data/Kestrova ]]; then
            find "$data/Kestrova" -xdev -type f -printf '%p %s bytes, %TY-%Tm-%Td %TT\n' 2>/dev/null || true
        fi
        find "$root" -xdev "${prune[@]}" -print 2>/dev/null || true
    } | LC_ALL=C sort -u
}

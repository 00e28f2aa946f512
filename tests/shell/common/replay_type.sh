# Sourced by the install test and the package test. replay_type_check SHARE DIR: with SHARE's
# type database and desktop entries searched first (as a desktop that asks gio does), a replay
# is application/x-quillon-replay by its name and by its first bytes, and the game's desktop
# entry opens it. DIR is a folder of the test's own. Says what is wrong and returns 1.
replay_type_check() {
  rt_share=$1
  rt_dir=$2
  mkdir -p "$rt_dir/config" "$rt_dir/data"
  printf 'QLNRPLY\032replay' > "$rt_dir/race.qrp"
  cp "$rt_dir/race.qrp" "$rt_dir/race-without-a-name"
  for rt_file in race.qrp race-without-a-name; do
    rt_type=$(XDG_CURRENT_DESKTOP=GNOME XDG_DATA_DIRS="$rt_share:/usr/share" XDG_DATA_HOME="$rt_dir/data" \
      XDG_CONFIG_HOME="$rt_dir/config" xdg-mime query filetype "$rt_dir/$rt_file" 2>&1)
    [ "$rt_type" = "application/x-quillon-replay" ] || { echo "xdg-mime gives $rt_file the type '$rt_type'"; return 1; }
  done
  rt_default=$(XDG_CURRENT_DESKTOP=GNOME XDG_DATA_DIRS="$rt_share:/usr/share" XDG_DATA_HOME="$rt_dir/data" \
    XDG_CONFIG_HOME="$rt_dir/config" xdg-mime query default application/x-quillon-replay 2>&1)
  [ "$rt_default" = "ru.quillon.Quillon.desktop" ] || { echo "replays open with '$rt_default', not the game"; return 1; }
  echo "a replay is application/x-quillon-replay (by name and by its bytes) and opens with the game"
}

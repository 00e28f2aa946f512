# Sourced by the shell tests. make_game_folder DIR BUILD_DIR makes DIR a game folder of
# its own: the build's generated data, and a save folder the test's run may write.
make_game_folder() {
  mkdir -p "$1/Data"
  ln -s "$2/Data/Res" "$1/Data/Res"
  ln -s "$2/Data/Music" "$1/Data/Music"
}

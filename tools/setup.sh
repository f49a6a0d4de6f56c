# Sourced: installs the Debian packages the build and the tests need, when
# something is missing, and configures and builds a preset.
qb_install_packages() {
  local need=()
  command -v cmake >/dev/null || need+=(cmake)
  command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64)
  command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686)
  command -v x86_64-w64-mingw32-objdump >/dev/null || need+=(binutils-mingw-w64)
  [ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
  [ -f /usr/include/nlohmann/json.hpp ] || need+=(nlohmann-json3-dev)
  [ -f /usr/include/stb/stb_image_write.h ] || need+=(libstb-dev)
  [ -f /usr/share/duktape/duktape.c ] || need+=(duktape-dev)
  [ -x /usr/lib/wine/wine64 ] || need+=(wine wine64)
  command -v Xvfb >/dev/null || need+=(xvfb)
  command -v python3 >/dev/null || need+=(python3)
  /usr/bin/python3 -c "import psd_tools" 2>/dev/null || need+=(python3-psd-tools)
  command -v make >/dev/null || need+=(make)
  if [ ${#need[@]} -gt 0 ]; then
    echo "installing: ${need[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    # A mirror in the middle of a sync fails the index fetch for a while.
    local pause
    for pause in 0 20 60 120; do
      sleep "$pause"
      apt-get update -qq >&2 && break
      echo "the package indices did not fetch whole; trying again" >&2
    done
    apt-get install -y -qq --no-install-recommends "${need[@]}" >&2
  fi
}

# Configures (once) and builds a preset into its folder; QB_BUILD_DIR moves
# the x64 tree elsewhere (one tree per worker when several build at once).
qb_build() {  # preset
  local root dir; root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  dir="$root/build/$1"
  [ "$1" = x64 ] && [ -n "${QB_BUILD_DIR:-}" ] && dir="$QB_BUILD_DIR"
  ( cd "$root" &&
    { [ -f "$dir/CMakeCache.txt" ] || cmake --preset "$1" -B "$dir" >&2; } &&
    cmake --build "$dir" -j "$(nproc)" >&2 )
}

# Sourced by the scripts that run the Windows player under Wine.
# Sets WINE_BIN and WINE_ARCH: the 32-bit player where this machine can run
# 32-bit code, else the 64-bit build of the same sources (some kernels are
# built without 32-bit support, and Wine cannot run 32-bit programs there).
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  WINE_BIN=/usr/lib/wine/wine
  WINE_ARCH=i686
else
  WINE_BIN=/usr/lib/wine/wine64
  WINE_ARCH=x86_64
fi
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Configures and builds the Windows programs for WINE_ARCH into build/win-$WINE_ARCH.
build_windows() {
  local root=$1
  local dir=$root/build/win-$WINE_ARCH
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-$WINE_ARCH.cmake" >/dev/null
  ninja -C "$dir" zephlet zephlet-pack
  WIN_BUILD=$dir
}

# Starts a private X server unless DISPLAY is set; sets XVFB_PID when started.
start_display() {
  XVFB_PID=
  if [ -z "${DISPLAY:-}" ]; then
    local n=$((90 + RANDOM % 400))
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
}

stop_display() {
  if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
}

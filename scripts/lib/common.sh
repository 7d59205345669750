# Shared by scripts/run, scripts/test, scripts/bench, scripts/skintool.
# Source it; it defines the build folders and the Wine/Xvfb helpers.

QS_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
QS_BUILD=${QS_BUILD:-$QS_ROOT/build}
QS_JOBS=${QS_JOBS:-$(nproc)}

# Compiler cache kept outside the clone (and outside the HOME that wine_env moves),
# so a fresh checkout on the same machine rebuilds only what changed.
if command -v ccache >/dev/null 2>&1 && [ "${QS_CCACHE:-1}" != 0 ]; then
  export CCACHE_DIR=${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/qelvoskin-ccache}
  export CCACHE_BASEDIR=$QS_ROOT CCACHE_NOHASHDIR=true
  export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-8G}
  # The Windows trees use precompiled headers: ccache caches those compiles only
  # when told that the header's macros and time stamps may be taken as given.
  export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}
  QS_LAUNCHER=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
else
  QS_LAUNCHER=()
fi

# configure_build DIR [cmake args...]: configures once, then builds
# everything, or only the targets named in QS_TARGETS.
configure_build() {
  local dir=$1; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$QS_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${QS_LAUNCHER[@]}" "$@" >"$dir.configure.log" 2>&1 \
      || { cat "$dir.configure.log"; return 1; }
  fi
  local targets=()
  for t in ${QS_TARGETS:-}; do targets+=(--target "$t"); done
  # .qs-built marks a tree whose every target is built: tests of one bitness
  # use the other tree's programs only then, not while it is being built.
  [ ${#targets[@]} -eq 0 ] && rm -f "$dir/.qs-built"
  cmake --build "$dir" -j "$QS_JOBS" "${targets[@]}" || return 1
  [ ${#targets[@]} -eq 0 ] && touch "$dir/.qs-built"
  return 0
}

build_native() { mkdir -p "$QS_BUILD"; configure_build "$QS_BUILD/native"; }
build_asan() {
  mkdir -p "$QS_BUILD"
  configure_build "$QS_BUILD/asan" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DQS_SANITIZE=ON -DQS_FUZZ=ON
}
build_win() { # build_win i686|x86_64
  mkdir -p "$QS_BUILD"
  configure_build "$QS_BUILD/win-$1" -DCMAKE_TOOLCHAIN_FILE="$QS_ROOT/cmake/mingw-$1.cmake"
}

# Wine: one prefix per build tree, configured so nothing can block a headless run.
# QS_WINE_SLOT names a second prefix (and HOME) beside the default one, so that two
# test runs with their own wineserver and display can go on at the same time.
wine_env() {
  local slot=${QS_WINE_SLOT:+-$QS_WINE_SLOT}
  export WINEPREFIX=$QS_BUILD/wineprefix$slot
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d}
  # The prefix's Desktop folder follows HOME: keep shortcuts and menus inside the build tree.
  export HOME=$QS_BUILD/home$slot
  mkdir -p "$HOME"
}

wine_prefix() {
  wine_env
  local ready=$WINEPREFIX/.qs-ready-v2
  if [ -f "$ready" ]; then return 0; fi
  echo "wine: creating prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  # No Gecko/Mono install prompts during creation.
  WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" wineboot -i >/dev/null 2>&1
  wineserver -w
  local r='wine reg add'
  # No window-manager stall on DestroyWindow; Wine draws the system frame itself.
  $r 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  $r 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
  # Never offer to download an HTML or .NET engine.
  $r 'HKCU\Software\Wine\MSHTML' /v GeckoUrl /d '' /f >/dev/null
  $r 'HKCU\Software\Wine\Dotnet' /v MonoUrl /d '' /f >/dev/null
  # Chinese texts: substitute and link a CJK font so Tahoma text falls back to it.
  $r 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /t REG_SZ /d 'WenQuanYi Micro Hei' /f >/dev/null
  $r 'HKCU\Software\Wine\Fonts\Replacements' /v NSimSun /t REG_SZ /d 'WenQuanYi Micro Hei' /f >/dev/null
  local link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
  for f in 'Tahoma' 'Tahoma Bold' 'Microsoft Sans Serif' 'MS Shell Dlg' 'MS Shell Dlg 2'; do
    $r "$link" /v "$f" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null
  done
  # Debian's Wine does not look in fonts-wine's folder: without these copies
  # Tahoma and Marlett (the system's caption-button glyphs) fall back to others.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  wineserver -w
  touch "$ready"
}

# Xvfb on a free display; sets DISPLAY and QS_XVFB_PID.
start_xvfb() {
  local n=${QS_DISPLAY_NUM:-97}
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  QS_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.05
  done
  echo "Xvfb did not start" >&2; return 1
}
stop_xvfb() { [ -n "${QS_XVFB_PID:-}" ] && kill "$QS_XVFB_PID" 2>/dev/null; wait "$QS_XVFB_PID" 2>/dev/null || true; }

# A persistent, warm wineserver: keeps ctest's pipes free and starts tests fast.
# A server left over from an earlier run may hold another display: replace it.
start_wineserver() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 || true
}
stop_wineserver() { wineserver -k 2>/dev/null || true; }

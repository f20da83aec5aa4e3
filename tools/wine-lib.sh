# Shared by tools/wine-exec, tools/wine-stop and tools/run: the project's Wine prefix, a
# virtual X display when none is set, and one persistent wineserver per prefix.
# Sourced, not run. Honours WINEPREFIX; otherwise the prefix is build/wine of this checkout.
#
# With TAVIMBO_AS_RUNNER set, programs see what they see on a hosted Windows runner, in a prefix
# of its own (build/wine-runner): the English locale (code page 1252), a user whose name is longer
# than 8 characters, so that the temporary folder is given in its 8.3 form as there
# (C:\users\RUNN~1P1\AppData\Local\Temp), an Explorer folder window open all the time in a
# process of its own, standing in for the shell, and a 1024x768 screen.

wine_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Non-ASCII names reach Wine intact only under a UTF-8 locale; the Japanese one gives programs
# what a Japanese Windows does: locale 0x411 and the ANSI code page 932.
wine_locale=ja_JP.UTF-8
wine_screen=1280x1024x24
if [ -n "${TAVIMBO_AS_RUNNER:-}" ]; then
  export WINEPREFIX=${WINEPREFIX:-$wine_root/build/wine-runner}
  # Wine names the profile folder after USER.
  export USER=runneradmin LOGNAME=runneradmin
  wine_locale=en_US.UTF-8
  wine_screen=1024x768x24
fi
export WINEPREFIX=${WINEPREFIX:-$wine_root/build/wine}
# With TAVIMBO_DPI, a prefix of its own beside it that runs at that resolution, with its own
# wineserver and display.
if [ -n "${TAVIMBO_DPI:-}" ]; then
  export WINEPREFIX=${WINEPREFIX%/}-${TAVIMBO_DPI}dpi
fi
export WINEDEBUG=${WINEDEBUG:--all}
# Wine mirrors shortcuts on the Desktop and in the Start menu as Linux menu entries, icons and
# .desktop files in the real home folder; nothing run here may write there.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d}
export LANG=$wine_locale LC_ALL=$wine_locale
wine_state=${WINEPREFIX%/}.state

# Makes the prefix ready once. With wine_template naming a ready prefix in which nothing runs,
# the new one starts as a copy of it: a fraction of a second, against about 20 s for a new one.
wine_prepare_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 8>"$wine_state.lock"
  flock 8
  if [ ! -f "$WINEPREFIX/.tavimbo-ready-ja" ]; then
    rm -rf "$WINEPREFIX"
    if [ -n "${wine_template:-}" ] && [ -f "$wine_template/.tavimbo-ready-ja" ]; then
      cp -a "$wine_template" "$WINEPREFIX"
      rm -f "$WINEPREFIX/.tavimbo-ready-ja"
    else
      wine_new_prefix
    fi
    if [ -n "${TAVIMBO_DPI:-}" ]; then
      wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$TAVIMBO_DPI" /f >/dev/null 2>&1
      wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
        /v LogPixels /t REG_DWORD /d "$TAVIMBO_DPI" /f >/dev/null 2>&1
      wineserver -w
    fi
    touch "$WINEPREFIX/.tavimbo-ready-ja"
  fi
  flock -u 8
}

wine_new_prefix() {
  # No Mono or Gecko: their installers would ask questions and nothing here needs them.
  WINEDLLOVERRIDES="mscoree=;mshtml=" wineboot -i >/dev/null 2>&1
  wineserver -w
  # Wine has none of the fonts a Japanese Windows draws its texts with: the program's own
  # "Meiryo UI", "MS UI Gothic", the dialog fonts "MS Shell Dlg" (2), and Tahoma, which Wine's
  # message boxes and task dialogs take as the message font. Unmapped, they show Japanese as
  # empty squares in screenshots.
  local face
  for face in "Meiryo UI" "MS UI Gothic" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma"; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ \
      /d "IPAGothic" /f >/dev/null 2>&1
  done
  # No window manager runs in the virtual display: a managed window waits about 2 s for one
  # each time it is hidden (every answered box, every closed program). Unmanaged windows do not.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  # A fresh prefix links Desktop, Documents and friends to the real home folder; make them
  # folders of the prefix so that nothing run here writes into the user's home.
  local user_dir
  for user_dir in "$WINEPREFIX"/drive_c/users/*/; do
    local entry
    for entry in "$user_dir"*; do
      if [ -L "$entry" ]; then
        rm -f "$entry"
        mkdir -p "$entry"
      fi
    done
  done
  wine_register_shell_recorder
  if [ -n "${TAVIMBO_AS_RUNNER:-}" ]; then
    wine_use_short_temp
  fi
  wineserver -w
}

# TEMP and TMP in their 8.3 form, in the runner's place for them.
wine_use_short_temp() {
  local temp='C:\users\'$USER'\AppData\Local\Temp' short variable
  mkdir -p "$WINEPREFIX/drive_c/users/$USER/AppData/Local/Temp"
  short=$(wine cmd /c "for %I in ($temp) do @echo %~sI" 2>/dev/null | tr -d '\r')
  if [ "$short" = "$temp" ] || [[ "$short" != *'~'* ]]; then
    echo "wine-lib: no short form of $temp: $short" >&2
    return 1
  fi
  for variable in TEMP TMP; do
    wine reg add 'HKCU\Environment' /v "$variable" /d "$short" /f >/dev/null 2>&1
  done
}

# Help files and web addresses that a program asks the shell to open go to the tests' recorder
# (tests/recorder), so that tests can check them and no address ever reaches the host's
# browser through winebrowser. Wine 8 reads associations from HKLM's classes only.
wine_register_shell_recorder() {
  local recorder="Z:${wine_root//\//\\}\\build\\windows\\ShellRecorder.exe"
  local command="\"$recorder\" \"%1\""
  local protocol
  wine reg add 'HKLM\Software\Classes\.chm' /ve /d TavimboShellRecorder /f >/dev/null 2>&1
  wine reg add 'HKLM\Software\Classes\TavimboShellRecorder\shell\open\command' /ve \
    /d "$command" /f >/dev/null 2>&1
  for protocol in http https; do
    wine reg delete "HKLM\\Software\\Classes\\$protocol" /f >/dev/null 2>&1
    wine reg add "HKLM\\Software\\Classes\\$protocol" /v 'URL Protocol' /d '' /f >/dev/null 2>&1
    wine reg add "HKLM\\Software\\Classes\\$protocol\\shell\\open\\command" /ve \
      /d "$command" /f >/dev/null 2>&1
  done
}

wine_ensure_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  exec 9>"$wine_state.display.lock"
  flock 9
  local display="" pid=""
  if [ -f "$wine_state.display" ]; then
    read -r display pid <"$wine_state.display" || true
    if [ -z "$pid" ] || ! kill -0 "$pid" 2>/dev/null; then
      display=""
    fi
  fi
  if [ -z "$display" ]; then
    local number
    for number in $(seq 91 199); do
      [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
      setsid Xvfb ":$number" -screen 0 "$wine_screen" -nolisten tcp </dev/null >/dev/null 2>&1 &
      pid=$!
      local tries
      for tries in $(seq 100); do
        [ -e "/tmp/.X11-unix/X$number" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
      done
      if [ -e "/tmp/.X11-unix/X$number" ] && kill -0 "$pid" 2>/dev/null; then
        display=":$number"
        rm -f "$wine_state.shell" # of a run that ended without tools/wine-stop
        echo "$display $pid" >"$wine_state.display"
        break
      fi
    done
  fi
  flock -u 9
  if [ -z "$display" ]; then
    echo "wine-lib: could not start a virtual X display (Xvfb)" >&2
    return 1
  fi
  export DISPLAY=$display
}

wine_ensure_server() {
  # One wineserver for the whole run: later starts of programs are then fast.
  wineserver -p >/dev/null 2>&1 || true
}

# The drag source of the tests under Wine that drop files through the X11 protocol
# (tests/tools/xdnd-drop.py, under Debian's own Python, which has python3-xlib); needs the display.
wine_ensure_host_service() {
  exec 7>"$wine_state.host.lock"
  flock 7
  local pid=""
  [ -f "$wine_state.host" ] && read -r pid <"$wine_state.host"
  if [ -z "$pid" ] || ! kill -0 "$pid" 2>/dev/null; then
    setsid /usr/bin/python3 "$wine_root/tests/tools/xdnd-drop.py" \
      "$WINEPREFIX/drive_c/tavimbo-host" </dev/null >/dev/null 2>&1 &
    echo $! >"$wine_state.host"
  fi
  flock -u 7
}

# For the runner-like run: the Explorer window that stands in for the shell's own, started
# beside the tests, which must leave it open.
wine_ensure_shell() {
  [ -n "${TAVIMBO_AS_RUNNER:-}" ] || return 0
  exec 6>"$wine_state.shell.lock"
  flock 6
  local pid=""
  [ -f "$wine_state.shell" ] && read -r pid <"$wine_state.shell"
  if [ -z "$pid" ]; then
    setsid wine explorer.exe 'C:\' </dev/null >/dev/null 2>&1 &
    echo $! >"$wine_state.shell"
    # Shown before any test runs, as the shell's is: a window that came up later would take
    # the foreground from the program under test.
    local tries
    for tries in $(seq 100); do
      xdotool search --onlyvisible --class explorer.exe >/dev/null 2>&1 && break
      sleep 0.1
    done
  fi
  flock -u 6
}

# Ends what the library started. In the runner-like run it fails when the shell's stand-in
# did not live to the end.
wine_stop() {
  local status=0
  if [ -f "$wine_state.shell" ]; then
    local shell
    read -r shell <"$wine_state.shell" || true
    if ! kill -0 "$shell" 2>/dev/null; then
      echo "wine-lib: the Explorer window standing in for the shell was closed during the run" >&2
      status=1
    fi
    rm -f "$wine_state.shell"
  fi
  wineserver -k >/dev/null 2>&1 || true
  if [ -f "$wine_state.host" ]; then
    local host
    read -r host <"$wine_state.host" || true
    [ -n "${host:-}" ] && kill "$host" 2>/dev/null || true
    rm -f "$wine_state.host"
  fi
  if [ -f "$wine_state.display" ]; then
    local display pid
    read -r display pid <"$wine_state.display" || true
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
    rm -f "$wine_state.display"
  fi
  return $status
}

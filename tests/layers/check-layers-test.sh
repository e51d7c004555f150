#!/usr/bin/env bash
# Plants one violation of each kind in a small tree and checks that
# scripts/check-layers fails on it (and passes on the clean tree).
set -uo pipefail
check=$(realpath "${1:?usage: check-layers-test.sh PATH/TO/check-layers}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

clean_tree() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree"/PIM/{core,app,display,backends/sdl,backends/headless} "$work/tree"/DAX/rooms \
    "$work/tree"/game/{common,baleout,croquet} "$work/tree"/tests
  cd "$work/tree" || exit 2
  printf '#pragma once\n' >PIM/core/CxString.h
  printf '#include "PIM/core/CxString.h"\n' >PIM/display/CxSprite.h
  printf '#include "PIM/display/CxSprite.h"\n' >PIM/app/CxApp.h
  printf '#include "PIM/app/CxApp.h"\n#include <SDL.h>\n' >PIM/backends/sdl/Window.cpp
  printf '#include "PIM/app/CxApp.h"\n' >PIM/backends/headless/Window.cpp
  printf 'DAX/rooms 20\n' >DAX/floors
  printf '#include "PIM/app/CxApp.h"\n' >DAX/rooms/CDaxWindow.h
  printf 'game/common 40\ngame/baleout 41\ngame/croquet 41\n' >game/floors
  printf '#include "DAX/rooms/CDaxWindow.h"\n' >game/common/CBaseRoom.h
  printf '#include "game/common/CBaseRoom.h"\n' >game/baleout/Room.cpp
  printf '#include "game/common/CBaseRoom.h"\n' >game/croquet/Room.cpp
  # Tests may include anything.
  printf '#include "game/croquet/Room.cpp"\n#include "PIM/backends/sdl/Window.cpp"\n' >tests/AnyTest.cpp
}

expect() { # expect pass|fail what
  local want=$1 what=$2 out code
  out=$("$check" "$work/tree" 2>&1)
  code=$?
  if { [ "$want" = pass ] && [ $code -ne 0 ]; } || { [ "$want" = fail ] && [ $code -eq 0 ]; }; then
    echo "FAIL: $what: check-layers exited $code"
    echo "$out"
    failures=$((failures + 1))
  else
    echo "ok: $what"
  fi
}

clean_tree
expect pass "the clean tree"

clean_tree
printf '#include "PIM/app/CxApp.h"\n' >>PIM/core/CxString.h
expect fail "an engine floor including a higher one"

clean_tree
printf '#include "PIM/backends/headless/Window.cpp"\n' >>PIM/backends/sdl/Window.cpp
expect fail "one back end including the other"

clean_tree
printf '#include "game/common/CBaseRoom.h"\n' >>DAX/rooms/CDaxWindow.h
expect fail "the game layer including the game"

clean_tree
printf '#include "game/baleout/Room.cpp"\n' >>game/croquet/Room.cpp
expect fail "one mini-game including another"

clean_tree
printf 'void f() { SDL_Delay(1); }\n' >>PIM/app/CxApp.h
expect fail "SDL named outside its back end"

clean_tree
mkdir -p PIM/gadgets
printf '#pragma once\n' >PIM/gadgets/Thing.h
expect fail "a folder that is no floor"

clean_tree
printf '#include "PIM/gadgets/Thing.h"\n' >>PIM/app/CxApp.h
expect fail "an include of an engine path that is no floor"

[ $failures -eq 0 ] && echo "check-layers-test: all passed"
exit $((failures > 0))

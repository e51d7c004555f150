# The program started where there is no display: it must say so, suggest
# --headless and exit 69; asked for SDL's off-screen driver by name, it runs.
#   cmake -DPROGRAM=marrowdale -DHOME_DIR=scratch -P RunWithoutDisplay.cmake
file(REMOVE_RECURSE ${HOME_DIR})
file(MAKE_DIRECTORY ${HOME_DIR}/data ${HOME_DIR}/config ${HOME_DIR}/run)
set(scratch XDG_DATA_HOME=${HOME_DIR}/data XDG_CONFIG_HOME=${HOME_DIR}/config XDG_RUNTIME_DIR=${HOME_DIR}/run)
set(noDisplay --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=SDL_VIDEODRIVER)
# The display libraries keep global memory SDL never frees (the window tests
# run in children for the same reason): in the sanitizer build the leak check
# would report theirs, not ours.
if(DEFINED ENV{ASAN_OPTIONS})
  list(APPEND scratch "ASAN_OPTIONS=$ENV{ASAN_OPTIONS}:detect_leaks=0")
else()
  list(APPEND scratch ASAN_OPTIONS=detect_leaks=0)
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E env ${noDisplay} ${scratch} ${PROGRAM} --frames 5
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
if(NOT code EQUAL 69)
  message(FATAL_ERROR "without a display: exit code ${code}, expected 69\n${out}\n${err}")
endif()
if(NOT err MATCHES "marrowdale: no display found \\(no X11 or Wayland session.*\\); to run without a window use --headless")
  message(FATAL_ERROR "without a display: the message is not the one expected:\n${err}")
endif()
if(NOT out STREQUAL "")
  message(FATAL_ERROR "without a display: nothing should have started, yet it printed:\n${out}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E env ${noDisplay} SDL_VIDEODRIVER=offscreen ${scratch} ${PROGRAM} --frames 5
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "with SDL_VIDEODRIVER=offscreen: exit code ${code}, expected 0\n${out}\n${err}")
endif()

# Headless needs no display at all.
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${noDisplay} ${scratch} ${PROGRAM} --headless --frames 5
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "--headless without a display: exit code ${code}, expected 0\n${out}\n${err}")
endif()

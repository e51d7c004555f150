# Runs one replay headless and checks the exit code and, when given, a text
# the program must print and a picture it must save. Used by ctest:
#   cmake -DPROGRAM=... -DREPLAY=... -DEXPECT_CODE=0 [-DEXPECT_TEXT=...]
#         [-DEXPECT_PICTURE=file -DCHECKER=pimtool -DEXPECT_INFO="800 600 16 2"]
#         [-DAUDIO_OUT=file.wav -DEXPECT_PEAK=0.3]
#         [-DAUDIO_OUT=file.wav -DLOUD_FROM=1.5 -DLOUD_FOR=2 -DEXPECT_RMS=0.05]
#         [-DEXPECT_USERS=regex] -P RunReplay.cmake
# EXPECT_USERS: the players' file the run left on disk (users.ini) matches the
# regular expression (what the game saved, read after it has ended).
# EXPECT_RMS: the sound between LOUD_FROM and LOUD_FROM + LOUD_FOR seconds is
# at least that loud on average (speech, say, rather than one short chime).
# The package check plays the same replays, with the same expectations, with
# the program it installed (scripts/check-package).
if(DEFINED ENV{PIM_REPLAY_PROGRAM})
  set(PROGRAM $ENV{PIM_REPLAY_PROGRAM})
endif()
if(DEFINED EXPECT_PICTURE)
  file(REMOVE ${EXPECT_PICTURE})
endif()
set(extra)
if(DEFINED AUDIO_OUT)
  file(REMOVE ${AUDIO_OUT})
  set(extra --audio-out ${AUDIO_OUT})
endif()
# Each replay starts as on a clean machine, and its players' data stays out
# of the user's own folder.
get_filename_component(replayName ${REPLAY} NAME_WE)
set(dataHome ${CMAKE_CURRENT_BINARY_DIR}/replay-data/${replayName})
file(REMOVE_RECURSE ${dataHome})
file(MAKE_DIRECTORY ${dataHome})
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${dataHome} ${PROGRAM} --headless --replay ${REPLAY} ${extra}
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
if(NOT code EQUAL EXPECT_CODE)
  message(FATAL_ERROR "${REPLAY}: exit code ${code}, expected ${EXPECT_CODE}\n${out}\n${err}")
endif()
if(DEFINED EXPECT_TEXT AND NOT "${out}${err}" MATCHES "${EXPECT_TEXT}")
  message(FATAL_ERROR "${REPLAY}: the output lacks \"${EXPECT_TEXT}\"\n${out}\n${err}")
endif()
if(DEFINED EXPECT_PICTURE)
  # The picture must be there and read back as the game's screen.
  execute_process(COMMAND ${CHECKER} info ${EXPECT_PICTURE}
                  RESULT_VARIABLE infoCode OUTPUT_VARIABLE info ERROR_VARIABLE infoErr TIMEOUT 60)
  string(STRIP "${info}" info)
  if(NOT infoCode EQUAL 0 OR NOT info STREQUAL EXPECT_INFO)
    message(FATAL_ERROR "${REPLAY}: ${EXPECT_PICTURE} reads as \"${info}\" (${infoErr}), expected \"${EXPECT_INFO}\"")
  endif()
endif()
if(DEFINED AUDIO_OUT)
  # What the game mixed must be there and be heard: sox reads the file on its own.
  execute_process(COMMAND sox ${AUDIO_OUT} -n stat
                  RESULT_VARIABLE soxCode OUTPUT_VARIABLE soxOut ERROR_VARIABLE soxStat TIMEOUT 60)
  string(REGEX MATCH "Maximum amplitude: *([0-9.]+)" found "${soxStat}")
  if(DEFINED EXPECT_PEAK AND (NOT soxCode EQUAL 0 OR NOT found OR CMAKE_MATCH_1 LESS EXPECT_PEAK))
    message(FATAL_ERROR "${REPLAY}: ${AUDIO_OUT} is not the sound expected (peak below ${EXPECT_PEAK}):\n${soxStat}")
  endif()
  if(DEFINED EXPECT_RMS)
    execute_process(COMMAND sox ${AUDIO_OUT} -n trim ${LOUD_FROM} ${LOUD_FOR} stat
                    RESULT_VARIABLE rmsCode OUTPUT_VARIABLE rmsOut ERROR_VARIABLE rmsStat TIMEOUT 60)
    string(REGEX MATCH "RMS +amplitude: *([0-9.]+)" loud "${rmsStat}")
    if(NOT rmsCode EQUAL 0 OR NOT loud OR CMAKE_MATCH_1 LESS EXPECT_RMS)
      message(FATAL_ERROR "${REPLAY}: ${AUDIO_OUT} from ${LOUD_FROM} s for ${LOUD_FOR} s is quieter than "
                          "${EXPECT_RMS} RMS:\n${rmsStat}")
    endif()
  endif()
endif()
if(DEFINED EXPECT_USERS)
  set(usersFile ${dataHome}/Orbana/Marrowdale/users.ini)
  if(NOT EXISTS ${usersFile})
    message(FATAL_ERROR "${REPLAY}: the run left no ${usersFile}")
  endif()
  file(READ ${usersFile} users)
  string(REPLACE "\r" "" users "${users}")
  if(NOT users MATCHES "${EXPECT_USERS}")
    message(FATAL_ERROR "${REPLAY}: ${usersFile} does not match \"${EXPECT_USERS}\":\n${users}")
  endif()
endif()

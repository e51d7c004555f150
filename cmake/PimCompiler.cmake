# Compiler settings shared by every target of the project.

# Plain x86-64: the binaries must run on any machine of that family.
if(CMAKE_BUILD_TYPE STREQUAL "Release")
  set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
  set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG")
endif()

find_program(PIM_CCACHE ccache)
if(PIM_CCACHE)
  # The test programs' precompiled header needs these for ccache to reuse
  # what it compiled before.
  set(PIM_CCACHE_LAUNCHER ${CMAKE_COMMAND} -E env CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime ${PIM_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${PIM_CCACHE_LAUNCHER})
  set(CMAKE_C_COMPILER_LAUNCHER ${PIM_CCACHE_LAUNCHER})
endif()

set(PIM_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
    -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # Bounded formatting that cuts long texts is what the engine means to do.
  list(APPEND PIM_WARNINGS -Wno-format-truncation)
endif()
if(PIM_WERROR)
  list(APPEND PIM_WARNINGS -Werror)
endif()

if(PIM_SANITIZE OR PIM_FUZZ)
  # halt on the first report: a sanitizer finding is a failed run
  set(PIM_SAN_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  if(PIM_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
      message(FATAL_ERROR "PIM_FUZZ needs clang (libFuzzer)")
    endif()
    # coverage counters everywhere; only the fuzz targets link the fuzzer's main
    list(APPEND PIM_SAN_FLAGS -fsanitize=fuzzer-no-link)
  endif()
  add_compile_options(${PIM_SAN_FLAGS})
  add_link_options(-fsanitize=address,undefined)
endif()

# Applied to the project's own targets (not to third-party code).
function(pim_target_defaults target)
  target_compile_options(${target} PRIVATE ${PIM_WARNINGS})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

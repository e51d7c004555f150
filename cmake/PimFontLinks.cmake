# Run by `cmake --install`: links each font of the installed data to the
# system's font file, by a path relative to the link (Debian's rule for links
# inside /usr, and what keeps a staged tree valid once unpacked in place).
#   PIM_FONT_LINKS  "name in the data=absolute font file;..."
#   PIM_DATA_DIR    the data folder, absolute or under the install prefix
cmake_path(ABSOLUTE_PATH PIM_DATA_DIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE OUTPUT_VARIABLE dataDir)
foreach(link IN LISTS PIM_FONT_LINKS)
  string(FIND "${link}" "=" equals)
  if(equals LESS 1)
    message(FATAL_ERROR "PimFontLinks: \"${link}\" is not name=font")
  endif()
  string(SUBSTRING "${link}" 0 ${equals} name)
  math(EXPR after "${equals} + 1")
  string(SUBSTRING "${link}" ${after} -1 font)
  set(linkPath "${dataDir}/${name}")
  cmake_path(GET linkPath PARENT_PATH linkFolder)
  file(RELATIVE_PATH target "${linkFolder}" "${font}")
  set(staged "$ENV{DESTDIR}${linkPath}")
  cmake_path(GET staged PARENT_PATH stagedFolder)
  file(MAKE_DIRECTORY "${stagedFolder}")
  file(REMOVE "${staged}")
  message(STATUS "Linking: ${staged} -> ${target}")
  file(CREATE_LINK "${target}" "${staged}" SYMBOLIC)
endforeach()

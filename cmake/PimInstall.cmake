# What a desktop needs beside the program and its data: the menu entry, the
# icons (painted by tools/painter at build time) and the manual pages. The
# program and its data install from game/, pimtool from tools/.
set(PIM_DIST_DIR ${PROJECT_SOURCE_DIR}/dist)
set(PIM_INSTALL_STAGE ${CMAKE_BINARY_DIR}/install-files)

# The icons, the same face at each size the desktops ask for.
set(PIM_ICON_SIZES 48 128 256)
set(PIM_ICON_FILES)
foreach(size IN LISTS PIM_ICON_SIZES)
  list(APPEND PIM_ICON_FILES ${PIM_INSTALL_STAGE}/icons/${size}x${size}/marrowdale.png)
endforeach()
add_custom_command(OUTPUT ${PIM_ICON_FILES}
  COMMAND $<TARGET_FILE:painter> --icons ${PIM_INSTALL_STAGE}/icons
  DEPENDS painter
  COMMENT "Painting the program's icons")

# Manual pages are installed compressed; -n keeps the name and time out of
# the bytes, so that the same sources give the same package.
set(PIM_MAN_PAGES marrowdale.6 pimtool.1)
set(PIM_MAN_FILES)
foreach(page IN LISTS PIM_MAN_PAGES)
  add_custom_command(OUTPUT ${PIM_INSTALL_STAGE}/man/${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PIM_INSTALL_STAGE}/man
    COMMAND gzip -9n -c ${PIM_DIST_DIR}/${page} > ${PIM_INSTALL_STAGE}/man/${page}.gz
    DEPENDS ${PIM_DIST_DIR}/${page}
    COMMENT "Compressing the manual page ${page}")
  list(APPEND PIM_MAN_FILES ${PIM_INSTALL_STAGE}/man/${page}.gz)
endforeach()
add_custom_target(install_files ALL DEPENDS ${PIM_ICON_FILES} ${PIM_MAN_FILES})

foreach(size IN LISTS PIM_ICON_SIZES)
  install(FILES ${PIM_INSTALL_STAGE}/icons/${size}x${size}/marrowdale.png
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${PIM_DIST_DIR}/marrowdale.svg DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
install(FILES ${PIM_INSTALL_STAGE}/man/marrowdale.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PIM_INSTALL_STAGE}/man/pimtool.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The menu entry starts the program where this install put it, so it works
# whether or not the games folder is on the user's PATH; the prefix is the
# one given to `cmake --install`, known only then.
install(CODE "
  cmake_path(ABSOLUTE_PATH CMAKE_INSTALL_PREFIX NORMALIZE OUTPUT_VARIABLE prefix)
  set(gamesDir \"${MARROWDALE_INSTALL_GAMESDIR}\")
  cmake_path(ABSOLUTE_PATH gamesDir BASE_DIRECTORY \"\${prefix}\" NORMALIZE OUTPUT_VARIABLE MARROWDALE_PROGRAM)
  string(APPEND MARROWDALE_PROGRAM /marrowdale)
  configure_file(\"${PIM_DIST_DIR}/marrowdale.desktop.in\" \"${PIM_INSTALL_STAGE}/marrowdale.desktop\" @ONLY)
")
install(FILES ${PIM_INSTALL_STAGE}/marrowdale.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)

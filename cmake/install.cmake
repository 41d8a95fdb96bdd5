# Installing Starquarry (make install / uninstall / deb).
#
#   PREFIX/bin/starquarry               launcher: runs the game in the player's own folder
#   PREFIX/bin/sqtool                   link to the real sqtool below
#   PREFIX/lib/starquarry/starquarry    the game with its data archive appended
#   PREFIX/lib/starquarry/sqtool        beside the game, so it finds the game's data by default
#   PREFIX/share/starquarry/*.sq        the shipped level packs
#   PREFIX/share/applications/starquarry.desktop
#   PREFIX/share/icons/hicolor/NxN/apps/starquarry.png
#   PREFIX/share/man/man6/{starquarry,sqtool}.6.gz
#
# The game looks for its archive through its own path, so the program file is
# installed whole, never split, and stays out of bin/: the launcher, which
# finds everything relative to itself, is what the PATH sees. Every path is
# relative to the prefix, so `cmake --install --prefix` may pick another one
# than the configured CMAKE_INSTALL_PREFIX.

set(SQ_DIST_SOURCE ${PROJECT_SOURCE_DIR}/dist)
set(SQ_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
file(MAKE_DIRECTORY ${SQ_DIST_DIR})
set(SQ_ICON_SIZES 48 128 256)

# The icon at each size, drawn from the game's palette.
set(SQ_ICON_FILES)
foreach(S IN LISTS SQ_ICON_SIZES)
  list(APPEND SQ_ICON_FILES ${SQ_ASSET_DIR}/starquarry_${S}.png)
endforeach()
set(SQ_PALETTE ${PROJECT_SOURCE_DIR}/data/images/palette.txt)
add_custom_command(
  OUTPUT ${SQ_ICON_FILES}
  COMMAND sqiconmaker ${SQ_PALETTE} ${SQ_ASSET_DIR} ${SQ_ICON_SIZES}
  DEPENDS sqiconmaker ${SQ_PALETTE}
  COMMENT "Drawing the desktop icons"
  VERBATIM)

# Man pages are installed compressed, as Debian's man expects them.
set(SQ_MAN_PAGES)
foreach(M starquarry sqtool)
  set(OUT ${SQ_DIST_DIR}/${M}.6.gz)
  add_custom_command(
    OUTPUT ${OUT}
    COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" gzip ${SQ_DIST_SOURCE}/${M}.6 ${OUT}
    DEPENDS ${SQ_DIST_SOURCE}/${M}.6
    VERBATIM)
  list(APPEND SQ_MAN_PAGES ${OUT})
endforeach()

# Everything an install copies; make install builds only this.
add_custom_target(sq_dist ALL DEPENDS ${SQ_ICON_FILES} ${SQ_MAN_PAGES})
add_custom_target(sq_installables)
add_dependencies(sq_installables sq_dist starquarry sqtool sq_levels)

# The shipped packs: the .sq files among the level folder's outputs.
get_directory_property(SQ_LEVEL_OUTPUTS DIRECTORY ${PROJECT_SOURCE_DIR}/levels DEFINITION SQ_LEVEL_OUTPUTS)
list(FILTER SQ_LEVEL_OUTPUTS INCLUDE REGEX "\\.sq$")

# bin/sqtool is a relative link, so the install can be moved as one tree.
file(CREATE_LINK ../lib/starquarry/sqtool ${SQ_DIST_DIR}/sqtool SYMBOLIC)

# Every installed file relative to the prefix, written for the uninstall.
set(SQ_INSTALLED)

# Folders the install is about to create are recorded before any file lands,
# so that the uninstall removes those (once empty) and no folder that was
# there before.
install(CODE "
  set(SQ_FOLDER_RECORD \"${CMAKE_BINARY_DIR}/install_folders.txt\")
  file(STRINGS \"${CMAKE_BINARY_DIR}/install_files.txt\" SQ_INSTALLED)")
install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/install_folders.cmake)

function(sq_install KIND DEST)
  cmake_parse_arguments(ARG "" "RENAME" "FILES" ${ARGN})
  foreach(F IN LISTS ARG_FILES)
    get_filename_component(NAME ${F} NAME)
    if(ARG_RENAME)
      set(NAME ${ARG_RENAME})
      install(${KIND} ${F} DESTINATION ${DEST} RENAME ${NAME})
    else()
      install(${KIND} ${F} DESTINATION ${DEST})
    endif()
    list(APPEND SQ_INSTALLED ${DEST}/${NAME})
  endforeach()
  set(SQ_INSTALLED ${SQ_INSTALLED} PARENT_SCOPE)
endfunction()

sq_install(PROGRAMS lib/starquarry FILES ${SQ_PLAY_DIR}/starquarry ${SQ_PLAY_DIR}/sqtool)
sq_install(PROGRAMS bin FILES ${SQ_DIST_SOURCE}/starquarry.sh RENAME starquarry)
sq_install(FILES bin FILES ${SQ_DIST_DIR}/sqtool)
sq_install(FILES share/starquarry FILES ${SQ_LEVEL_OUTPUTS})
sq_install(FILES share/applications FILES ${SQ_DIST_SOURCE}/starquarry.desktop)
foreach(S IN LISTS SQ_ICON_SIZES)
  sq_install(FILES share/icons/hicolor/${S}x${S}/apps FILES ${SQ_ASSET_DIR}/starquarry_${S}.png RENAME starquarry.png)
endforeach()
sq_install(FILES share/man/man6 FILES ${SQ_MAN_PAGES})

list(JOIN SQ_INSTALLED "\n" SQ_INSTALLED_TEXT)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/install_files.txt CONTENT "${SQ_INSTALLED_TEXT}\n")

# The Debian package strips the game before its archive goes on; these name
# the two pieces the build joins.
file(GENERATE OUTPUT ${SQ_DIST_DIR}/pieces.env
  CONTENT "GAME_LINKED='$<TARGET_FILE:starquarry_linked>'\nDATA_ARCHIVE='${SQ_ASSET_DIR}/starquarry_data.mad4'\n")

# `cmake --build . --target uninstall` for the configured prefix; make
# uninstall passes its own PREFIX.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -D SQ_BUILD_DIR=${CMAKE_BINARY_DIR} -D SQ_PREFIX=${CMAKE_INSTALL_PREFIX}
          -P ${PROJECT_SOURCE_DIR}/cmake/uninstall.cmake
  VERBATIM)

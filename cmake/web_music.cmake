# Included by web/CMakeLists.txt: the songs in the page's music/ folder and,
# after each link of the program, the page's list of its large files
# (cmake/web_manifest.cmake). The page fetches the songs in their names'
# order, which is the order the game first wants them: the menus' song "a",
# the maps' "b" to "f", the map end's "g", the closing scene's "h".
file(GLOB SQ_WEB_SONG_FILES ${SQ_HOST_BUILD}/assets/web-music/*.xm.gz)
list(SORT SQ_WEB_SONG_FILES)
if(NOT SQ_WEB_SONG_FILES)
  message(FATAL_ERROR "the native build in SQ_HOST_BUILD made no web-music/ (build its sq_web_data)")
endif()
set(SQ_WEB_SONGS)
foreach(F IN LISTS SQ_WEB_SONG_FILES)
  get_filename_component(N ${F} NAME)
  configure_file(${F} ${SQ_WEB_OUT}/music/${N} COPYONLY)
  string(REGEX REPLACE "\\.gz$" "" N ${N})
  list(APPEND SQ_WEB_SONGS ${N})
endforeach()
string(REPLACE ";" "," SQ_WEB_SONGS "${SQ_WEB_SONGS}")
add_custom_command(TARGET starquarry POST_BUILD
  COMMAND ${CMAKE_COMMAND} -D OUT=${SQ_WEB_OUT} -D MUSIC=${SQ_WEB_SONGS} -P
          ${PROJECT_SOURCE_DIR}/cmake/web_manifest.cmake
  VERBATIM)

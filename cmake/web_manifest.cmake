# Writes the page's list of its large files with their sizes (what the
# loading picture counts its progress against), run after the program is
# linked: cmake -D OUT=DIR -D MUSIC=song_a.xm,... -P web_manifest.cmake
# The songs are listed in the order the page fetches them.
foreach(F starquarry.js starquarry.wasm starquarry.data)
  if(NOT EXISTS ${OUT}/${F})
    message(FATAL_ERROR "web manifest: no ${OUT}/${F}")
  endif()
  file(SIZE ${OUT}/${F} S)
  list(APPEND FILES "\"${F}\": ${S}")
endforeach()
string(REPLACE "," ";" MUSIC "${MUSIC}")
foreach(N IN LISTS MUSIC)
  file(SIZE ${OUT}/music/${N}.gz S)
  list(APPEND SONGS "{\"name\": \"${N}\", \"file\": \"music/${N}.gz\", \"size\": ${S}}")
endforeach()
list(JOIN FILES ", " FILES)
list(JOIN SONGS ",\n  " SONGS)
file(WRITE ${OUT}/starquarry-files.json "{\"files\": {${FILES}},\n \"music\": [\n  ${SONGS}\n ]}\n")

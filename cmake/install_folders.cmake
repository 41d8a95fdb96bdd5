# Runs first in every install: adds to SQ_FOLDER_RECORD each folder on the way
# to an installed file (SQ_INSTALLED, relative to the prefix) that does not
# exist yet. The uninstall removes exactly these folders, once they are empty.
set(ROOT "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(RECORD)
if(EXISTS "${SQ_FOLDER_RECORD}")
  file(STRINGS "${SQ_FOLDER_RECORD}" RECORD)
endif()
foreach(F IN LISTS SQ_INSTALLED)
  # Normalized, so that PREFIX=/opt/x/ and PREFIX=/opt/x record the same folders.
  cmake_path(SET P NORMALIZE "${ROOT}/${F}")
  get_filename_component(D "${P}" DIRECTORY)
  while(NOT EXISTS "${D}" AND NOT IS_SYMLINK "${D}")
    list(APPEND RECORD "${D}")
    get_filename_component(D "${D}" DIRECTORY)
  endwhile()
endforeach()
if(RECORD)
  list(REMOVE_DUPLICATES RECORD)
  list(JOIN RECORD "\n" TEXT)
  file(WRITE "${SQ_FOLDER_RECORD}" "${TEXT}\n")
endif()

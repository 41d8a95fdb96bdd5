# Joins the files in PIECES into OUT, with CR LF line ends and a blank line
# between pieces so that no section runs into the next file's first header.
set(TEXT "")
foreach(P IN LISTS PIECES)
  file(READ ${P} PART)
  string(REPLACE "\r\n" "\n" PART "${PART}")
  string(STRIP "${PART}" PART)
  string(APPEND TEXT "${PART}\n\n")
endforeach()
string(REPLACE "\n" "\r\n" TEXT "${TEXT}")
file(WRITE ${OUT} "${TEXT}")

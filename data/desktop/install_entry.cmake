# Runs at install time: writes the menu entry with the program's full path,
# taken from the prefix given to `cmake --install`.
set(nimbo_exe "${CMAKE_INSTALL_PREFIX}/nimbo")
# Exec: a path with blanks or reserved characters is quoted, with " ` $ and \
# escaped inside the quotes; then, as for any string value of the entry,
# each backslash is doubled, and % is doubled as Exec requires.
set(nimbo_exec "${nimbo_exe}")
if(nimbo_exe MATCHES "[ \t\"'\\\\`$<>~|&;*?#()]")
  string(REGEX REPLACE "([\"\\\\`$])" "\\\\\\1" nimbo_exec "${nimbo_exe}")
  set(nimbo_exec "\"${nimbo_exec}\"")
endif()
string(REPLACE "\\" "\\\\" nimbo_exec "${nimbo_exec}")
string(REPLACE "%" "%%" nimbo_exec "${nimbo_exec}")
string(REPLACE "\\" "\\\\" nimbo_tryexec "${nimbo_exe}")

file(READ "${nimbo_desktop_entry}" nimbo_entry)
string(REPLACE "\nExec=nimbo\n" "\nExec=${nimbo_exec}\n" nimbo_entry "${nimbo_entry}")
string(REPLACE "\nTryExec=nimbo\n" "\nTryExec=${nimbo_tryexec}\n" nimbo_entry "${nimbo_entry}")
set(nimbo_applications "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${nimbo_datadir}/applications")
message(STATUS "Installing: ${nimbo_applications}/nimbo.desktop")
file(MAKE_DIRECTORY "${nimbo_applications}")
file(WRITE "${nimbo_applications}/nimbo.desktop" "${nimbo_entry}")

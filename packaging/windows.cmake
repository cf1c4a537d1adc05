# The Windows package: a zip with treadkey-setup.exe (the window), treadkeyctl.exe, the latter's manual as plain
# text and a README. Nothing else is needed on Windows: its own HID class driver serves the pedal, and the
# programs are linked statically.
configure_file(treadkeyctl.1.in treadkeyctl.1 @ONLY)
find_program(TREADKEY_GROFF groff REQUIRED)
# Plain text, without the overstrikes or escape sequences a terminal would take for bold and underline.
add_custom_command(
    OUTPUT treadkeyctl.txt
    COMMAND ${TREADKEY_GROFF} -man -Tutf8 -P-cbou treadkeyctl.1 > treadkeyctl.txt
    DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/treadkeyctl.1
    COMMENT "Writing the treadkeyctl manual as text")
add_custom_target(treadkeyctl_manual_text ALL DEPENDS treadkeyctl.txt)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/treadkeyctl.txt DESTINATION .)
# With Windows' line ends, so that Notepad of any age shows its lines.
configure_file(windows-readme.txt README.txt NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME treadkey-setup)
set(CPACK_PACKAGE_VENDOR "treadkey-setup")
set(CPACK_SYSTEM_NAME windows-x64)
set(CPACK_STRIP_FILES ON)
include(CPack)

# The download for Windows users (cmake --build --preset win32 --target package):
# build/win32/ipsettings-<version>-win32.zip with the program, the classic-form
# ipconfig and a readme in Japanese, in Shift_JIS with CR LF line ends.
set(README_FILE ${CMAKE_BINARY_DIR}/readme.txt)
add_custom_command(OUTPUT ${README_FILE}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/make-readme/make_readme.py
          ${PROJECT_SOURCE_DIR}/docs/windows-readme.txt ${README_FILE}
  DEPENDS ${PROJECT_SOURCE_DIR}/docs/windows-readme.txt ${PROJECT_SOURCE_DIR}/tools/make-readme/make_readme.py)
add_custom_target(readme ALL DEPENDS ${README_FILE})

install(TARGETS ipsettings classic-ipconfig RUNTIME DESTINATION .)
install(FILES ${README_FILE} DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win32)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)

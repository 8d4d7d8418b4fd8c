# The Windows program, its help files and its window tests (run under Wine).
enable_language(RC)

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_compile_options(-Wall -Wextra)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)


add_library(keplin_core STATIC ${KEPLIN_CORE_SOURCES})
target_include_directories(keplin_core PUBLIC ${CMAKE_SOURCE_DIR})

add_library(keplin_ui STATIC ${KEPLIN_UI_SOURCES})
target_include_directories(keplin_ui PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(keplin_ui PUBLIC keplin_core comctl32 comdlg32 shell32 gdi32 user32 kernel32 version)

add_executable(keplin WIN32 app/win32/main.cpp res/keplin.rc)
# The resource script pulls these in; a change to them rebuilds it.
set_source_files_properties(res/keplin.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/res/keplin.manifest;${CMAKE_SOURCE_DIR}/res/keplin.ico")
target_link_libraries(keplin PRIVATE keplin_ui)
# Self-contained: the C and C++ runtimes and winpthread are linked in.
target_link_options(keplin PRIVATE -static -static-libgcc -static-libstdc++)
# The shipped program carries no debug sections: the static runtimes alone
# brought 1.2 MB of them (our Release code is compiled without -g).
target_link_options(keplin PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # The program targets Windows NT 3.10 and later; 64-bit Windows begins at 5.02, the default.
  target_link_options(keplin PRIVATE -Wl,--major-subsystem-version,3,--minor-subsystem-version,10
                                     -Wl,--major-os-version,3,--minor-os-version,10)
endif()

# Help files, built from plain text with Halibut and placed beside keplin.exe.
find_program(HALIBUT halibut)
if(NOT HALIBUT)
  message(WARNING "halibut not found: keplin.hlp and winhelp.hlp will not be built")
endif()
set(KEPLIN_HELP_FILES)
foreach(help keplin winhelp)
  if(HALIBUT)
    add_custom_command(
      OUTPUT ${CMAKE_BINARY_DIR}/${help}.hlp
      COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=946684800
              ${HALIBUT} --winhelp=${CMAKE_BINARY_DIR}/${help}.hlp ${CMAKE_SOURCE_DIR}/help/${help}.but
      DEPENDS ${CMAKE_SOURCE_DIR}/help/${help}.but
      COMMENT "Building ${help}.hlp")
    list(APPEND KEPLIN_HELP_FILES ${CMAKE_BINARY_DIR}/${help}.hlp)
  endif()
endforeach()
# The same help as a web page and as compiled HTML help, for systems whose
# WinHelp viewer is missing or refuses .hlp files (Windows 10 and later).
if(HALIBUT)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/keplin.html
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=946684800
            ${HALIBUT} --html=keplin.html -Chtml-leaf-level:0 ${CMAKE_SOURCE_DIR}/help/keplin.but
    DEPENDS ${CMAKE_SOURCE_DIR}/help/keplin.but
    # Halibut takes an HTML file name without its folder.
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Building keplin.html")
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/keplin.chm
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=946684800
            ${HALIBUT} --chm=${CMAKE_BINARY_DIR}/keplin.chm ${CMAKE_SOURCE_DIR}/help/keplin.but
    DEPENDS ${CMAKE_SOURCE_DIR}/help/keplin.but
    COMMENT "Building keplin.chm")
  list(APPEND KEPLIN_HELP_FILES ${CMAKE_BINARY_DIR}/keplin.html ${CMAKE_BINARY_DIR}/keplin.chm)
endif()
add_custom_target(keplin_help ALL DEPENDS ${KEPLIN_HELP_FILES})

# The readme and the licence that go beside keplin.exe, in setup and in the
# release archive: text files for Windows, with CR LF line ends.
configure_file(${CMAKE_SOURCE_DIR}/installer/README.txt ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

# The setup program: a per-user install of keplin.exe and its help, built
# with NSIS when makensis is there.
find_program(MAKENSIS makensis)
if(MAKENSIS AND HALIBUT)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(KEPLIN_ARCH win64)
  else()
    set(KEPLIN_ARCH win32)
  endif()
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/keplin-setup.exe
    COMMAND ${MAKENSIS} -V2 -NOCD -DVERSION=${PROJECT_VERSION} -DARCH=${KEPLIN_ARCH}
            -DOUTFILE=keplin-setup.exe ${CMAKE_SOURCE_DIR}/installer/keplin.nsi
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    DEPENDS ${CMAKE_SOURCE_DIR}/installer/keplin.nsi keplin ${KEPLIN_HELP_FILES}
            ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_BINARY_DIR}/LICENSE.txt
    COMMENT "Building keplin-setup.exe")
  add_custom_target(keplin_installer ALL DEPENDS ${CMAKE_BINARY_DIR}/keplin-setup.exe)
else()
  message(WARNING "makensis or halibut not found: keplin-setup.exe will not be built")
endif()

# The Windows side of the section-list benchmark.
add_subdirectory(bench ${CMAKE_BINARY_DIR}/bench)

option(KEPLIN_WINDOW_TESTS "Build the window tests that run under Wine" OFF)
if(KEPLIN_WINDOW_TESTS)
  enable_testing()
  add_subdirectory(tests/window)
endif()

# The program's folders, from the ground floor up: a file may include from its
# own floor and the floors below it, never from one above (the ctest
# include_order keeps it so). In each floor, the portable core lies in the
# folder itself (no <windows.h>; built natively, unit-tested and fuzzed) and
# the Win32 glue in its win32/ sub-folder.
set(KEPLIN_FLOORS base ini files print search view app)

set(KEPLIN_CORE_SOURCES)
set(KEPLIN_UI_SOURCES)
foreach(floor ${KEPLIN_FLOORS})
  file(GLOB portable CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${floor}/*.cpp)
  file(GLOB glue CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${floor}/win32/*.cpp)
  list(APPEND KEPLIN_CORE_SOURCES ${portable})
  list(APPEND KEPLIN_UI_SOURCES ${glue})
endforeach()
# The program's entry goes into keplin.exe alone, not into the library the
# window tests link.
list(REMOVE_ITEM KEPLIN_UI_SOURCES ${CMAKE_SOURCE_DIR}/app/win32/main.cpp)

# The fingerprint's hash, XXH3 (files/fingerprint.cpp), is used header-only
# from the distribution's libxxhash-dev. The cross compilers do not search
# /usr/include, and must not (its headers are the native system's): every
# build gets a copy of that one header in a folder of the build tree.
find_path(KEPLIN_XXHASH_DIR xxhash.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
if(NOT KEPLIN_XXHASH_DIR)
  message(FATAL_ERROR "xxhash.h not found: install libxxhash-dev (scripts/install-deps does)")
endif()
configure_file(${KEPLIN_XXHASH_DIR}/xxhash.h ${CMAKE_BINARY_DIR}/xxhash/xxhash.h COPYONLY)
set_source_files_properties(${CMAKE_SOURCE_DIR}/files/fingerprint.cpp PROPERTIES
                            INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/xxhash)

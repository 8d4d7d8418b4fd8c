# libFuzzer targets of the portable code, built with clang under the address
# and undefined-behaviour sanitizers. fuzz/run configures and runs them.
set(KEPLIN_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer -g -O1)
add_library(keplin_core_fuzz STATIC ${KEPLIN_CORE_SOURCES})
target_include_directories(keplin_core_fuzz PUBLIC ${CMAKE_SOURCE_DIR})
# The library itself must not carry libFuzzer's main.
target_compile_options(keplin_core_fuzz PRIVATE -fsanitize=fuzzer-no-link,address,undefined
                       -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g -O1)

file(GLOB KEPLIN_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzz.cpp)
foreach(source ${KEPLIN_FUZZ_SOURCES})
  get_filename_component(target ${source} NAME_WE)
  add_executable(${target} ${source})
  target_compile_options(${target} PRIVATE -Wall -Wextra ${KEPLIN_FUZZ_FLAGS})
  target_link_options(${target} PRIVATE ${KEPLIN_FUZZ_FLAGS})
  target_link_libraries(${target} PRIVATE keplin_core_fuzz)
endforeach()

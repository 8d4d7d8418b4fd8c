# Native build: the portable core under the sanitizers, its unit tests, and an
# optimised, un-instrumented copy of the core for the scanner benchmark.
enable_testing()
include(GoogleTest)

set(KEPLIN_WARNINGS -Wall -Wextra)
set(KEPLIN_SANITIZERS -fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)

add_library(keplin_core STATIC ${KEPLIN_CORE_SOURCES})
target_include_directories(keplin_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(keplin_core PRIVATE ${KEPLIN_WARNINGS} PUBLIC ${KEPLIN_SANITIZERS})
target_link_options(keplin_core PUBLIC ${KEPLIN_SANITIZERS})

# GoogleTest from the sources the distribution ships.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB KEPLIN_UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(keplin_unit_tests ${KEPLIN_UNIT_TEST_SOURCES})
target_compile_options(keplin_unit_tests PRIVATE ${KEPLIN_WARNINGS})
target_link_libraries(keplin_unit_tests PRIVATE keplin_core gtest_main)
gtest_discover_tests(keplin_unit_tests DISCOVERY_TIMEOUT 30)

# The same tests on the core built without its SSE2 paths, as the 32-bit
# program (built for processors without SSE2) runs it.
add_library(keplin_core_plain STATIC ${KEPLIN_CORE_SOURCES})
target_include_directories(keplin_core_plain PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(keplin_core_plain PRIVATE ${KEPLIN_WARNINGS} -U__SSE2__ PUBLIC ${KEPLIN_SANITIZERS})
target_link_options(keplin_core_plain PUBLIC ${KEPLIN_SANITIZERS})
add_executable(keplin_unit_tests_plain ${KEPLIN_UNIT_TEST_SOURCES})
target_compile_options(keplin_unit_tests_plain PRIVATE ${KEPLIN_WARNINGS})
target_link_libraries(keplin_unit_tests_plain PRIVATE keplin_core_plain gtest_main)
add_test(NAME unit_tests_without_sse2 COMMAND keplin_unit_tests_plain)

# The benchmark measures the code as shipped: optimised, no sanitizers.
add_library(keplin_core_bench STATIC ${KEPLIN_CORE_SOURCES})
target_include_directories(keplin_core_bench PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(keplin_core_bench PRIVATE ${KEPLIN_WARNINGS} PUBLIC -O2)

add_executable(scanner_bench ${CMAKE_SOURCE_DIR}/bench/scanner_bench.cpp)
target_compile_options(scanner_bench PRIVATE ${KEPLIN_WARNINGS})
target_link_libraries(scanner_bench PRIVATE keplin_core_bench)
target_include_directories(scanner_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/unit)
set_target_properties(scanner_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

# The folders depend one way, from the ground floor up; and the check itself
# names an include planted against that order.
find_package(Python3 COMPONENTS Interpreter REQUIRED)
add_test(NAME include_order COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/layers/check-includes)
add_test(NAME include_order_self_test
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/layers/check-includes --self-test)

# The check of the release archive (scripts/make-dist runs it) names a file
# left out of the archive or of a setup, and a program that kept its debug
# sections.
add_test(NAME release_check_self_test COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-dist --self-test)

# What Undo's history costs on a large file (bench/run runs it).
add_executable(history_bench ${CMAKE_SOURCE_DIR}/bench/history_bench.cpp)
target_compile_options(history_bench PRIVATE ${KEPLIN_WARNINGS})
target_link_libraries(history_bench PRIVATE keplin_core_bench)
target_include_directories(history_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/unit)
set_target_properties(history_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

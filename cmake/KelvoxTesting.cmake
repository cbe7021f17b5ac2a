if(CMAKE_CROSSCOMPILING)
  # No GoogleTest is installed for the target system: Debian's source of it is built with the tests.
  if(NOT TARGET GTest::gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  endif()
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# Under wine a test finds the DLLs it was linked with through WINEPATH: Qt's and the MinGW runtime's.
# The benchmarks that run under wine take the same folders (kelvox_wine_dll_dirs).
set(kelvox_test_environment "")
if(WIN32)
  set(kelvox_wine_dll_dirs "")
  if(QT6_INSTALL_PREFIX)
    list(APPEND kelvox_wine_dll_dirs "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
  endif()
  file(GLOB mingw_runtime_dirs LIST_DIRECTORIES true "/usr/lib/gcc/x86_64-w64-mingw32/*-posix")
  list(APPEND kelvox_wine_dll_dirs ${mingw_runtime_dirs} /usr/x86_64-w64-mingw32/lib)
  list(JOIN kelvox_wine_dll_dirs "\\;" wine_path)
  set(kelvox_test_environment "WINEPATH=${wine_path};WINEDEBUG=-all")
endif()

# kelvox_add_gtest(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>] [TIMEOUT <seconds>])
# One GoogleTest program, registered with CTest as one test that runs on Qt's offscreen platform.
function(kelvox_add_gtest name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    LABELS "${ARG_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KELVOX_SOURCE_DIR=${PROJECT_SOURCE_DIR};KELVOX_SHARED_DIR=${PROJECT_SOURCE_DIR}/../shared;QT_MEDIA_BACKEND=gstreamer;ASAN_OPTIONS=detect_leaks=0;${kelvox_test_environment}")
endfunction()

# kelvox_skip_under_wine(<test> <reason> <gtest patterns...>): leaves those cases out of the Windows
# build's run, naming them and why in the test's output, so that what Windows does not run stays seen.
function(kelvox_skip_under_wine test reason)
  if(NOT WIN32)
    return()
  endif()
  list(JOIN ARGN ":" patterns)
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "GTEST_FILTER=-${patterns}")
  message(STATUS "Under wine ${test} leaves out ${patterns}: ${reason}")
endfunction()

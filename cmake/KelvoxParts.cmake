# kelvox_part_enabled(<name> <out-var>): whether a folder or sub-project is in KELVOX_PARTS.
function(kelvox_part_enabled name out)
  if(KELVOX_PARTS STREQUAL "all" OR name IN_LIST KELVOX_PARTS)
    set(${out} TRUE PARENT_SCOPE)
    return()
  endif()
  # A folder is also enabled when one of its sub-projects is named ("tests" for "tests/catalogue").
  foreach(part IN LISTS KELVOX_PARTS)
    string(FIND "${part}" "${name}/" at)
    if(at EQUAL 0)
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} FALSE PARENT_SCOPE)
endfunction()

# kelvox_add_part(<folder>): adds the folder when it has a CMakeLists.txt and is enabled.
function(kelvox_add_part folder)
  kelvox_part_enabled("${folder}" enabled)
  if(enabled AND EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${folder}/CMakeLists.txt")
    add_subdirectory("${folder}")
  endif()
endfunction()

# kelvox_add_children(): adds every sub-folder of the current folder that has a CMakeLists.txt and
# is enabled, so that tests/, bench/ and tools/ need no shared list that everyone edits.
function(kelvox_add_children)
  file(RELATIVE_PATH here "${PROJECT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}")
  file(GLOB children LIST_DIRECTORIES true RELATIVE "${CMAKE_CURRENT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/*")
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}/${child}"
       AND EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt")
      if("${here}/${child}" IN_LIST kelvox_linux_only_parts AND WIN32)
        continue()
      endif()
      if(KELVOX_PARTS STREQUAL "all" OR "${here}/${child}" IN_LIST KELVOX_PARTS OR "${here}" IN_LIST KELVOX_PARTS)
        add_subdirectory("${child}")
      endif()
    endif()
  endforeach()
endfunction()

# kelvox_library(<target> [DEPS <targets...>]): a static library of every .cpp of the current folder;
# main.cpp files are left to the folder's own executables. The platform, whose backends differ by
# system, lists its sources itself.
function(kelvox_library target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  # Headers are listed too, so that AUTOMOC finds the Q_OBJECT classes declared in them.
  file(GLOB headers CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  add_library(${target} STATIC ${sources} ${headers})
  target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}")
  target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
endfunction()

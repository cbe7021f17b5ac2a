# ccache, where the machine has it: a second clone of the sources on the same machine (or a copy of the
# machine) compiles only what differs. Paths are taken relative to the sources, and the build folder is
# left out of the hash, so that clones in different folders share the objects; the cost is that debug
# information may name the folder of the clone that compiled first.
option(KELVOX_CCACHE "Compile through ccache when it is installed" ON)
find_program(KELVOX_CCACHE_PROGRAM ccache)
if(KELVOX_CCACHE AND KELVOX_CCACHE_PROGRAM AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(kelvox_launcher ${CMAKE_COMMAND} -E env "CCACHE_BASEDIR=${PROJECT_SOURCE_DIR}" CCACHE_NOHASHDIR=1
                      ${KELVOX_CCACHE_PROGRAM})
  set(CMAKE_C_COMPILER_LAUNCHER ${kelvox_launcher})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${kelvox_launcher})
endif()

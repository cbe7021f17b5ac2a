# The programs and the modules (RAR, music) come out of the build side by side in bin/, as they stand on a disc:
# the menu looks for its modules beside itself, so the built menu runs from any disc directory.
include(GNUInstallDirs)

set(KELVOX_PROGRAM_DIR "${CMAKE_BINARY_DIR}/bin")
# Installed, the RAR and music modules are private to the menu; the menu's RUNPATH leads its loader there.
set(KELVOX_INSTALL_MODULE_DIR "${CMAKE_INSTALL_LIBDIR}/kelvox-cover-menu")

foreach(program IN ITEMS kelvox-menu kelvox-check)
  if(TARGET ${program})
    set_target_properties(${program} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${KELVOX_PROGRAM_DIR}")
    install(TARGETS ${program} RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  endif()
endforeach()

foreach(module IN ITEMS unrar kelvox_music)
  if(TARGET ${module})
    set_target_properties(${module} PROPERTIES LIBRARY_OUTPUT_DIRECTORY "${KELVOX_PROGRAM_DIR}")
    install(TARGETS ${module} LIBRARY DESTINATION "${KELVOX_INSTALL_MODULE_DIR}")
  endif()
endforeach()

# The checker tries archives with the module the menu loads, so it is led there too.
file(RELATIVE_PATH module_from_bin "/${CMAKE_INSTALL_BINDIR}" "/${KELVOX_INSTALL_MODULE_DIR}")
foreach(program IN ITEMS kelvox-menu kelvox-check)
  if(TARGET ${program})
    set_target_properties(${program} PROPERTIES INSTALL_RPATH "$ORIGIN/${module_from_bin}")
  endif()
endforeach()

install(FILES "${PROJECT_SOURCE_DIR}/docs/authoring.md" DESTINATION "${CMAKE_INSTALL_DOCDIR}")

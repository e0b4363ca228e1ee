# Installation and packaging.
#
# Layout under the prefix:
#   bin/tlhost, bin/tlscript
#   <libdir>/tlosses/        the driver libtlosses.so, the platform libraries it and tlhost load,
#                            and the dialogs library when it is built: private to this package,
#                            found through RUNPATH ($ORIGIN among themselves, $ORIGIN/../<libdir>/
#                            tlosses from the programs)
#   include/tlosses/         abi.h and version.h
#   <libdir>/cmake/tlosses/  the package config: find_package(tlosses) gives tlosses::abi and the
#                            installed driver's path
#   share/doc/tlosses/       README and docs; share/man/man1/tlhost.1; bash completion of tlhost
include(CMakePackageConfigHelpers)

file(RELATIVE_PATH tl_bin_to_private_libs ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${TL_INSTALL_PRIVATE_LIBDIR})
set_target_properties(tlhost tlscript PROPERTIES INSTALL_RPATH "$ORIGIN/${tl_bin_to_private_libs}")
# tlhost looks for the driver beside itself (the build tree), then here (the installed layout).
target_compile_definitions(tlhost PRIVATE TLHOST_INSTALLED_DRIVER="${tl_bin_to_private_libs}/libtlosses.so")

set(tl_private_libraries tlosses tldbd tlsvc tltime tlwm tlrevi)
# The Qt dialogs are a library of their own, built when Qt6 Widgets is found (TL_BUILD_DIALOGS).
if(TARGET tlosses_dialogs)
  list(APPEND tl_private_libraries tlosses_dialogs)
endif()
install(TARGETS ${tl_private_libraries} LIBRARY DESTINATION ${TL_INSTALL_PRIVATE_LIBDIR})
install(TARGETS tlhost tlscript RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${PROJECT_SOURCE_DIR}/include/tlosses/abi.h ${PROJECT_BINARY_DIR}/generated/tlosses/version.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tlosses)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
# docs/tools holds the sources of the documentation's own tools, no reading.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR} PATTERN tools EXCLUDE)

# Man page and bash completion, both made from tlhost's own command tree so that they cannot go
# stale. help2man is optional for a developer build; the package build requires it.
option(TL_REQUIRE_MAN_PAGE "Fail when help2man is missing" OFF)
find_program(TL_HELP2MAN help2man)
set(tl_generated_docs ${PROJECT_BINARY_DIR}/generated/share)
add_custom_command(
  OUTPUT ${tl_generated_docs}/tlhost.bash-completion
  COMMAND ${CMAKE_COMMAND} -E make_directory ${tl_generated_docs}
  COMMAND $<TARGET_FILE:tlhost> completion bash > ${tl_generated_docs}/tlhost.bash-completion
  DEPENDS tlhost
  COMMENT "Generating the bash completion of tlhost"
  VERBATIM)
set(tl_generated_outputs ${tl_generated_docs}/tlhost.bash-completion)
if(TL_HELP2MAN)
  add_custom_command(
    OUTPUT ${tl_generated_docs}/tlhost.1
    COMMAND ${CMAKE_COMMAND} -DTLHOST=$<TARGET_FILE:tlhost> -DHELP2MAN=${TL_HELP2MAN}
            -DOUTPUT_DIR=${tl_generated_docs} -P ${PROJECT_SOURCE_DIR}/cmake/TlhostManPage.cmake
    DEPENDS tlhost ${PROJECT_SOURCE_DIR}/cmake/TlhostManPage.cmake
    COMMENT "Generating the man page of tlhost"
    VERBATIM)
  list(APPEND tl_generated_outputs ${tl_generated_docs}/tlhost.1)
  install(FILES ${tl_generated_docs}/tlhost.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
elseif(TL_REQUIRE_MAN_PAGE)
  message(FATAL_ERROR "help2man is needed for the man page of tlhost (apt-get install help2man)")
else()
  message(STATUS "help2man not found: the man page of tlhost is not generated")
endif()
add_custom_target(tlhost_docs ALL DEPENDS ${tl_generated_outputs})
install(FILES ${tl_generated_docs}/tlhost.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tlhost)

# find_package(tlosses): the ABI header as tlosses::abi, and where the driver and tlhost lie.
install(TARGETS tlosses_abi EXPORT tlossesTargets)
install(EXPORT tlossesTargets NAMESPACE tlosses:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/tlosses)
set(TL_CONFIG_DRIVER ${TL_INSTALL_PRIVATE_LIBDIR}/libtlosses.so)
set(TL_CONFIG_TLHOST ${CMAKE_INSTALL_BINDIR}/tlhost)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/tlossesConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/generated/tlossesConfig.cmake
                              INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/tlosses
                              PATH_VARS TL_CONFIG_DRIVER TL_CONFIG_TLHOST)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/generated/tlossesConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/generated/tlossesConfig.cmake
              ${PROJECT_BINARY_DIR}/generated/tlossesConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/tlosses)

# cpack -G DEB: one package; its dependencies are read off the binaries by dpkg-shlibdeps, plus
# the charting library that tlhost report embeds in its pages.
set(CPACK_PACKAGE_NAME tlosses)
set(CPACK_PACKAGE_VENDOR "tlosses")
set(CPACK_PACKAGE_CONTACT "tlosses maintainers <tlosses@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Electric-energy loss calculation driver and its command-line host")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "libtlosses.so computes the losses of power lines and transformers from metering data and stores them "
       "as metering data of their own. tlhost runs its tasks on a SQLite metering database, imports metering "
       "data and events, exports the stored losses and writes loss reports; tlscript tries formulas.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${TL_INSTALL_PRIVATE_LIBDIR})
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libjs-chart.js (>= 3)")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "chromium | www-browser")
include(CPack)

# What a user installs, and the packages made of it (bash tools/package.sh).
# Windows: one folder as a student uses it (programs, tables, starter inputs, README.txt,
# licence), zipped and as an installer. Linux: the programs, their man pages and the
# shipped data under share/, as a Debian package. The version is the project's.

set(SUITE_SOLVERS zorvath braskot2 quellin)  # a solver not in the build is left out
set(SUITE_KINDS tp uv hp)                    # data/examples/methane.<kind> starts INPUT.<KIND>
set(SUITE_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(SUITE_GENERATED ${PROJECT_BINARY_DIR}/packaging)

set(CPACK_PACKAGE_NAME combustion-suite)
set(CPACK_PACKAGE_VENDOR "The combustion-suite developers")
set(CPACK_PACKAGE_CONTACT "The combustion-suite developers <combustion-suite@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chemical-equilibrium solvers for teaching combustion")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)  # the NSIS lines below are written as NSIS reads them

function(suite_install_programs destination)
  foreach(target ${ARGN})
    if(TARGET ${target})
      install(TARGETS ${target} RUNTIME DESTINATION ${destination})
    endif()
  endforeach()
endfunction()

if(WIN32)
  suite_install_programs(. orvello conspawn ${SUITE_SOLVERS})
  install(FILES data/GPROP.DAT data/ERROR.TXT DESTINATION .)
  foreach(kind ${SUITE_KINDS})
    string(TOUPPER ${kind} KIND)
    if(EXISTS ${PROJECT_SOURCE_DIR}/data/examples/methane.${kind})
      install(FILES data/examples/methane.${kind} DESTINATION . RENAME INPUT.${KIND})
    endif()
  endforeach()
  # For Notepad and the student: CR LF line ends.
  configure_file(${SUITE_PACKAGING}/README.txt.in ${SUITE_GENERATED}/README.txt
                 @ONLY NEWLINE_STYLE CRLF)
  configure_file(LICENSE ${SUITE_GENERATED}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${SUITE_GENERATED}/README.txt ${SUITE_GENERATED}/LICENSE.txt DESTINATION .)

  set(CPACK_GENERATOR ZIP NSIS)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)
  set(CPACK_PACKAGE_INSTALL_DIRECTORY "Combustion Suite")
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Combustion Suite")
  set(CPACK_NSIS_PACKAGE_NAME "Combustion Suite ${PROJECT_VERSION}")
  set(CPACK_NSIS_DISPLAY_NAME "Combustion Suite ${PROJECT_VERSION}")
  set(CPACK_NSIS_INSTALLED_ICON_NAME orvello.exe)
  set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/launcher/orvello.ico)
  # A 64-bit installer for 64-bit programs: it installs under the 64-bit Program Files,
  # and it runs where only 64-bit Windows programs do (Wine without its 32-bit part).
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  # (CPack writes this variable near the top of its NSIS script.)
  set(CPACK_NSIS_DEFINES "Target amd64-unicode")
  # The programs write their reports where they run, and Program Files is not writable:
  # the launcher starts in a working folder in the installing user's Documents, which
  # the installer fills and the uninstaller leaves alone. The launcher finds the
  # programs beside itself. The tables are refreshed; inputs already there are the
  # user's own and are kept.
  set(workdir "$DOCUMENTS\\Combustion Suite")
  set(as_installed "StrCmp $SV_ALLUSERS \"AllUsers\" 0 +2\n  SetShellVarContext all")
  set(CPACK_NSIS_CREATE_ICONS_EXTRA
    "SetShellVarContext current\nSetOutPath \"${workdir}\"\n${as_installed}\nCreateShortCut \"$SMPROGRAMS\\$STARTMENU_FOLDER\\Orvello.lnk\" \"$INSTDIR\\orvello.exe\"\nSetOutPath \"$INSTDIR\"")
  set(CPACK_NSIS_DELETE_ICONS_EXTRA "Delete \"$SMPROGRAMS\\$MUI_TEMP\\Orvello.lnk\"")
  set(fill "SetShellVarContext current\nCreateDirectory \"${workdir}\"")
  foreach(file GPROP.DAT ERROR.TXT)
    string(APPEND fill "\nCopyFiles /SILENT \"$INSTDIR\\${file}\" \"${workdir}\"")
  endforeach()
  foreach(kind ${SUITE_KINDS})
    string(TOUPPER ${kind} KIND)
    if(EXISTS ${PROJECT_SOURCE_DIR}/data/examples/methane.${kind})
      string(APPEND fill "\nIfFileExists \"${workdir}\\INPUT.${KIND}\" +2 0"
                         "\n  CopyFiles /SILENT \"$INSTDIR\\INPUT.${KIND}\" \"${workdir}\"")
    endif()
  endforeach()
  set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "${fill}\n${as_installed}")
else()
  include(GNUInstallDirs)
  set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
      OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(data_dir ${CMAKE_INSTALL_DATADIR}/combustion-suite)
  set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/combustion-suite)
  suite_install_programs(${CMAKE_INSTALL_BINDIR} ${SUITE_SOLVERS})
  install(FILES data/GPROP.DAT data/ERROR.TXT DESTINATION ${data_dir})
  file(GLOB examples ${PROJECT_SOURCE_DIR}/data/examples/*)
  install(FILES ${examples} DESTINATION ${data_dir}/examples)

  # The working-folder command finds the data relative to itself, wherever the prefix.
  file(RELATIVE_PATH SUITE_DATA_FROM_BIN /p/${CMAKE_INSTALL_BINDIR} /p/${data_dir})
  configure_file(${SUITE_PACKAGING}/combustion-suite-workdir.in
                 ${SUITE_GENERATED}/combustion-suite-workdir @ONLY)
  install(PROGRAMS ${SUITE_GENERATED}/combustion-suite-workdir
          DESTINATION ${CMAKE_INSTALL_BINDIR})

  # Man pages and the changelog compressed as Debian wants them (gzip -9n: no name or
  # time stamp, so the same sources give the same package).
  set(pages combustion-suite-workdir)
  foreach(program ${SUITE_SOLVERS})
    if(TARGET ${program})
      list(APPEND pages ${program})
    endif()
  endforeach()
  set(compressed)
  foreach(page ${pages})
    configure_file(${SUITE_PACKAGING}/man/${page}.1.in ${SUITE_GENERATED}/${page}.1 @ONLY)
    list(APPEND compressed ${page}.1)
  endforeach()
  configure_file(${SUITE_PACKAGING}/debian/changelog.in ${SUITE_GENERATED}/changelog @ONLY)
  list(APPEND compressed changelog)
  foreach(file ${compressed})
    execute_process(COMMAND gzip -9nf ${file} WORKING_DIRECTORY ${SUITE_GENERATED}
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  list(TRANSFORM pages PREPEND ${SUITE_GENERATED}/)
  list(TRANSFORM pages APPEND .1.gz)
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${SUITE_PACKAGING}/debian/copyright ${SUITE_GENERATED}/changelog.gz
          DESTINATION ${doc_dir})
  install(FILES ${SUITE_PACKAGING}/debian/lintian-overrides
          DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME combustion-suite)

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_PACKAGE_DESCRIPTION "\
Three console programs compute the chemical-equilibrium products of a fuel
C(n)H(m)O(l)N(k) burnt in air: zorvath at a given temperature and pressure,
braskot2 the adiabatic flame at constant volume, quellin the adiabatic flame
at constant pressure. Each reads a short input file and the property tables
GPROP.DAT (from the NASA Glenn coefficients) in its working directory and
writes a fixed-column report there. combustion-suite-workdir sets up such a
directory.")
  # Whatever else the build installs (a library, a module) brings its own needs: shared
  # libraries through dpkg-shlibdeps, other packages through this property.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  get_property(deb_depends GLOBAL PROPERTY SUITE_DEB_DEPENDS)
  list(JOIN deb_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
  # The Python module's byte code is made on installing and removed before removing.
  if(TARGET _core)
    set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
        ${SUITE_PACKAGING}/debian/postinst ${SUITE_PACKAGING}/debian/prerm)
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  endif()
endif()

include(CPack)

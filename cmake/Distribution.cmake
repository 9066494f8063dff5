# What a Windows user gets besides the two binaries: the help file beside the program in
# every Windows tree, and in the 64-bit tree the installer that carries both trees' pairs.

# --- tessel2.chm ----------------------------------------------------------------------------
# chmcmd writes beside the project file, so it compiles a copy of the sources in the tree.
# It comes with Free Pascal (Debian's fp-utils); a build on Windows without it goes on
# without the help file and without the setups.
if(CMAKE_HOST_WIN32)
  find_program(TESSEL_CHMCMD chmcmd)
else()
  find_program(TESSEL_CHMCMD chmcmd REQUIRED)
endif()
set(TESSEL_HELP_FILE ${TESSEL_BIN_DIR}/tessel2.chm)
if(TESSEL_CHMCMD)
  file(GLOB_RECURSE tessel_help_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
  set(tessel_help_stage ${CMAKE_BINARY_DIR}/help)
  file(MAKE_DIRECTORY ${tessel_help_stage})
  add_custom_command(OUTPUT ${TESSEL_HELP_FILE}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/help ${tessel_help_stage}
    COMMAND ${TESSEL_CHMCMD} tessel2.hhp > chmcmd.log
    COMMAND ${CMAKE_COMMAND} -E copy tessel2.chm ${TESSEL_HELP_FILE}
    WORKING_DIRECTORY ${tessel_help_stage}
    DEPENDS ${tessel_help_sources}
    COMMENT "Help file tessel2.chm"
    VERBATIM)
  add_custom_target(helpfile ALL DEPENDS ${TESSEL_HELP_FILE})
else()
  message(WARNING "chmcmd (Free Pascal) not found: no tessel2.chm and no setups")
endif()

# --- installer ------------------------------------------------------------------------------
# One 32-bit setup (tessel2.exe, the name the update check downloads) installs the pair that
# the Windows it runs on needs, so it takes the 32-bit pair from the i686 tree as well:
# scripts/installer.sh builds that tree first. A second, 64-bit build of the same script
# (tessel2-x64.exe) runs where only 64-bit programs start, as on the machines that test it.
# Both go into installer/, not bin/: "tessel2.exe" and "Tessel2.exe" are one name on Windows.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  find_program(TESSEL_MAKENSIS makensis)
  get_filename_component(tessel_default_win32_bin ${CMAKE_BINARY_DIR}/../win32/bin ABSOLUTE)
  set(TESSEL_WIN32_BIN_DIR ${tessel_default_win32_bin} CACHE PATH
      "bin folder of the i686 tree whose Tessel2.exe and Tessel.dll the installer carries")
  set(tessel_installer_dir ${CMAKE_BINARY_DIR}/installer)
  set(tessel_setup ${tessel_installer_dir}/tessel2.exe)
  set(tessel_setup64 ${tessel_installer_dir}/tessel2-x64.exe)
  set(tessel_nsi ${CMAKE_SOURCE_DIR}/installer/Tessel2.nsi)
  # The setups carry the binaries without their debugging information (a tenth of the
  # size); the x86_64 binutils handle i686 images as well.
  set(tessel_stage64 ${tessel_installer_dir}/x64)
  set(tessel_stage32 ${tessel_installer_dir}/x86)
  if(TESSEL_MAKENSIS AND TESSEL_CHMCMD)
    set(tessel_nsis_defines
      -DVERSION_TEXT=${TESSEL_VERSION_TEXT} -DVERSION_DOTTED=${TESSEL_VERSION_DOTTED}
      "-DVERSION_SPACED=${TESSEL_VERSION_SPACED}"
      -DBIN64=${tessel_stage64} -DBIN32=${tessel_stage32} -DHELP=${TESSEL_HELP_FILE}
      -DICON=${CMAKE_SOURCE_DIR}/app/res/program.ico)
    add_custom_command(OUTPUT ${tessel_setup} ${tessel_setup64}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${tessel_stage64} ${tessel_stage32}
      COMMAND ${CMAKE_STRIP} -o ${tessel_stage64}/Tessel2.exe $<TARGET_FILE:Tessel2>
      COMMAND ${CMAKE_STRIP} -o ${tessel_stage64}/Tessel.dll $<TARGET_FILE:Tessel>
      COMMAND ${CMAKE_STRIP} -o ${tessel_stage32}/Tessel2.exe ${TESSEL_WIN32_BIN_DIR}/Tessel2.exe
      COMMAND ${CMAKE_STRIP} -o ${tessel_stage32}/Tessel.dll ${TESSEL_WIN32_BIN_DIR}/Tessel.dll
      COMMAND ${TESSEL_MAKENSIS} -V2 ${tessel_nsis_defines} -DOUTFILE=${tessel_setup} ${tessel_nsi}
      COMMAND ${TESSEL_MAKENSIS} -V2 ${tessel_nsis_defines} -DTARGET_AMD64 -DOUTFILE=${tessel_setup64} ${tessel_nsi}
      DEPENDS ${tessel_nsi} Tessel2 Tessel ${TESSEL_HELP_FILE} ${CMAKE_SOURCE_DIR}/app/res/program.ico
              ${TESSEL_WIN32_BIN_DIR}/Tessel2.exe ${TESSEL_WIN32_BIN_DIR}/Tessel.dll
      COMMENT "Installers tessel2.exe and tessel2-x64.exe"
      VERBATIM)
    add_custom_target(installer DEPENDS ${tessel_setup} ${tessel_setup64})
  else()
    add_custom_target(installer
      COMMAND ${CMAKE_COMMAND} -E echo "the setups need makensis (Debian package nsis) and chmcmd (fp-utils)"
      COMMAND ${CMAKE_COMMAND} -E false)
  endif()
endif()

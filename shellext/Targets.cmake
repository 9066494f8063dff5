# Tessel.dll, the context-menu COM server. Included by the cross tree's target list.

find_program(TESSEL_WIDL NAMES i686-w64-mingw32-widl widl REQUIRED)
# stdole2.tlb, which the type library imports, comes with Wine's 32-bit libraries.
find_path(TESSEL_STDOLE2_DIR stdole2.tlb
  PATHS /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)

set(tessel_gen_dir ${CMAKE_BINARY_DIR}/shellext)
set(tessel_tlb ${tessel_gen_dir}/Tessel.tlb)
add_custom_command(OUTPUT ${tessel_tlb}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${tessel_gen_dir}
  COMMAND ${TESSEL_WIDL} -t -o ${tessel_tlb} -L${TESSEL_STDOLE2_DIR} ${CMAKE_SOURCE_DIR}/shellext/Tessel.idl
  DEPENDS ${CMAKE_SOURCE_DIR}/shellext/Tessel.idl
  COMMENT "Type library Tessel.tlb"
  VERBATIM)

file(GLOB shellext_win_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/shellext/*_win.cpp)
set(shellext_rc ${CMAKE_SOURCE_DIR}/shellext/Tessel.rc)
set_source_files_properties(${shellext_rc} PROPERTIES
  OBJECT_DEPENDS "${tessel_tlb};${CMAKE_SOURCE_DIR}/shellext/Tessel.rgs")

add_library(Tessel SHARED ${shellext_win_sources} ${CMAKE_SOURCE_DIR}/shellext/Tessel.def ${shellext_rc})
set_target_properties(Tessel PROPERTIES
  PREFIX ""
  OUTPUT_NAME Tessel
  RUNTIME_OUTPUT_DIRECTORY ${TESSEL_BIN_DIR}
  LIBRARY_OUTPUT_DIRECTORY ${TESSEL_BIN_DIR})
# The resource compiler finds the script and the generated type library through these.
target_include_directories(Tessel PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/shellext ${tessel_gen_dir})
target_link_libraries(Tessel PRIVATE tessel_core ole32 oleaut32 uuid shell32 advapi32 user32 kernel32)
target_link_options(Tessel PRIVATE -Wl,--enable-stdcall-fixup)

# Every start of the program registers the library beside it: build them together.
add_dependencies(Tessel2 Tessel)

# Tessel.dll, the context-menu COM server. Included by the cross tree's target list.

# Cross trees name it by the triplet; MSYS2 on Windows has a plain widl.
find_program(TESSEL_WIDL NAMES ${TESSEL_MINGW_TRIPLET}-widl widl REQUIRED)
# stdole2.tlb, which the type library imports, comes with Wine's Windows-side libraries (and
# with Windows itself); a type library names its import only, so any copy serves both trees.
find_path(TESSEL_STDOLE2_DIR stdole2.tlb
  PATHS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/i386-linux-gnu/wine/i386-windows
        /usr/lib/wine/x86_64-windows /usr/lib/wine/i386-windows "$ENV{SystemRoot}/System32"
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)

# The type library's system kind follows the tree (SYS_WIN32 or SYS_WIN64).
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(tessel_widl_arch -m64)
else()
  set(tessel_widl_arch -m32)
endif()

set(tessel_gen_dir ${CMAKE_BINARY_DIR}/shellext)
set(tessel_tlb ${tessel_gen_dir}/Tessel.tlb)
add_custom_command(OUTPUT ${tessel_tlb}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${tessel_gen_dir}
  COMMAND ${TESSEL_WIDL} ${tessel_widl_arch} -t -o ${tessel_tlb} -L${TESSEL_STDOLE2_DIR} ${CMAKE_SOURCE_DIR}/shellext/Tessel.idl
  DEPENDS ${CMAKE_SOURCE_DIR}/shellext/Tessel.idl
  COMMENT "Type library Tessel.tlb"
  VERBATIM)

file(GLOB shellext_win_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/shellext/*_win.cpp)
set(shellext_rc ${CMAKE_SOURCE_DIR}/shellext/Tessel.rc)
set_source_files_properties(${shellext_rc} PROPERTIES
  OBJECT_DEPENDS "${tessel_tlb};${CMAKE_SOURCE_DIR}/shellext/Tessel.rgs;${TESSEL_GENERATED_DIR}/TesselVersion.h")

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

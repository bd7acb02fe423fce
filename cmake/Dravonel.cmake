# Settings every module of the project shares.

# The same sources build for 32-bit Windows (the product for every Windows,
# XP included) and for x64 (dist-x64/, for 64-bit Windows).
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(DRAVONEL_X64 TRUE)
  set(DRAVONEL_MANIFEST_ARCHITECTURE amd64)
else()
  set(DRAVONEL_X64 FALSE)
  set(DRAVONEL_MANIFEST_ARCHITECTURE x86)
endif()

# ANSI API, headers low enough for Windows XP; newer functions are looked up
# at run time. Sources are UTF-8, the program's texts are Windows-1251.
set(DRAVONEL_DEFINITIONS _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600 NOMINMAX)
set(DRAVONEL_COMPILE_OPTIONS -Wall -Wextra -finput-charset=UTF-8 -fexec-charset=CP1251
    # A pointer cut to 32 bits or made from a narrower integer is an error in
    # both kinds, so the x64 build cannot lose a handle silently.
    -Werror=int-to-pointer-cast $<$<COMPILE_LANGUAGE:C>:-Werror=pointer-to-int-cast>)
# One C runtime (msvcrt.dll) and therefore one heap for every module: libgcc,
# libstdc++ and winpthread are linked into each module.
set(DRAVONEL_LINK_OPTIONS -static -static-libgcc -static-libstdc++)

function(dravonel_target_settings target)
  target_compile_definitions(${target} PRIVATE ${DRAVONEL_DEFINITIONS})
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:${DRAVONEL_COMPILE_OPTIONS}>)
  target_link_options(${target} PRIVATE ${DRAVONEL_LINK_OPTIONS})
endfunction()

# A program of the dist tree. subdir is relative to dist/ ("" for the top).
function(dravonel_executable target subdir)
  add_executable(${target} WIN32 ${ARGN})
  dravonel_target_settings(${target})
  # A 24-megapixel picture needs about 96 MB in one block (x64 programs
  # have the whole address space anyway).
  if(NOT DRAVONEL_X64)
    target_link_options(${target} PRIVATE -Wl,--large-address-aware)
  endif()
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DIST_DIR}/${subdir})
endfunction()

# The .def file a module of this kind links with. The files in the sources
# give the 32-bit stdcall names ("_Dravonex@16 = Dravonex@16"); x64 has one
# calling convention and no decoration, so there each export is the plain
# name ("Dravonex"), made from the same file.
function(dravonel_def_file deffile result)
  get_filename_component(deffile ${deffile} ABSOLUTE)
  if(NOT DRAVONEL_X64)
    set(${result} ${deffile} PARENT_SCOPE)
    return()
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${deffile})
  file(STRINGS ${deffile} lines)
  set(text "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*_?([A-Za-z0-9_]+)@[0-9]+[ \t]*=")
      set(line "    ${CMAKE_MATCH_1}")
    elseif(line MATCHES "^[ \t]*([A-Za-z0-9_]+)[ \t]*=[ \t]*[A-Za-z0-9_]+@[0-9]+[ \t]*$")
      set(line "    ${CMAKE_MATCH_1}")
    endif()
    string(APPEND text "${line}\n")
  endforeach()
  get_filename_component(name ${deffile} NAME)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/x64-def/${name})
  file(WRITE ${generated}.new "${text}")
  configure_file(${generated}.new ${generated} COPYONLY)
  set(${result} ${generated} PARENT_SCOPE)
endfunction()

# A module of the dist tree with exports named exactly by its .def file.
function(dravonel_module target subdir deffile)
  dravonel_def_file(${deffile} deffile)
  add_library(${target} SHARED ${ARGN} ${deffile})
  dravonel_target_settings(${target})
  set_target_properties(${target} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${DIST_DIR}/${subdir})
  # The .def names are the decorated names callers look up.
  target_link_options(${target} PRIVATE -Wl,--enable-stdcall-fixup)
endfunction()

# Resource scripts are UTF-8 like the sources.
string(APPEND CMAKE_RC_FLAGS " -c 65001")

# An application manifest (resource 1 of type 24) for a program of the dist
# tree. Without one, Windows Vista and later treat the program as a legacy
# one: old controls, bitmap-stretched on large displays, writes redirected.
# Windowed programs get common controls 6 and system DPI awareness; the
# CONSOLE form only declares the supported systems and asInvoker.
function(dravonel_manifest target name description)
  cmake_parse_arguments(MANIFEST "CONSOLE" "" "" ${ARGN})
  set(MANIFEST_NAME ${name})
  set(MANIFEST_DESCRIPTION ${description})
  if(MANIFEST_CONSOLE)
    set(MANIFEST_COMMON_CONTROLS "")
    set(MANIFEST_DPI "")
  else()
    set(MANIFEST_COMMON_CONTROLS
"  <dependency>
    <dependentAssembly>
      <assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"
                        processorArchitecture=\"${DRAVONEL_MANIFEST_ARCHITECTURE}\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>
    </dependentAssembly>
  </dependency>
")
    set(MANIFEST_DPI
"  <application xmlns=\"urn:schemas-microsoft-com:asm.v3\">
    <windowsSettings>
      <dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>
    </windowsSettings>
  </application>
")
  endif()
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/manifest)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/program.manifest.in ${folder}/${name}.manifest @ONLY)
  file(WRITE ${folder}/${name}-manifest.rc.new "1 24 \"${folder}/${name}.manifest\"\n")
  configure_file(${folder}/${name}-manifest.rc.new ${folder}/${name}-manifest.rc COPYONLY)
  target_sources(${target} PRIVATE ${folder}/${name}-manifest.rc)
  set_source_files_properties(${folder}/${name}-manifest.rc PROPERTIES OBJECT_DEPENDS ${folder}/${name}.manifest)
endfunction()

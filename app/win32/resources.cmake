# The Windows program file's resources: the application icon, the manifest and
# the version information. inkpane_windows_resources(TARGET) adds them to
# TARGET.
include_guard(GLOBAL)

set(INKPANE_PUBLISHER "The Inkpane developers"
    CACHE STRING "Who publishes Inkpane: the company of the program file's version information and the installer's publisher")

# The icon holds the same three pictures as the Linux icons, made from them at
# build time: 32x32 in black and white, 32x32 and 16x16 in the 16 standard
# colours.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(inkpane_icons ${PROJECT_SOURCE_DIR}/viewer/icons)
set(INKPANE_ICON ${CMAKE_CURRENT_BINARY_DIR}/inkpane.ico)
add_custom_command(OUTPUT ${INKPANE_ICON}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/xpm-to-ico ${INKPANE_ICON}
          1:${inkpane_icons}/inkpane-32-mono.xpm 4:${inkpane_icons}/inkpane-32.xpm 4:${inkpane_icons}/inkpane-16.xpm
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/xpm-to-ico
          ${inkpane_icons}/inkpane-32-mono.xpm ${inkpane_icons}/inkpane-32.xpm ${inkpane_icons}/inkpane-16.xpm
  COMMENT "Making the Windows icon from the XPM icons"
  VERBATIM)
add_custom_target(inkpane_icon DEPENDS ${INKPANE_ICON})
# The installer shows the same icon; it finds the file through the target.
set_target_properties(inkpane_icon PROPERTIES INKPANE_ICON ${INKPANE_ICON})

set(INKPANE_MANIFEST ${CMAKE_CURRENT_LIST_DIR}/inkpane.manifest)
set(inkpane_resource_script ${CMAKE_CURRENT_BINARY_DIR}/inkpane.rc)
configure_file(${CMAKE_CURRENT_LIST_DIR}/inkpane.rc.in ${inkpane_resource_script} @ONLY)

function(inkpane_windows_resources target)
  target_sources(${target} PRIVATE ${inkpane_resource_script})
  # The resource compiler reads the icon and the manifest, which CMake does
  # not see in the script: name them, so that a change rebuilds the resources.
  set_source_files_properties(${inkpane_resource_script} TARGET_DIRECTORY ${target}
    PROPERTIES OBJECT_DEPENDS "${INKPANE_ICON};${INKPANE_MANIFEST}")
  add_dependencies(${target} inkpane_icon)
endfunction()

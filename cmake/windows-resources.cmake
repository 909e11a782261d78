# The version and icon resources of the Windows programs. The icon is drawn
# from the Linux package's SVG at build time, so that there is one source;
# the installer takes ${CMAKE_BINARY_DIR}/lodemark.ico as well.
include_guard(GLOBAL)

find_program(LODEMARK_RSVG_CONVERT rsvg-convert)
find_program(LODEMARK_ICOTOOL icotool)
if(NOT LODEMARK_RSVG_CONVERT OR NOT LODEMARK_ICOTOOL)
  message(FATAL_ERROR "The Windows icon needs rsvg-convert and icotool (apt-get install librsvg2-bin icoutils)")
endif()

# FILEVERSION takes the three numbers as they are.
if(NOT PROJECT_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+$")
  message(FATAL_ERROR "The project's version ${PROJECT_VERSION} is not major.minor.patch")
endif()

set(LODEMARK_ICON ${CMAKE_BINARY_DIR}/lodemark.ico)
set(_lodemark_icon_svg ${PROJECT_SOURCE_DIR}/packaging/lodemark.svg)
set(_lodemark_icon_dir ${CMAKE_CURRENT_BINARY_DIR}/icon)

# Windows picks the size nearest the one it shows: list, small icon, taskbar,
# Explorer's views. The 256-pixel image stays PNG, as Windows reads it.
set(_lodemark_icon_commands)
set(_lodemark_icon_small)
foreach(size 16 24 32 48 64 256)
  set(png ${_lodemark_icon_dir}/lodemark-${size}.png)
  list(APPEND _lodemark_icon_commands
       COMMAND ${LODEMARK_RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${_lodemark_icon_svg})
  if(size LESS 256)
    list(APPEND _lodemark_icon_small ${png})
  endif()
endforeach()
add_custom_command(
  OUTPUT ${LODEMARK_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_lodemark_icon_dir}
  ${_lodemark_icon_commands}
  COMMAND ${LODEMARK_ICOTOOL} --create --output=${LODEMARK_ICON} ${_lodemark_icon_small}
          --raw=${_lodemark_icon_dir}/lodemark-256.png
  DEPENDS ${_lodemark_icon_svg}
  COMMENT "Drawing lodemark.ico from packaging/lodemark.svg"
  VERBATIM)

# Gives TARGET its version resource (from the project's version) and the
# icon; FILE_DESCRIPTION is what Explorer shows as the file's description.
function(lodemark_windows_resources target file_description)
  set(LODEMARK_FILE_DESCRIPTION ${file_description})
  set(LODEMARK_INTERNAL_NAME ${target})
  set(LODEMARK_ORIGINAL_FILENAME ${target}.exe)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/generated/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows-program.rc.in ${rc} @ONLY)
  # windres reports no dependencies: rebuild the resources when the icon changes.
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${LODEMARK_ICON})
  target_sources(${target} PRIVATE ${rc})
endfunction()

# The theme the driver is built in: a folder with theme.toml (themes/*/),
# which the theme tool checks and turns into the driver's colour map, its
# name, the names and GUIDs of its firmware files and the reference host's
# expectations. A build that is handed THEME_GENERATED_DIR (the driver's
# own inner build, the bench) takes that output as it is.
set(THEME_FOLDER "${CMAKE_SOURCE_DIR}/themes/default" CACHE PATH "The theme folder the driver is built in")
get_filename_component(THEME_FOLDER "${THEME_FOLDER}" ABSOLUTE BASE_DIR "${CMAKE_SOURCE_DIR}")
set(THEME_TOOL ${CMAKE_SOURCE_DIR}/tools/theme/theme.py)
set(THEME_TOOL_FILES ${THEME_TOOL} ${CMAKE_SOURCE_DIR}/tools/theme/roles.py ${CMAKE_SOURCE_DIR}/tools/theme/colour.py)

# theme_generate(<folder> <out dir>): runs the theme tool's generate now;
# a theme it refuses stops the configuration with its messages.
function(theme_generate folder out)
  execute_process(COMMAND /usr/bin/python3 ${THEME_TOOL} generate ${folder} --out ${out}
                  RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the theme ${folder} is refused:\n${errors}")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${folder}/theme.toml ${THEME_TOOL_FILES})
endfunction()

if(NOT THEME_GENERATED_DIR)
  set(THEME_GENERATED_DIR ${CMAKE_BINARY_DIR}/theme)
  theme_generate(${THEME_FOLDER} ${THEME_GENERATED_DIR})
endif()

get_filename_component(theme_default_folder "${CMAKE_SOURCE_DIR}/themes/default" REALPATH)
get_filename_component(theme_folder_real "${THEME_FOLDER}" REALPATH)
if(theme_folder_real STREQUAL theme_default_folder)
  set(THEME_IS_DEFAULT ON)
else()
  set(THEME_IS_DEFAULT OFF)
endif()
option(THEME_FAST_ARTWORK "Draw a theme's artwork without the PNG optimisation (quicker, larger files)" OFF)

# theme_names(<generated dir> <prefix>): <prefix>_BASE_NAME, <prefix>_FILE_GUID
# and <prefix>_VOLUME_GUID from the theme tool's theme.json.
function(theme_names dir prefix)
  file(READ ${dir}/theme.json json)
  foreach(field base_name file_guid volume_guid)
    string(JSON value GET "${json}" ${field})
    string(TOUPPER ${field} name)
    set(${prefix}_${name} ${value} PARENT_SCOPE)
  endforeach()
endfunction()

# theme_artwork(<folder> <out dir> <fast>): the command that draws a theme's
# artwork into <out dir>/images (with its manifest) and writes
# <out dir>/Expected.txt, the reference host's expectations with every
# image file.
function(theme_artwork folder out fast)
  file(GLOB theme_files ${folder}/*)
  file(GLOB artwork_files ${CMAKE_SOURCE_DIR}/tools/artwork/*.py)
  set(speed "")
  if(fast)
    set(speed --fast)
  endif()
  add_custom_command(OUTPUT ${out}/Expected.txt
    COMMAND /usr/bin/python3 ${THEME_TOOL} artwork ${folder} --out ${out} ${speed}
    DEPENDS ${theme_files} ${artwork_files} ${THEME_TOOL_FILES} ${CMAKE_SOURCE_DIR}/data/images/manifest.tsv
    COMMENT "Drawing the artwork of the theme in ${folder}"
    USES_TERMINAL
    VERBATIM)
endfunction()

# theme_ship(<target> <driver> <out dir> <prefix> <depends>...): packs a
# driver for firmware (tools/ship) under the names and GUIDs that
# theme_names gave <prefix>.
function(theme_ship target driver out prefix)
  set(ship ${CMAKE_SOURCE_DIR}/tools/ship)
  set(base ${${prefix}_BASE_NAME})
  set(outputs)
  foreach(suffix .ffs .fv .inf .depex .efi .fdf.inc)
    list(APPEND outputs ${out}/${base}${suffix})
  endforeach()
  add_custom_command(OUTPUT ${outputs}
    COMMAND /usr/bin/python3 ${ship}/pack_firmware.py ${driver} ${out} --base-name ${base}
            --file-guid ${${prefix}_FILE_GUID} --volume-guid ${${prefix}_VOLUME_GUID}
    DEPENDS ${ARGN} ${driver} ${ship}/pack_firmware.py ${ship}/firmware_file.py ${ship}/driver_image.py
            ${ship}/driver.inf.in ${ship}/driver.fdf.inc.in
    COMMENT "Packing the driver ${base} for firmware volumes"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${out}/${base}.ffs)
endfunction()

theme_names(${THEME_GENERATED_DIR} THEME)

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

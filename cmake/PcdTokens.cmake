# The PCD token numbers that the diagnostic library reads its eight debug
# settings from, in read order (Bool, Bool, 8, 32, Bool, 32, 32 and 8 bits).
# Local token numbers are assigned by each platform's own build, so the
# driver's build names them: THEME_PCD_TOKENS holds eight decimal numbers
# separated by commas, or "none" for a driver that reads no PCD at all.
# Only the driver image follows the setting; the host tests build the
# default list (and, for one test, "none") whatever it says.
set(THEME_DEFAULT_PCD_TOKENS "1055,1427,1346,1430,1428,1355,1354,1429")
set(THEME_PCD_TOKENS "${THEME_DEFAULT_PCD_TOKENS}" CACHE STRING
    "PCD token numbers of the eight debug settings in read order, comma-separated, or none")

# theme_pcd_definition(<out var> <setting>): the compile definition that
# gives the driver's sources the setting; a setting of another shape stops
# the configuration with what was expected.
function(theme_pcd_definition out setting)
  string(STRIP "${setting}" setting)
  if(setting STREQUAL "none")
    set(${out} THEME_PCD_TOKENS_NONE PARENT_SCOPE)
    return()
  endif()
  set(expected "eight decimal PCD token numbers from 1 to 4294967295 in read order, separated by commas (default ${THEME_DEFAULT_PCD_TOKENS}), or none")
  # A CMake list would come apart on its way to the driver's own build.
  if(setting MATCHES ";")
    message(FATAL_ERROR "THEME_PCD_TOKENS=\"${setting}\": separated by semicolons; expected ${expected}")
  endif()
  string(REPLACE "," ";" numbers "${setting}")
  list(LENGTH numbers count)
  if(NOT count EQUAL 8)
    message(FATAL_ERROR "THEME_PCD_TOKENS=\"${setting}\": ${count} entries; expected ${expected}")
  endif()
  set(tokens)
  foreach(number IN LISTS numbers)
    string(STRIP "${number}" number)
    string(LENGTH "${number}" digits)
    if(NOT number MATCHES "^[1-9][0-9]*$" OR digits GREATER 10 OR (digits EQUAL 10 AND number STRGREATER "4294967295"))
      message(FATAL_ERROR "THEME_PCD_TOKENS=\"${setting}\": \"${number}\" is not a token number; expected ${expected}")
    endif()
    list(APPEND tokens ${number})
  endforeach()
  list(JOIN tokens "," joined)
  set(${out} "THEME_PCD_TOKENS=${joined}" PARENT_SCOPE)
endfunction()

theme_pcd_definition(THEME_DRIVER_PCD_DEFINITION "${THEME_PCD_TOKENS}")
theme_pcd_definition(THEME_DEFAULT_PCD_DEFINITION "${THEME_DEFAULT_PCD_TOKENS}")

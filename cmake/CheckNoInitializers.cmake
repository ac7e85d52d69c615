# Fails when any object file has a section of run-time initialisers.
foreach(object IN LISTS OBJECTS)
  execute_process(COMMAND ${READOBJ} --sections ${object}
                  OUTPUT_VARIABLE sections RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot read sections of ${object}")
  endif()
  if(sections MATCHES "\\.CRT\\$X")
    message(FATAL_ERROR "${object} needs a run-time initialiser (.CRT$X* section); the driver has none to run")
  endif()
endforeach()

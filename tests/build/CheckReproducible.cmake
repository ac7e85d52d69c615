# Builds the driver a second time in a fresh directory and compares it byte
# by byte with the driver of the main build.
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR} -G Ninja
          -DCMAKE_TOOLCHAIN_FILE=${SOURCE_DIR}/cmake/UefiX64Toolchain.cmake
          -DCMAKE_BUILD_TYPE=Release -DTHEME_UEFI_BUILD=ON -DTHEME_PACKAGE_RES=${PACKAGE_RES}
          -DTHEME_PCD_TOKENS=${PCD_TOKENS} -DTHEME_GENERATED_DIR=${GENERATED_DIR}
  OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "second configure failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR} --target ThemeDriver OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "second build failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${DRIVER} ${WORK_DIR}/ThemeDriver.efi
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "two clean builds of the driver differ")
endif()
message(STATUS "two clean builds of the driver are identical")
file(REMOVE_RECURSE ${WORK_DIR})

# The PE32+ boot-service driver.
set(UEFI_WARNINGS -Wall -Wextra -Werror)

add_library(theme_driver_objects OBJECT ${THEME_DRIVER_SOURCES} ${THEME_DRIVER_ONLY_SOURCES})
target_include_directories(theme_driver_objects PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(theme_driver_objects PRIVATE -Os ${UEFI_WARNINGS})

set(UEFI_IMAGE_LINK_FLAGS
  /NODEFAULTLIB /MACHINE:X64 /Brepro /OPT:REF /OPT:ICF /DEBUG:NONE
  /DYNAMICBASE /NXCOMPAT)

add_executable(ThemeDriver $<TARGET_OBJECTS:theme_driver_objects>)
set_target_properties(ThemeDriver PROPERTIES SUFFIX .efi)
# The packed image package travels in the resource section.
if(THEME_PACKAGE_RES)
  target_sources(ThemeDriver PRIVATE ${THEME_PACKAGE_RES})
  set_source_files_properties(${THEME_PACKAGE_RES} PROPERTIES EXTERNAL_OBJECT ON GENERATED ON)
endif()
target_link_options(ThemeDriver PRIVATE
  ${UEFI_IMAGE_LINK_FLAGS} /SUBSYSTEM:EFI_BOOT_SERVICE_DRIVER /ENTRY:ThemeDriverEntry)

# A dynamic initialiser would land in .CRT$XC* and silently never run in
# firmware: refuse any object that carries one.
find_program(UEFI_READOBJ llvm-readobj REQUIRED)
add_custom_command(TARGET ThemeDriver PRE_LINK
  COMMAND ${CMAKE_COMMAND} -DREADOBJ=${UEFI_READOBJ} "-DOBJECTS=$<TARGET_OBJECTS:theme_driver_objects>"
          -P ${PROJECT_SOURCE_DIR}/cmake/CheckNoInitializers.cmake
  VERBATIM)

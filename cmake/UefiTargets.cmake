# The PE32+ boot-service driver.
set(UEFI_WARNINGS -Wall -Wextra -Werror)

# Freestanding code for the Microsoft x64 ABI: no C or C++ library, no
# exceptions or RTTI, no red zone (firmware interrupts use the stack), no
# stack probes or unwind tables, and nothing that would need a run-time
# initialiser. One section per function lets the linker drop what is unused.
# The register flags are shared with the test of the register check.
include(${CMAKE_CURRENT_LIST_DIR}/DriverCodeFlags.cmake)
set(UEFI_CODE_FLAGS
  -ffreestanding -fno-exceptions -fno-rtti -fshort-wchar -mno-red-zone -nostdlib ${UEFI_REGISTER_FLAGS}
  $<$<COMPILE_LANGUAGE:CXX>:-nostdinc++> -fno-threadsafe-statics -mno-stack-arg-probe
  -fno-asynchronous-unwind-tables -fno-unwind-tables -ffunction-sections -fdata-sections
  -Werror=global-constructors -Werror=exit-time-destructors)

add_library(theme_driver_objects OBJECT ${THEME_DRIVER_SOURCES} ${THEME_DRIVER_ONLY_SOURCES})
target_include_directories(theme_driver_objects PRIVATE ${PROJECT_SOURCE_DIR} ${THEME_GENERATED_DIR})
target_compile_definitions(theme_driver_objects PRIVATE ${THEME_DRIVER_PCD_DEFINITION})
target_compile_options(theme_driver_objects PRIVATE ${UEFI_CODE_FLAGS} ${DRIVER_OPTIMIZATION} ${UEFI_WARNINGS})
set(DRIVER_COLD_SOURCES ${THEME_DRIVER_SOURCES} ${THEME_DRIVER_ONLY_SOURCES})
list(FILTER DRIVER_COLD_SOURCES INCLUDE REGEX "${DRIVER_COLD_SOURCE_PATTERN}")
# Only in the driver: the reference host compiles some of the same files.
set_source_files_properties(${DRIVER_COLD_SOURCES} PROPERTIES COMPILE_OPTIONS
  "$<$<STREQUAL:$<TARGET_PROPERTY:NAME>,theme_driver_objects>:${DRIVER_COLD_OPTIMIZATION}>")

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

# Refuses, before linking, any image whose code uses SSE, AVX, MMX or x87,
# naming the function: the compile flags above should make that impossible.
find_program(UEFI_OBJDUMP llvm-objdump REQUIRED)
set(UEFI_PYTHON /usr/bin/python3)  # the Debian interpreter, as the tests use
function(uefi_check_general_registers image objects)
  add_custom_command(TARGET ${image} PRE_LINK
    COMMAND ${UEFI_PYTHON} ${PROJECT_SOURCE_DIR}/cmake/check_general_registers.py --objdump ${UEFI_OBJDUMP}
            "${objects}"
    COMMAND_EXPAND_LISTS
    VERBATIM)
endfunction()
uefi_check_general_registers(ThemeDriver $<TARGET_OBJECTS:theme_driver_objects>)

# The reference setup-screen host: a UEFI application of the tests' own that
# loads the driver in real firmware and drives it. It links none of the
# driver's code, only the compiler-support primitives.
set(REFERENCE_HOST_SOURCES
  tests/firmware/host/CallLog.cpp
  tests/hostcalls/HostCall.cpp
  tests/firmware/host/Checks.cpp
  tests/firmware/host/Console.cpp
  tests/firmware/host/DriverFromLoadOption.cpp
  tests/firmware/host/DriverFromVolume.cpp
  tests/firmware/host/DriverLoader.cpp
  tests/firmware/host/DriverRecords.cpp
  tests/firmware/host/EventHookChecks.cpp
  tests/firmware/host/ExpectedFile.cpp
  tests/firmware/host/ExpectedLines.cpp
  tests/firmware/host/HiiResource.cpp
  tests/firmware/host/HostFirmware.cpp
  tests/firmware/host/HostImages.cpp
  tests/firmware/host/HostMode.cpp
  tests/firmware/host/HostServicesTable.cpp
  tests/firmware/host/HostUiTable.cpp
  tests/firmware/host/ImageHeaders.cpp
  tests/firmware/host/MainScreenChecks.cpp
  tests/firmware/host/PackageWalk.cpp
  tests/firmware/host/PcdSubstitute.cpp
  tests/firmware/host/ReferenceHost.cpp
  tests/firmware/host/RunLifecycle.cpp
  tests/firmware/host/RunPackage.cpp
  tests/firmware/host/RunPlatformLibrary.cpp
  tests/firmware/host/RunQueries.cpp
  tests/firmware/host/RunRegistration.cpp
  tests/firmware/host/RunStyling.cpp
  tests/firmware/host/SecureBootRefusals.cpp
  platform/CompilerSupport.cpp
)
add_executable(ReferenceHost ${REFERENCE_HOST_SOURCES})
set_target_properties(ReferenceHost PROPERTIES SUFFIX .efi)
target_include_directories(ReferenceHost PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(ReferenceHost PRIVATE ${UEFI_CODE_FLAGS} -O2 ${UEFI_WARNINGS})
target_link_options(ReferenceHost PRIVATE
  ${UEFI_IMAGE_LINK_FLAGS} /SUBSYSTEM:EFI_APPLICATION /ENTRY:ReferenceHostMain)
uefi_check_general_registers(ReferenceHost $<TARGET_OBJECTS:ReferenceHost>)

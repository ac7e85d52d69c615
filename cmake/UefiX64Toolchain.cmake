# Cross build of UEFI images for x86-64: clang emits COFF objects for the
# Microsoft x64 ABI and lld-link writes PE32+ images. No C or C++ library.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

find_program(UEFI_LINKER lld-link REQUIRED)

# Only what compiler detection needs; the build flags live with the targets
# (cmake/UefiTargets.cmake) so that changing them rebuilds an existing tree.
set(CMAKE_C_FLAGS_INIT "--target=x86_64-unknown-windows -ffreestanding")
set(CMAKE_CXX_FLAGS_INIT "--target=x86_64-unknown-windows -ffreestanding")

set(CMAKE_C_LINK_EXECUTABLE "${UEFI_LINKER} <LINK_FLAGS> <OBJECTS> <LINK_LIBRARIES> /OUT:<TARGET>")
set(CMAKE_CXX_LINK_EXECUTABLE "${UEFI_LINKER} <LINK_FLAGS> <OBJECTS> <LINK_LIBRARIES> /OUT:<TARGET>")

# Generic platforms get no dependency scanning by default; without it an
# edited header would leave a stale driver behind.
set(CMAKE_DEPFILE_FLAGS_C "-MD -MT <DEP_TARGET> -MF <DEP_FILE>")
set(CMAKE_DEPFILE_FLAGS_CXX "-MD -MT <DEP_TARGET> -MF <DEP_FILE>")
set(CMAKE_C_DEPFILE_FORMAT gcc)
set(CMAKE_CXX_DEPFILE_FORMAT gcc)
set(CMAKE_C_DEPENDS_USE_COMPILER TRUE)
set(CMAKE_CXX_DEPENDS_USE_COMPILER TRUE)

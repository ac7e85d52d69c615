# General-purpose registers only: a firmware need not have enabled SSE, MMX
# or x87 when it starts an image, and their first instruction would fault.
# No jump tables either, so that code sections hold nothing but
# instructions and a disassembly of them can be trusted
# (cmake/check_general_registers.py scans every UEFI object before linking).
set(UEFI_REGISTER_FLAGS -mgeneral-regs-only -fno-jump-tables)

# The driver lives in flash: built for size. The bench measures the same code.
set(DRIVER_OPTIMIZATION -Os)
# Code that runs once per boot, the entry point and the platform library, is
# built for least size. The record operations, which the host calls for every
# object and image, keep -Os: -Oz would save little there and double their
# instruction counts.
set(DRIVER_COLD_OPTIMIZATION -Oz)
set(DRIVER_COLD_SOURCE_PATTERN "^(entry|platform)/")

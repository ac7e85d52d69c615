// Every mutable global of the driver is defined with DRIVER_STATE. The
// driver itself gains nothing from it; in the host build the globals share
// one section, so a test fixture can save and restore the driver's whole
// state by value, as a freshly loaded image has it, and a check of the host
// library can find any writable global that was defined without it.
#pragma once

#if defined(THEME_HOST_BUILD)
#define DRIVER_STATE __attribute__((section("theme_driver_state"), used))
#else
#define DRIVER_STATE
#endif

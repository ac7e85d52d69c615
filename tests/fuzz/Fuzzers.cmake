# The fuzz targets, one line each:
#   add_theme_fuzzer(<Name> SECONDS <bounded run time> [TIMEOUT <seconds per input, default 5>]
#                    SOURCES <files under tests/>...)
# Every target links the driver's sources (instrumented), the fuzz host
# (fuzz/FuzzHost.h) and the simulated machine (fakes/SimulatedMachine.h);
# CMakeLists.txt here makes an executable of each line and a ctest that runs
# it for the given seconds.
add_theme_fuzzer(StyleObjectFuzzer SECONDS 20 SOURCES fuzz/StyleObjectFuzzer.cpp)
# The platform library on the simulated machine: the memory-log writer on
# any header and length, and set-up on any HOB list. A long message is
# stored byte by byte, and making room moves 12 MiB the same way: an input
# may take seconds on a busy machine without hanging.
add_theme_fuzzer(MemoryLogWriteFuzzer SECONDS 10 TIMEOUT 30 SOURCES fuzz/MemoryLogWriteFuzz.cpp)
add_theme_fuzzer(HobWalkFuzzer SECONDS 10 SOURCES fuzz/HobWalkFuzz.cpp)
